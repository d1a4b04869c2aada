// The menu painter's hit tests against what it draws: the on-screen menus
// choose by the item the pointer is over, so the rectangles must be where
// the items are painted, separators included.
#include "platform/menu_paint.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MenuPaintTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::ResetMenus();
    popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "One");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, 2, "Two");
    AppendMenuA(popup, MF_STRING | MF_GRAYED, 3, "Three");
  }
  void TearDown() override { platform::ResetMenus(); }
  HMENU popup = 0;
};

TEST_F(MenuPaintTest, PopupItemsTileTheBoxAndHitTestsAgree) {
  const SIZE size = platform::PopupMenuSize(popup);
  RECT previous{0, 0, 0, 1}; // the frame's top row
  for (int i = 0; i < 4; ++i) {
    RECT r = platform::PopupMenuItemRect(popup, i);
    EXPECT_EQ(r.top, previous.bottom) << i;
    EXPECT_GT(r.bottom, r.top) << i;
    EXPECT_EQ(platform::PopupMenuItemAt(popup, r.top), i);
    EXPECT_EQ(platform::PopupMenuItemAt(popup, r.bottom - 1), i);
    previous = r;
  }
  // The separator is thinner than a text item.
  EXPECT_LT(
      platform::PopupMenuItemRect(popup, 1).bottom - platform::PopupMenuItemRect(popup, 1).top,
      platform::PopupMenuItemRect(popup, 0).bottom - platform::PopupMenuItemRect(popup, 0).top);
  EXPECT_EQ(previous.bottom, size.cy - 1); // the frame's bottom row follows
  EXPECT_EQ(platform::PopupMenuItemAt(popup, 0), -1);
  EXPECT_EQ(platform::PopupMenuItemAt(popup, size.cy - 1), -1);
  EXPECT_EQ(platform::PopupMenuItemAt(popup, -5), -1);
  RECT none = platform::PopupMenuItemRect(popup, 4);
  EXPECT_EQ(none.right, none.left);
}

TEST_F(MenuPaintTest, OnlyTheHotItemIsHighlighted) {
  const SIZE size = platform::PopupMenuSize(popup);
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy, 0);
  platform::PixelView view{pixels.data(), static_cast<int>(size.cx), static_cast<int>(size.cy),
                           static_cast<int>(size.cx)};
  platform::PaintPopupMenu(popup, view, 2);
  auto at = [&](int index) {
    RECT r = platform::PopupMenuItemRect(popup, index);
    return pixels[static_cast<size_t>(r.top + 1) * size.cx + r.left + 1];
  };
  EXPECT_EQ(at(2), 0x0078D7u);
  EXPECT_EQ(at(0), 0xF0F0F0u);
  EXPECT_EQ(at(3), 0xF0F0F0u);
}

TEST_F(MenuPaintTest, BarItemsLieSideBySideAndSeparatorsTakeNoRoom) {
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, popup, "File");
  AppendMenuA(bar, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(bar, MF_STRING, 9, "Help");
  RECT file = platform::MenuBarItemRect(bar, 0, 400);
  RECT sep = platform::MenuBarItemRect(bar, 1, 400);
  RECT help = platform::MenuBarItemRect(bar, 2, 400);
  EXPECT_EQ(file.left, 0);
  EXPECT_EQ(sep.right, sep.left);
  EXPECT_EQ(help.left, file.right);
  EXPECT_EQ(help.bottom, kMenuBarHeight - 1);
  EXPECT_EQ(platform::MenuBarItemAt(bar, file.right - 1, 400), 0);
  EXPECT_EQ(platform::MenuBarItemAt(bar, help.left, 400), 2);
  EXPECT_EQ(platform::MenuBarItemAt(bar, help.right, 400), -1);
  // A narrow bar cuts the items that do not start inside it.
  EXPECT_EQ(platform::MenuBarItemAt(bar, help.left, help.left), -1);
  RECT cut = platform::MenuBarItemRect(bar, 0, file.right - 3);
  EXPECT_EQ(cut.right, file.right - 3);
}

} // namespace
