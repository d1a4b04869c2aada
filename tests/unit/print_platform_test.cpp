// The printing part of the platform layer through its Win32 names: the file
// printer's enumeration, contexts, metrics at 600 dots per inch, documents
// written as numbered PDF files, and the print setup dialog's answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/commdlg.h"
#include "platform/platform.h"
#include "platform/print_internal.h"
#include "platform/winspool.h"
#include "test_support.h"

namespace fs = std::filesystem;
using platform::print::NumberedPath;

namespace {

std::string ReadAll(const fs::path &p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The text pdftotext extracts from PATH; empty when it is not installed.
std::string PdfText(const fs::path &path) {
  std::string cmd = "pdftotext -layout '" + path.string() + "' - 2>/dev/null";
  return testsupport::CommandOutput(cmd);
}

bool HavePdfToText() {
  return std::system("command -v pdftotext >/dev/null 2>&1") == 0;
}

class FilePrinter : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("quill_print_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    path_ = dir_ / "out.pdf";
    setenv("QUILLRUNNER_PRINTER_FILE", path_.c_str(), 1);
    platform::print::ResetFilePrinterJobs();
  }
  void TearDown() override {
    unsetenv("QUILLRUNNER_PRINTER_FILE");
    platform::SetPrintSetupAnswerProvider({});
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  // One document with TEXT at (X, Y) in a font of height -100 (12 points).
  int PrintDocument(HDC dc, const std::string &text, int x = 10, int y = 0) {
    LOGFONTA lf;
    lf.lfHeight = -100;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "MS Gothic");
    HFONT font = CreateFontIndirectA(&lf);
    DOCINFOA doc;
    doc.lpszDocName = "PrintOut";
    EXPECT_GT(StartDocA(dc, &doc), 0);
    EXPECT_GT(StartPage(dc), 0);
    HGDIOBJ old = SelectObject(dc, font);
    EXPECT_TRUE(TextOutA(dc, x, y, text.data(), static_cast<int>(text.size())));
    EXPECT_GT(EndPage(dc), 0);
    int done = EndDoc(dc);
    SelectObject(dc, old);
    DeleteObject(font);
    return done;
  }
  fs::path dir_, path_;
};

} // namespace

TEST(PrintFiles, NumberedPathsInsertTheNumberBeforeTheExtension) {
  EXPECT_EQ(NumberedPath("out.pdf", 1), "out.pdf");
  EXPECT_EQ(NumberedPath("out.pdf", 2), "out-2.pdf");
  EXPECT_EQ(NumberedPath("/tmp/a.b/out.pdf", 12), "/tmp/a.b/out-12.pdf");
  // No extension, a dot only in a directory, a name that starts with a dot.
  EXPECT_EQ(NumberedPath("/tmp/out", 3), "/tmp/out-3");
  EXPECT_EQ(NumberedPath("/tmp/a.b/out", 3), "/tmp/a.b/out-3");
  EXPECT_EQ(NumberedPath("/tmp/.pdf", 2), "/tmp/.pdf-2");
}

TEST_F(FilePrinter, IsTheOnlyAndDefaultPrinter) {
  DWORD needed = 0, count = 99;
  // Too small a buffer: FALSE with the size needed.
  EXPECT_FALSE(EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 5, nullptr, 0, &needed, &count));
  ASSERT_GT(needed, sizeof(PRINTER_INFO_5A));
  EXPECT_EQ(count, 0u);
  std::vector<PRINTER_INFO_5A> buffer(needed / sizeof(PRINTER_INFO_5A) + 1);
  auto *bytes = reinterpret_cast<BYTE *>(buffer.data());
  ASSERT_TRUE(EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, bytes, needed, &needed, &count));
  ASSERT_EQ(count, 1u);
  EXPECT_STREQ(buffer[0].pPrinterName, "Quillrunner PDF");
  EXPECT_TRUE(buffer[0].Attributes & PRINTER_ATTRIBUTE_DEFAULT);
  // Only level 5 is known.
  EXPECT_FALSE(EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, bytes, needed, &needed, &count));
}

TEST_F(FilePrinter, ContextsHave600DotsPerInchOnA4) {
  EXPECT_EQ(CreateDCA(nullptr, "No Such Printer", nullptr, nullptr), 0u);
  EXPECT_EQ(CreateDCA(nullptr, nullptr, nullptr, nullptr), 0u);
  HDC dc = CreateDCA(nullptr, "quillrunner pdf", nullptr, nullptr);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 4961); // 210 mm
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 7016); // 297 mm
  // The printer font of 12 points: the face's win ascent and descent give
  // the cell, and text is measured at the printer's resolution.
  LOGFONTA lf;
  lf.lfHeight = -MulDiv(12, 600, 72);
  EXPECT_EQ(lf.lfHeight, -100);
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "MS Gothic");
  HFONT font = CreateFontIndirectA(&lf);
  SelectObject(dc, font);
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  EXPECT_EQ(tm.tmAscent, 88);
  EXPECT_EQ(tm.tmDescent, 20);
  EXPECT_EQ(tm.tmHeight, 108);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "ABC", 3, &size));
  EXPECT_EQ(size.cx, 150);
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "\x93\xfa\x96\x7b", 4, &size)); // 日本
  EXPECT_EQ(size.cx, 200);
  EXPECT_TRUE(DeleteDC(dc));
  DeleteObject(font);
  // The context is gone with its device.
  EXPECT_LE(StartPage(dc), 0);
}

TEST_F(FilePrinter, EachDocumentIsTheNextNumberedFile) {
  HDC dc = CreateDCA(nullptr, "Quillrunner PDF", nullptr, nullptr);
  ASSERT_NE(dc, 0u);
  EXPECT_GT(PrintDocument(dc, "first job"), 0);
  EXPECT_GT(PrintDocument(dc, "\x93\xfa\x96\x7b\x8c\xea"), 0); // 日本語
  DeleteDC(dc);
  // A second context continues the numbering.
  dc = CreateDCA(nullptr, "Quillrunner PDF", nullptr, nullptr);
  EXPECT_GT(PrintDocument(dc, "third"), 0);
  DeleteDC(dc);
  ASSERT_TRUE(fs::exists(path_));
  ASSERT_TRUE(fs::exists(dir_ / "out-2.pdf"));
  ASSERT_TRUE(fs::exists(dir_ / "out-3.pdf"));
  EXPECT_FALSE(fs::exists(dir_ / "out-4.pdf"));
  EXPECT_EQ(ReadAll(path_).rfind("%PDF-", 0), 0u);
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_NE(PdfText(path_).find("first job"), std::string::npos);
  EXPECT_NE(PdfText(dir_ / "out-2.pdf").find("日本語"), std::string::npos);
  EXPECT_NE(PdfText(dir_ / "out-3.pdf").find("third"), std::string::npos);
}

TEST_F(FilePrinter, FailuresAreReturnedNotHidden) {
  HDC dc = CreateDCA(nullptr, "Quillrunner PDF", nullptr, nullptr);
  ASSERT_NE(dc, 0u);
  // Pages and text need a document; ending none fails.
  EXPECT_LE(StartPage(dc), 0);
  EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
  EXPECT_LE(EndDoc(dc), 0);
  // A document that cannot be written reports the failure.
  setenv("QUILLRUNNER_PRINTER_FILE", (dir_ / "missing" / "out.pdf").c_str(), 1);
  HDC lost = CreateDCA(nullptr, "Quillrunner PDF", nullptr, nullptr);
  ASSERT_NE(lost, 0u);
  EXPECT_LE(PrintDocument(lost, "nowhere"), 0);
  DeleteDC(lost);
  // A context deleted with its document open writes nothing.
  DOCINFOA doc;
  doc.lpszDocName = "PrintOut";
  EXPECT_GT(StartDocA(dc, &doc), 0);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(FilePrinter, SetupDialogAnswers) {
  PRINTDLGA dialog;
  dialog.Flags = PD_RETURNDC | PD_PRINTSETUP;
  // No answer: the default printer, with a context.
  ASSERT_TRUE(PrintDlgA(&dialog));
  ASSERT_NE(dialog.hDC, 0u);
  EXPECT_EQ(GetDeviceCaps(dialog.hDC, LOGPIXELSY), 600);
  DeleteDC(dialog.hDC);
  std::vector<platform::PrintSetupAnswer> answers = {{true, ""}, {false, "Nobody"}};
  size_t next = 0;
  platform::SetPrintSetupAnswerProvider([&] { return answers.at(next++); });
  EXPECT_FALSE(PrintDlgA(&dialog));
  EXPECT_EQ(dialog.hDC, 0u);
  // A printer the dialog does not list leaves the default selected.
  ASSERT_TRUE(PrintDlgA(&dialog));
  EXPECT_NE(dialog.hDC, 0u);
  DeleteDC(dialog.hDC);
  // Without printers there is nothing to choose.
  platform::SetPrintSetupAnswerProvider({});
  unsetenv("QUILLRUNNER_PRINTER_FILE");
  setenv("CUPS_SERVER", (dir_ / "no-scheduler.sock").c_str(), 1);
  EXPECT_FALSE(PrintDlgA(&dialog));
  DWORD needed = 1, count = 1;
  EXPECT_TRUE(EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 5, nullptr, 0, &needed, &count));
  EXPECT_EQ(needed, 0u);
  EXPECT_EQ(count, 0u);
  unsetenv("CUPS_SERVER");
}
