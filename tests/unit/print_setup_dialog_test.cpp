// The on-screen print setup dialog's rules: the selection starts on the
// given printer and moves with the keys and the mouse, the list scrolls to
// keep it in view, Enter, Escape, Tab and the buttons answer as a user
// expects, and every pixel is painted.
#include "platform/print_setup_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_cell_text.h"

namespace {

using platform::PrintSetupDialog;
using platform::test::CellText;

constexpr int kEnter = 0x0D, kEscape = 0x1B, kTab = 0x09, kSpace = 0x20;
constexpr int kUp = 0x26, kDown = 0x28, kLeft = 0x25, kRight = 0x27;
constexpr int kPageDown = 0x22, kHome = 0x24, kEnd = 0x23;

PrintSetupDialog Dialog(std::vector<std::string> printers, int selected, int maxH = 768) {
  return PrintSetupDialog(std::make_shared<CellText>(), std::move(printers), selected, 1024, maxH);
}

std::vector<std::string> Names(int n) {
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back("P" + std::to_string(i));
  return names;
}

void Click(PrintSetupDialog &d, const RECT &r, int *answer = nullptr) {
  int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  int a = d.MouseDown(x, y);
  a = a ? a : d.MouseUp(x, y);
  if (answer) *answer = a;
}

TEST(PrintSetupDialog, KeysMoveTheSelectionWithinTheList) {
  PrintSetupDialog d = Dialog({"Office", "Second", "Photo"}, 1);
  EXPECT_EQ(d.Selected(), 1);
  EXPECT_EQ(d.Focus(), 0); // the list has the keyboard
  EXPECT_EQ(d.KeyDown(kDown, false), 0);
  EXPECT_EQ(d.Selected(), 2);
  d.KeyDown(kDown, false); // the end of the list stops it
  d.KeyDown(kRight, false);
  EXPECT_EQ(d.Selected(), 2);
  d.KeyDown(kUp, false);
  d.KeyDown(kLeft, false);
  d.KeyDown(kUp, false);
  EXPECT_EQ(d.Selected(), 0);
  d.KeyDown(kEnd, false);
  EXPECT_EQ(d.Selected(), 2);
  d.KeyDown(kHome, false);
  EXPECT_EQ(d.Selected(), 0);
  // A letter goes to the next printer starting with it, round the end.
  d.Character('p');
  EXPECT_EQ(d.Selected(), 2);
  d.Character('O');
  EXPECT_EQ(d.Selected(), 0);
  d.Character('z'); // no such printer: the selection stays
  EXPECT_EQ(d.Selected(), 0);
  // An index out of the list starts on its nearest end.
  EXPECT_EQ(Dialog({"a", "b"}, 9).Selected(), 1);
  EXPECT_EQ(Dialog({"a", "b"}, -3).Selected(), 0);
}

TEST(PrintSetupDialog, EnterEscapeTabAndTheButtonsAnswer) {
  PrintSetupDialog d = Dialog({"Office", "Second"}, 0);
  EXPECT_EQ(d.KeyDown(kSpace, false), 0); // Space in the list presses nothing
  EXPECT_EQ(d.KeyDown(kEnter, false), IDOK);
  EXPECT_EQ(d.KeyDown(kEscape, false), IDCANCEL);
  EXPECT_EQ(d.Close(), IDCANCEL);
  // Tab: list, OK, Cancel, and round; Shift+Tab back.
  d.KeyDown(kTab, false);
  EXPECT_EQ(d.Focus(), 1);
  d.KeyDown(kTab, false);
  EXPECT_EQ(d.Focus(), 2);
  EXPECT_EQ(d.KeyDown(kEnter, false), IDCANCEL); // Enter presses the focused button
  EXPECT_EQ(d.KeyDown(kSpace, false), IDCANCEL);
  // Arrows on the buttons move between them and leave the selection alone.
  d.KeyDown(kRight, false);
  EXPECT_EQ(d.Focus(), 1);
  EXPECT_EQ(d.Selected(), 0);
  EXPECT_EQ(d.KeyDown(kSpace, false), IDOK);
  d.KeyDown(kTab, true);
  EXPECT_EQ(d.Focus(), 0);
  d.KeyDown(kTab, true);
  EXPECT_EQ(d.Focus(), 2);
}

TEST(PrintSetupDialog, TheMouseSelectsAndPressesButtons) {
  PrintSetupDialog d = Dialog({"Office", "Second", "Photo"}, 0);
  int answer = -1;
  Click(d, d.RowRect(2), &answer);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(d.Selected(), 2);
  Click(d, d.ButtonRect(IDOK), &answer);
  EXPECT_EQ(answer, IDOK);
  Click(d, d.ButtonRect(IDCANCEL), &answer);
  EXPECT_EQ(answer, IDCANCEL);
  // A press released away from its button does nothing.
  RECT ok = d.ButtonRect(IDOK);
  d.MouseDown(ok.left + 2, ok.top + 2);
  d.MouseMove(0, 0);
  EXPECT_EQ(d.MouseUp(0, 0), 0);
  // A double click on a printer takes it; on a button it is a press.
  RECT first = d.RowRect(0);
  EXPECT_EQ(d.MouseDoubleClick(first.left + 2, first.top + 2), IDOK);
  EXPECT_EQ(d.Selected(), 0);
  RECT cancel = d.ButtonRect(IDCANCEL);
  EXPECT_EQ(d.MouseDoubleClick(cancel.left + 2, cancel.top + 2), 0);
  EXPECT_EQ(d.MouseUp(cancel.left + 2, cancel.top + 2), IDCANCEL);
  d.MouseDown(d.RowRect(2).left + 2, d.RowRect(2).top + 2);
  // Clicks beside the rows and on the caption choose nothing.
  EXPECT_EQ(d.MouseDown(1, 1), 0);
  EXPECT_EQ(d.MouseUp(1, 1), 0);
  EXPECT_TRUE(d.InCaption(5, 5));
  EXPECT_EQ(d.Selected(), 2);
}

TEST(PrintSetupDialog, ALongListScrollsToKeepTheSelectionInView) {
  PrintSetupDialog d = Dialog(Names(30), 20);
  ASSERT_EQ(d.RowsShown(), 8);
  EXPECT_LE(d.FirstShown(), 20);
  EXPECT_GT(d.FirstShown() + d.RowsShown(), 20);
  d.KeyDown(kHome, false);
  EXPECT_EQ(d.FirstShown(), 0);
  d.KeyDown(kPageDown, false);
  EXPECT_EQ(d.Selected(), 7);
  EXPECT_EQ(d.FirstShown(), 0);
  d.KeyDown(kDown, false);
  EXPECT_EQ(d.FirstShown(), 1);
  d.KeyDown(kEnd, false);
  EXPECT_EQ(d.FirstShown(), 30 - 8);
  // Rows scrolled away have no place; the rows shown lie inside the dialog.
  EXPECT_EQ(d.RowRect(0).right, 0);
  RECT last = d.RowRect(29);
  EXPECT_GT(last.bottom, last.top);
  EXPECT_LE(last.bottom, d.Height());
  // A small screen shows fewer rows, never fewer than one.
  PrintSetupDialog small = Dialog(Names(30), 29, 100);
  EXPECT_GE(small.RowsShown(), 1);
  EXPECT_LT(small.RowsShown(), 8);
  EXPECT_EQ(small.FirstShown() + small.RowsShown(), 30);
}

TEST(PrintSetupDialog, AnEmptyListHasNoSelection) {
  PrintSetupDialog d = Dialog({}, 0);
  EXPECT_EQ(d.Selected(), -1);
  d.KeyDown(kDown, false);
  d.Character('a');
  EXPECT_EQ(d.Selected(), -1);
  EXPECT_EQ(d.KeyDown(kEscape, false), IDCANCEL);
}

TEST(PrintSetupDialog, PaintShowsTheSelectedRowHighlighted) {
  PrintSetupDialog d = Dialog({"Office", "Second", "Photo"}, 1);
  std::vector<uint32_t> pixels(static_cast<size_t>(d.Width()) * d.Height(), 0x123456);
  platform::PixelView view{pixels.data(), d.Width(), d.Height(), d.Width()};
  d.Paint(view);
  for (uint32_t p : pixels) ASSERT_NE(p, 0x123456u); // every pixel painted
  RECT sel = d.RowRect(1), other = d.RowRect(0);
  // The selected row is blue with white text, the others white with black.
  EXPECT_EQ(view.Row(sel.top + 1)[sel.right - 2], 0x000078D7u);
  EXPECT_EQ(view.Row(sel.top + 4)[sel.left + 5], 0x00FFFFFFu);
  EXPECT_EQ(view.Row(other.top + 1)[other.right - 2], 0x00FFFFFFu);
  EXPECT_EQ(view.Row(other.top + 4)[other.left + 5], 0u);
  EXPECT_TRUE(d.TakeChanged());
  EXPECT_FALSE(d.TakeChanged());
  d.KeyDown(kDown, false);
  EXPECT_TRUE(d.TakeChanged());
}

} // namespace
