// Drawing menus into pixels: a window's menu bar and a pop-up menu's box,
// for the display drivers and the headless window captures.
#pragma once

#include "platform/pixels.h"
#include "platform/win32.h"
#include "platform/wingdi.h"

namespace platform {

// Draws the menu bar MENU across the top kMenuBarHeight rows of VIEW: the
// items' texts side by side, greyed ones in grey, on the face colour.
void PaintMenuBar(HMENU menu, const PixelView &view);
// The size of the box the pop-up menu MENU is drawn in, and drawing it at
// the top-left of VIEW (separators as lines, checked items marked, submenus
// with an arrow).
SIZE PopupMenuSize(HMENU menu);
void PaintPopupMenu(HMENU menu, const PixelView &view);

} // namespace platform
