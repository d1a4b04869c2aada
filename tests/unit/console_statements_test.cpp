// LOCATE, WIDTH, CLS and COLOR on the current window's console, the console
// dump, and writers on several threads.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "console/console_dump.h"
#include "console/console_statements.h"
#include "console_fixture.h"
#include "graphics/colour.h"
#include "graphics/surface_statements.h"
#include "test_support.h"

namespace {

using ConsoleStatementTest = ConsoleTest;

void Call(void (*handler)(std::string &, ThreadIndex), const std::string &arg) {
  std::string copy = arg;
  handler(copy, 0);
}

TEST_F(ConsoleStatementTest, LocateBeyondTheTextPadsLinesAndColumns) {
  Call(LOCATE, "3,2");
  EXPECT_EQ(Text(), "\n\n\x01y\x01y\x01y");
  EXPECT_EQ(B().cursor, 8);
  EXPECT_EQ(B().Background(2), kTransparentColour);
  ConsoleWrite("X\n");
  EXPECT_EQ(ConsoleTextUtf8(B()), "\n\n   X\n");
  // A last line without line feed: one line feed reaches the next line.
  B().Clear();
  ConsoleWrite("abc");
  Call(LOCATE, "0,1");
  EXPECT_EQ(Text(), "abc\n");
  EXPECT_EQ(B().cursor, 4);
}

TEST_F(ConsoleStatementTest, LocateInsideTheText) {
  ConsoleWrite("abc\ndef\nghi\n");
  Call(LOCATE, "1,1");
  EXPECT_EQ(B().cursor, 5);
  // Past the end of a line: blanks inserted in front of its line feed.
  Call(LOCATE, "5,1");
  EXPECT_EQ(Text(), "abc\ndef\x01y\x01y\nghi\n");
  EXPECT_EQ(B().cursor, 11);
  // A transparent blank is one column.
  Call(LOCATE, "4,1");
  EXPECT_EQ(B().cursor, 9);
  // Line 3 is the empty line behind the last line feed.
  Call(LOCATE, "0,3");
  EXPECT_EQ(B().cursor, B().Length());
  // Negative numbers count as 0.
  Call(LOCATE, "-4,-1");
  EXPECT_EQ(B().cursor, 0);
  EXPECT_FALSE(engine_->errorReported.load());
}

TEST_F(ConsoleStatementTest, LocateStaysWithinTheBuffer) {
  Call(LOCATE, "0,100000");
  EXPECT_EQ(B().Length(), kConsoleCapacity);
  EXPECT_EQ(Text(), std::string(8192, '\n'));
  B().Clear();
  Call(LOCATE, "9000,0");
  EXPECT_EQ(B().Length(), kConsoleCapacity);
  EXPECT_EQ(B().cursor, kConsoleCapacity);
  // Padding inside a nearly full text pushes the tail out, never past the end.
  B().Clear();
  Client(16384, 16384); // nothing scrolls
  ConsoleWrite("ab\n" + std::string(8185, 'z'));
  Call(LOCATE, "9,0");
  EXPECT_EQ(B().Length(), kConsoleCapacity);
  EXPECT_EQ(B().cursor, 16);
  EXPECT_EQ(B().At(16), '\n');
}

TEST_F(ConsoleStatementTest, LocateAndWidthNeedTwoArguments) {
  Call(LOCATE, "5");
  EXPECT_TRUE(engine_->errorReported.load());
  EXPECT_EQ(B().cursor, 0);
  engine_->errorReported.store(false);
  Call(WIDTH, "40");
  EXPECT_TRUE(engine_->errorReported.load());
  EXPECT_EQ(engine_->consoleColumnLimit.load(), 8192);
  engine_->errorReported.store(false);
  Call(WIDTH, "40,(2)");
  EXPECT_FALSE(engine_->errorReported.load());
  EXPECT_EQ(engine_->consoleColumnLimit.load(), 40);
  EXPECT_EQ(engine_->consoleLineLimit.load(), 2);
}

TEST_F(ConsoleStatementTest, ClsEmptiesTheTextAndNoOldByteComesBack) {
  ConsoleWrite("first line\nsecond\n");
  const int32_t old = B().Length();
  Call(CLS, "");
  EXPECT_EQ(B().Length(), 0); // the redraw adds no line
  EXPECT_EQ(B().cursor, 0);
  for (int32_t i = 0; i < old; ++i) EXPECT_EQ(B().Text().data()[i], '\0') << i;
  ConsoleWrite("ab");
  EXPECT_EQ(Text(), "ab");
  // LOCATE walks only the new text: the old line feeds are gone.
  Call(LOCATE, "0,1");
  EXPECT_EQ(Text(), "ab\n");
  Call(CLS, "3");
  EXPECT_EQ(Text(), "");
}

TEST_F(ConsoleStatementTest, ScrollingLeavesNoStaleLineFeed) {
  Client(80, 32); // two rows
  ConsoleWrite("aaaa\nbb\n");
  EXPECT_EQ(Text(), "bb\n");
  // The bytes the longer text held behind the new end are cleared.
  for (int i = 3; i < 8; ++i) EXPECT_EQ(B().Text().data()[i], '\0') << i;
  Call(LOCATE, "0,2");
  EXPECT_EQ(Text(), "bb\n\n");
}

TEST_F(ConsoleStatementTest, ClsTwoKeepsTheText) {
  ConsoleWrite("keep\n");
  Call(CLS, "2");
  EXPECT_EQ(Text(), "keep\n");
  Call(CLS, "7"); // no mode of its own: only the redraw
  EXPECT_EQ(Text(), "keep\n");
  Call(CLS, "1");
  EXPECT_EQ(Text(), "");
}

TEST_F(ConsoleStatementTest, ColourNumbers) {
  EXPECT_EQ(ColourOf(0), 0x000000u);
  EXPECT_EQ(ColourOf(1), 0xFF0000u);
  EXPECT_EQ(ColourOf(2), 0x0000FFu);
  EXPECT_EQ(ColourOf(4), 0x00FF00u);
  EXPECT_EQ(ColourOf(6), 0x00FFFFu);
  EXPECT_EQ(ColourOf(7), 0xFFFFFFu);
  EXPECT_EQ(ColourOf(8), 0x000000u);
  EXPECT_EQ(ColourOf(100), 0x000000u);
  EXPECT_EQ(ColourOf(-255), 0x0000FFu);
  EXPECT_EQ(ColourOf(INT32_MIN), 0x80000000u);
}

TEST_F(ConsoleStatementTest, ColorSetsTheColoursOfNewText) {
  Call(COLOR, "2");
  EXPECT_EQ(engine_->foreground.load(), 0x0000FFu);
  EXPECT_EQ(engine_->background.load(), 0x000000u); // unchanged without a second number
  Call(COLOR, "7,-1");
  EXPECT_EQ(engine_->foreground.load(), 0xFFFFFFu);
  EXPECT_EQ(engine_->background.load(), kTransparentColour);
  ConsoleWrite("t");
  EXPECT_EQ(B().Background(0), kTransparentColour);
  Call(COLOR, "7,-2");
  EXPECT_EQ(engine_->background.load(), 0x000002u);
  EXPECT_FALSE(engine_->errorReported.load());
  // A third number: error, the foreground has already changed.
  Call(COLOR, "4,1,3");
  EXPECT_TRUE(engine_->errorReported.load());
  EXPECT_EQ(engine_->foreground.load(), 0x00FF00u);
  EXPECT_EQ(engine_->background.load(), 0x000002u);
}

TEST_F(ConsoleStatementTest, DumpWritesTheMainWindowsTextAsUtf8) {
  std::string path = testsupport::TempDir("console_dump") + "/dump.txt";
  engine_->mainWindow = kWindow;
  ConsoleWrite("\x82\xA0\x82\xA2\n");
  Call(LOCATE, "2,2");
  ConsoleWrite("x\tz"); // a TAB counts bytes: two blanks, x, then column 5
  setenv("QUILLRUNNER_CONSOLE_DUMP", path.c_str(), 1);
  WriteConsoleDump();
  unsetenv("QUILLRUNNER_CONSOLE_DUMP");
  EXPECT_EQ(testsupport::ReadAll(path), "\xE3\x81\x82\xE3\x81\x84\n\n  x   z");
}

// Writers on several threads (BASIC threads and the echo of the window
// procedure) while the window repaints: every line arrives whole.
TEST_F(ConsoleStatementTest, ConcurrentWritersAndPaintingKeepLinesWhole) {
  Client(80, 160);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      std::string line = std::string(3, static_cast<char>('a' + t)) + "\n";
      for (int i = 0; i < 200; ++i) ConsoleWrite(line);
    });
  threads.emplace_back([] {
    for (int i = 0; i < 200; ++i) ConsoleRefresh(kWindow, false);
  });
  threads.emplace_back([this] {
    for (int i = 0; i < 200; ++i) {
      std::string arg = i % 2 ? "8192,8192" : "20,8192";
      WIDTH(arg, 0);
      (void)engine_->windows.CurrentConsole();
    }
  });
  for (std::thread &t : threads) t.join();
  std::lock_guard<std::mutex> lock(B().mutex);
  EXPECT_EQ(B().cursor, B().Length());
  std::istringstream lines(Text());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_EQ(line.size(), 3u);
    EXPECT_EQ(line, std::string(3, line[0]));
  }
  EXPECT_EQ(count, 9); // ten rows, the last one the cursor's
  EXPECT_EQ(mirrored_.size(), 4u * 200u * 4u);
}

} // namespace
