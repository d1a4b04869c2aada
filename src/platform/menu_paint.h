// Drawing menus into pixels: a window's menu bar and a pop-up menu's box,
// for the display drivers and the headless window captures.
#pragma once

#include "platform/pixels.h"
#include "platform/win32.h"
#include "platform/wingdi.h"

namespace platform {

// Items are counted as MenuItems gives them, separators included; HOT is
// the item drawn highlighted (-1: none).

// Draws the menu bar MENU across the top kMenuBarHeight rows of VIEW: the
// items' texts side by side, greyed ones in grey, on the face colour.
void PaintMenuBar(HMENU menu, const PixelView &view, int hot = -1);
// Where bar item INDEX lies in a bar WIDTH pixels wide (empty when it is
// not shown), and the item at X (-1: none).
RECT MenuBarItemRect(HMENU menu, int index, int width);
int MenuBarItemAt(HMENU menu, int x, int width);
// The size of the box the pop-up menu MENU is drawn in, and drawing it at
// the top-left of VIEW (separators as lines, checked items marked, submenus
// with an arrow).
SIZE PopupMenuSize(HMENU menu);
void PaintPopupMenu(HMENU menu, const PixelView &view, int hot = -1);
// Where item INDEX lies in the box (empty when it has none), and the item
// whose row holds Y (-1: none, or above or below every item).
RECT PopupMenuItemRect(HMENU menu, int index);
int PopupMenuItemAt(HMENU menu, int y);

} // namespace platform
