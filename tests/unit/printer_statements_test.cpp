// LPRINT and PRINTER in process: the printer font follows the program's
// point size at the printer's resolution, a missing default printer or an
// unknown name is an error that loses nothing, and program end prints the
// open job once.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "engine_fixture.h"
#include "files/printer.h"
#include "platform/print_internal.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The words of PATH as "X Y H WORD" in dots of 600 per inch.
std::string Words(const fs::path &path) {
  std::string cmd =
      "pdftotext -bbox '" + path.string() +
      "' - 2>/dev/null | sed -n 's/.*xMin=\"\\([0-9.]*\\)\" yMin=\"\\([0-9.]*\\)\" "
      "xMax=\"[0-9.]*\" yMax=\"\\([0-9.]*\\)\">\\(.*\\)<\\/word>.*/\\1 \\2 \\3 \\4/p' "
      "| awk '{ printf \"%d %d %d %s\\n\", $1 * 600 / 72 + 0.5, $2 * 600 / 72 + "
      "0.5, ($3 - $2) * 600 / 72 + 0.5, $4 }'";
  return testsupport::CommandOutput(cmd);
}

class PrinterStatements : public EngineFixture {
protected:
  void SetUp() override {
    EngineFixture::SetUp();
    dir_ = fs::temp_directory_path() / ("quill_lprint_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    setenv("QUILLRUNNER_PRINTER_FILE", (dir_ / "job.pdf").c_str(), 1);
    platform::print::ResetFilePrinterJobs();
    std::snprintf(engine_->consoleFont.lfFaceName, LF_FACESIZE, "MS Gothic");
    engine_->consoleFont.lfHeight = -16;
    engine_->printerPointSize = 12;
    ResetPrintPosition();
  }
  void TearDown() override {
    ReleasePrinter();
    unsetenv("QUILLRUNNER_PRINTER_FILE");
    std::error_code ec;
    fs::remove_all(dir_, ec);
    EngineFixture::TearDown();
  }
  void Lprint(std::string arg) { LPRINT(arg, 0); }
  void Printer(std::string arg) { PRINTER(arg, 0); }
  fs::path dir_;
};

TEST_F(PrinterStatements, TheFontHeightComesFromThePointSize) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftotext";
  engine_->printerPointSize = 24; // -MulDiv(24, 600, 72) = -200
  Lprint("\"big\";");
  Lprint("\"ger\"");
  Lprint("\"next\"");
  EXPECT_FALSE(TakeError());
  ReleasePrinter();
  // The second text continues where the first ended; the line height is
  // the cell of a 200-dot em (ascent 176 and descent 39 of IPAGothic).
  EXPECT_EQ(Words(dir_ / "job.pdf"), "10 0 200 bigger\n10 215 200 next\n");
}

TEST_F(PrinterStatements, ProgramEndPrintsTheOpenJobOnce) {
  Lprint("\"open\"");
  EXPECT_TRUE(engine_->printer.jobOpen);
  ReleasePrinter();
  EXPECT_FALSE(engine_->printer.jobOpen);
  EXPECT_EQ(engine_->printer.dc, 0u);
  ReleasePrinter();
  EXPECT_TRUE(fs::exists(dir_ / "job.pdf"));
  EXPECT_FALSE(fs::exists(dir_ / "job-2.pdf"));
  // A job ended by its form feed is not printed again at program end.
  Lprint("\"two\" + Chr$(12)");
  ReleasePrinter();
  EXPECT_TRUE(fs::exists(dir_ / "job-2.pdf"));
  EXPECT_FALSE(fs::exists(dir_ / "job-3.pdf"));
}

TEST_F(PrinterStatements, ErrorsKeepThePrinterAndItsJob) {
  Lprint("\"kept\";");
  HDC dc = engine_->printer.dc;
  ASSERT_NE(dc, 0u);
  Printer("\"Nobody\"");
  EXPECT_TRUE(TakeError());
  Printer("\"\"");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(engine_->printer.dc, dc);
  EXPECT_TRUE(engine_->printer.jobOpen);
  EXPECT_FALSE(fs::exists(dir_ / "job.pdf"));
  // A channel prefix is no LPRINT form.
  Lprint("#1, \"x\"");
  EXPECT_TRUE(TakeError());
  EXPECT_TRUE(engine_->printer.jobOpen);
}

TEST_F(PrinterStatements, NoDefaultPrinterIsAnError) {
  unsetenv("QUILLRUNNER_PRINTER_FILE");
  std::string nowhere = (dir_ / "no-scheduler.sock").string();
  cupsSetServer(nowhere.c_str());
  Lprint("\"x\"");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(engine_->printer.dc, 0u);
  EXPECT_FALSE(engine_->printer.jobOpen);
  Printer("\"Quillrunner PDF\"");
  EXPECT_TRUE(TakeError()) << "the file printer exists only with its variable";
  cupsSetServer(nullptr);
}

} // namespace
