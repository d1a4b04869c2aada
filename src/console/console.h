// Console output of the current window: writing text at the cursor, and
// painting the text layer over the window.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/wingdi.h"

// Writes TEXT (string text form) at the cursor of the current window's
// console with the current colours, then paints the new cells (all cells
// when TEXT is empty). CR LF becomes LF; a final LF ends the line; a TAB
// moves to the next multiple of 8 columns. Nothing happens when the current
// window has no console.
void ConsoleWrite(std::string_view text);

// Lays out WINDOW's whole console text, draws the cells with index START to
// START + COUNT - 1 (all when COUNT is 0), drops whole logical lines from the
// front until the text fits, and updates the caret position and the
// composition point.
void ConsolePaint(HWND window, int32_t count, int32_t start);

// Copies WINDOW's surface onto it and paints all text. FROM_PAINT: called
// for WM_PAINT (the window is validated afterwards).
void ConsoleRefresh(HWND window, bool fromPaint);

// Draws WINDOW's text layer into DC as painting lays it out (no scrolling,
// nothing of the buffer changes): for screenshots of the window.
void DrawConsoleLayer(HWND window, HDC dc);
