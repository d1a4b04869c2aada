// The layout walk of painting: wrapping at the window's edge and at the
// column limit, double-width cells, and scrolling by whole logical lines.
#include <string>
#include <vector>

#include "console/console_layout.h"
#include "console/console_statements.h"
#include "console_fixture.h"

namespace {

using ConsoleLayoutTest = ConsoleTest;

struct Placed {
  int index, x, y;
  bool operator==(const Placed &) const = default;
};

std::vector<Placed> Cells(const ConsoleBuffer &b, int right, int maxColumns) {
  std::vector<Placed> out;
  LayoutConsole(b, CurrentConsoleMetrics(), right, maxColumns, [&](const ConsoleCell &c) {
    out.push_back({c.index, c.x, c.y});
  });
  return out;
}

TEST_F(ConsoleLayoutTest, CellSizeFollowsTheConsoleFontHeight) {
  EXPECT_EQ(CurrentConsoleMetrics().cellHeight, 16); // height 0
  EXPECT_EQ(CurrentConsoleMetrics().cellWidth, 8);
  engine_->consoleFont.lfHeight = -24;
  EXPECT_EQ(CurrentConsoleMetrics().cellHeight, 24);
  EXPECT_EQ(CurrentConsoleMetrics().cellWidth, 12);
  EXPECT_EQ(CurrentConsoleMetrics().lineHeight, 24);
}

TEST_F(ConsoleLayoutTest, WidthTenWrapsAfterElevenColumns) {
  std::string arg = "10,100";
  WIDTH(arg, 0);
  ConsoleWrite(std::string(12, 'A'));
  std::vector<Placed> cells = Cells(B(), 1024, 10);
  ASSERT_EQ(cells.size(), 12u);
  EXPECT_EQ(cells[10], (Placed{10, 80, 0}));
  EXPECT_EQ(cells[11], (Placed{11, 0, 16}));
  EXPECT_EQ(B().caretX, 8); // painting used the limit too
  EXPECT_EQ(B().caretY, 32);

  // A double-width character counts two columns and is two cells wide.
  B().Clear();
  ConsoleWrite(std::string(10, 'A') + "\x82\xA0" + "B");
  cells = Cells(B(), 1024, 10);
  ASSERT_EQ(cells.size(), 12u);
  EXPECT_EQ(cells[10], (Placed{10, 80, 0})); // column 10 still fits
  EXPECT_EQ(cells[11], (Placed{12, 0, 16})); // column 12 wraps
  B().Clear();
  ConsoleWrite(std::string(11, 'A') + "\x82\xA0");
  cells = Cells(B(), 1024, 10);
  EXPECT_EQ(cells.back(), (Placed{11, 0, 16}));
  EXPECT_EQ(B().caretX, 16);
}

TEST_F(ConsoleLayoutTest, DefaultLimitsWrapAtTheRightEdge) {
  ConsoleWrite(std::string(25, 'B') + "\nC");
  std::vector<Placed> cells = Cells(B(), 80, 8192);
  EXPECT_EQ(cells[9], (Placed{9, 72, 0}));
  EXPECT_EQ(cells[10], (Placed{10, 0, 16}));
  EXPECT_EQ(cells[20], (Placed{20, 0, 32}));
  EXPECT_EQ(cells[25], (Placed{26, 0, 48})); // "C" after the line feed
  ConsoleLayout layout = LayoutConsole(B(), CurrentConsoleMetrics(), 80, 8192);
  EXPECT_EQ(layout.rows, 4);
  EXPECT_EQ(layout.height, 64);
}

TEST_F(ConsoleLayoutTest, TransparentBlankIsOneCellAndLeadByteBeforeLineFeedIsSingle) {
  LocateCursor(B(), 2, 0);
  ConsoleWrite("\x82\n\x82\xA0");
  std::vector<Placed> cells = Cells(B(), 1024, 8192);
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(cells[1], (Placed{2, 8, 0}));
  EXPECT_EQ(cells[2], (Placed{4, 16, 0})); // lone lead byte: one cell
  EXPECT_EQ(cells[3], (Placed{6, 0, 16}));
  EXPECT_EQ(B().caretX, 16); // after the double-width character
}

TEST_F(ConsoleLayoutTest, FullWindowDropsTheFirstLogicalLine) {
  Client(80, 64); // four rows
  ConsoleWrite("L0\nL1\nL2\n");
  EXPECT_EQ(Text(), "L0\nL1\nL2\n"); // three lines and the cursor's row fit
  ConsoleWrite("L3\n");
  EXPECT_EQ(Text(), "L1\nL2\nL3\n");
  EXPECT_EQ(B().cursor, B().Length());
  EXPECT_EQ(B().caretX, 0);
  EXPECT_EQ(B().caretY, 64);
  EXPECT_EQ(mirrored_, "L0\nL1\nL2\nL3\n"); // the mirror is a stream
}

TEST_F(ConsoleLayoutTest, WrappedLogicalLineIsRemovedWhole) {
  Client(80, 64);
  ConsoleWrite("A\n" + std::string(25, 'B') + "\n");
  EXPECT_EQ(Text(), std::string(25, 'B') + "\n"); // 3 rows + the cursor's row
  ConsoleWrite("C\n");
  EXPECT_EQ(Text(), "C\n");
  // A single line longer than the window goes entirely.
  ConsoleWrite(std::string(50, 'D'));
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(B().cursor, 0);
  EXPECT_EQ(B().caretY, 16);
}

TEST_F(ConsoleLayoutTest, CursorEndsAtTheEndAfterScrolling) {
  Client(80, 64);
  ConsoleWrite("L0\nL1\nL2\n");
  LocateCursor(B(), 5, 1); // three transparent blanks after "L1"
  ConsoleWrite("abcdefghij");
  // Line 1 now takes two rows: "L0" is dropped and the cursor leaves line 1.
  EXPECT_EQ(Text(), "L1\x01y\x01y\x01y"
                    "abcdefghij\nL2\n");
  EXPECT_EQ(B().cursor, B().Length());
  EXPECT_EQ(B().caretY, 64);
}

TEST_F(ConsoleLayoutTest, MaximumRowsLimitTheText) {
  std::string arg = "100,2";
  WIDTH(arg, 0);
  ConsoleWrite("a\nb\n");
  EXPECT_EQ(Text(), "b\n");
  // A limit below one row empties the text and then stops.
  arg = "100,0";
  WIDTH(arg, 0);
  ConsoleWrite("c");
  EXPECT_EQ(Text(), "");
}

TEST_F(ConsoleLayoutTest, MinimisedWindowKeepsTheLastClientRectangle) {
  Client(80, 64);
  ConsolePaint(kWindow, 0, 0); // the fake window has no client area
  EXPECT_EQ(B().clientRect.right, 80);
  EXPECT_EQ(B().clientRect.bottom, 64);
}

} // namespace
