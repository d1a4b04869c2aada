// ConsoleWrite: TABs, line ends, overwriting and the insertion in front of a
// line feed, the 8192-byte limit and the stdout mirror.
#include <string>

#include "console/console_statements.h"
#include "console_fixture.h"

namespace {

using ConsoleWriteTest = ConsoleTest;

TEST_F(ConsoleWriteTest, TabMovesToTheNextMultipleOfEightColumns) {
  ConsoleWrite("abc\tX");
  EXPECT_EQ(Text(), "abc     X"); // column 3: five blanks
  ConsoleWrite("\nabcdefgh\tY\n");
  EXPECT_EQ(Text(), "abc     X\nabcdefgh        Y\n"); // column 8: eight blanks
  // Columns count from the last line feed; a leading TAB gives eight.
  ConsoleWrite("\tZ");
  EXPECT_EQ(Text(), "abc     X\nabcdefgh        Y\n        Z");
  EXPECT_EQ(mirrored_, Text());
}

TEST_F(ConsoleWriteTest, LineEndsAndEscapes) {
  ConsoleWrite("one\r\ntwo\r\n");
  EXPECT_EQ(Text(), "one\ntwo\n");
  EXPECT_EQ(B().cursor, 8);
  // Escapes are decoded; an escaped NUL becomes a blank, a raw NUL ends the text.
  ConsoleWrite("\x01z\x01"
               "0\x01y\x01\x01");
  EXPECT_EQ(Text(), "one\ntwo\n\" \x20\x01");
  ConsoleWrite(std::string_view("ab\0cd", 5));
  EXPECT_EQ(Text(), "one\ntwo\n\" \x20\x01"
                    "ab");
  // A lone CR is no line end.
  ConsoleWrite("\r");
  EXPECT_EQ(Text().back(), '\r');
}

TEST_F(ConsoleWriteTest, EmptyWriteAddsNothingButPlacesTheCaret) {
  ConsoleWrite("");
  EXPECT_EQ(B().Length(), 0);
  EXPECT_EQ(B().caretX, 0);
  EXPECT_EQ(B().caretY, 16);
  EXPECT_EQ(B().compositionForm.style, kCfsPoint);
  EXPECT_EQ(B().compositionForm.point.x, 0);
  EXPECT_EQ(B().compositionForm.point.y, 0);
  ConsoleWrite("ab\ncd");
  EXPECT_EQ(B().caretX, 16);
  EXPECT_EQ(B().caretY, 32);
  EXPECT_EQ(mirrored_, "ab\ncd");
}

TEST_F(ConsoleWriteTest, LettersOverwriteThenInsertInFrontOfTheLineFeed) {
  ConsoleWrite("123\n");
  LocateCursor(B(), 2, 0);
  ConsoleWrite("ABCDEFG");
  EXPECT_EQ(Text(), "12ABCDEFG\n");
  EXPECT_EQ(B().cursor, 9);

  // With a line end the cursor moves past the next line feed.
  ConsoleWrite("X\nsecond\n");
  LocateCursor(B(), 1, 0);
  ConsoleWrite("ab\n");
  EXPECT_EQ(Text(), "1abBCDEFGX\nsecond\n");
  EXPECT_EQ(B().cursor, 11);

  // Inside a line the bytes overwrite and nothing is re-terminated.
  LocateCursor(B(), 2, 1);
  ConsoleWrite("CO");
  EXPECT_EQ(Text(), "1abBCDEFGX\nseCOnd\n");
  EXPECT_EQ(B().cursor, 15);
}

TEST_F(ConsoleWriteTest, TabExpandedInFrontOfALineFeedIsInsertedWhole) {
  ConsoleWrite("ab\n");
  LocateCursor(B(), 1, 0);
  ConsoleWrite("x\ty");
  EXPECT_EQ(Text(), "ax      y\n");
  EXPECT_EQ(B().cursor, 9);
}

TEST_F(ConsoleWriteTest, LineEndInsideALastLineWithoutLineFeedAppendsOne) {
  ConsoleWrite("12345");
  LocateCursor(B(), 0, 0);
  ConsoleWrite("ab\n");
  EXPECT_EQ(Text(), "ab345\n");
  EXPECT_EQ(B().cursor, 6);
}

TEST_F(ConsoleWriteTest, ColoursAreStoredPerByte) {
  engine_->foreground = 0x0000FF;
  engine_->background = kTransparentColour;
  ConsoleWrite("a");
  engine_->foreground = 0x00FF00;
  engine_->background = 0x123456;
  ConsoleWrite("b\n");
  EXPECT_EQ(B().Foreground(0), 0x0000FFu);
  EXPECT_EQ(B().Background(0), kTransparentColour);
  EXPECT_EQ(B().Foreground(1), 0x00FF00u);
  EXPECT_EQ(B().Background(1), 0x123456u);
  EXPECT_EQ(B().Background(2), 0x123456u); // the line feed
}

TEST_F(ConsoleWriteTest, TheTextHoldsAtMost8192BytesAndDropsTheRest) {
  Client(16384, 16384); // large enough that nothing scrolls
  ConsoleWrite(std::string(9000, 'A') + "\n");
  EXPECT_EQ(B().Length(), kConsoleCapacity);
  EXPECT_EQ(B().cursor, kConsoleCapacity);
  EXPECT_EQ(Text(), std::string(8192, 'A'));
  ConsoleWrite("more\n");
  EXPECT_EQ(Text(), std::string(8192, 'A'));
  EXPECT_EQ(mirrored_, std::string(8192, 'A')); // only what reached the text

  // Inserting in front of a line feed near the end loses the pushed-out tail.
  ConsoleBuffer &b = B();
  b.Clear();
  ConsoleWrite("ab\n" + std::string(8180, 'z'));
  LocateCursor(b, 1, 0);
  ConsoleWrite(std::string(40, 'Q'));
  EXPECT_EQ(b.Length(), kConsoleCapacity);
  EXPECT_EQ(Text().substr(0, 43), "a" + std::string(40, 'Q') + "\nz");
  EXPECT_EQ(b.cursor, 41);
}

TEST_F(ConsoleWriteTest, MirrorConvertsToUtf8AndWaitsForTrailBytes) {
  ConsoleWrite("\x82\xA0\t!\n"); // "あ", TAB at column 2
  EXPECT_EQ(mirrored_, "\xE3\x81\x82      !\n");
  mirrored_.clear();
  ConsoleWrite("\x82"); // typed double-byte characters are echoed byte by byte
  EXPECT_EQ(mirrored_, "");
  ConsoleWrite("\xA2");
  EXPECT_EQ(mirrored_, "\xE3\x81\x84"); // "い"
}

TEST_F(ConsoleWriteTest, NoConsoleNoOutput) {
  engine_->windows.SetCurrent(0x7FFFFFF3);
  ConsoleWrite("lost\n");
  EXPECT_EQ(mirrored_, "");
  EXPECT_EQ(B().Length(), 0);
}

} // namespace
