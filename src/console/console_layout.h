// The layout walk of the console text: where each cell goes for a given cell
// size, window width and column limit, where the caret is, and how many rows
// the text takes. Layout is never stored; painting walks the text afresh.
#pragma once

#include <cstdint>
#include <functional>

#include "console/console_buffer.h"

struct ConsoleMetrics {
  int32_t cellWidth = 8; // extent of one blank
  int32_t cellHeight = 16;
  int32_t lineHeight = 16;     // tmHeight + tmExternalLeading
  int32_t fontHeight = 16;     // tmHeight
  int32_t externalLeading = 0; // tmExternalLeading
};

// The console font's cell (console_font.cpp). Before the font is made, and
// when it cannot be measured, the cell is as high as the LOGFONT's height
// (16 when it is 0) and half as wide.
ConsoleMetrics CurrentConsoleMetrics();

struct ConsoleCell {
  int32_t index; // first byte in the text
  int32_t bytes; // 1, or 2 for a double-width character or a transparent blank
  int32_t x, y;  // top left
  bool doubleWidth;
  bool transparentBlank;
};

struct ConsoleLayout {
  int64_t height = 0; // y after the last line
  int64_t rows = 0;
  bool caretFound = false;
  int64_t caretX = 0, caretY = 0; // left edge, bottom of the line
};

// Walks BUFFER's text from index 0: a line feed or a wrap starts a new line;
// a cell wraps when it would pass RIGHT or the column count is above
// MAX_COLUMNS. VISIT (optional) gets every cell in text order.
ConsoleLayout LayoutConsole(const ConsoleBuffer &buffer, const ConsoleMetrics &metrics,
                            int32_t right, int32_t maxColumns,
                            const std::function<void(const ConsoleCell &)> &visit = {});
