#include "console/console_layout.h"

#include <algorithm>
#include <cstdlib>

#include "platform/cp932.h"
#include "runtime/engine.h"

ConsoleLayout LayoutConsole(const ConsoleBuffer &buffer, const ConsoleMetrics &metrics,
                            int32_t right, int32_t maxColumns,
                            const std::function<void(const ConsoleCell &)> &visit) {
  ConsoleLayout out;
  const int32_t length = buffer.Length();
  const int32_t cursor = buffer.cursor;
  int64_t x = 0, y = 0, column = 0;
  auto newLine = [&] {
    x = 0;
    y += metrics.lineHeight;
    ++out.rows;
    column = 0;
  };
  int32_t i = 0;
  while (i < length) {
    uint8_t c = buffer.At(i);
    if (c == '\n') {
      if (i == cursor) {
        out.caretFound = true;
        out.caretX = x;
        out.caretY = y + metrics.lineHeight;
      }
      newLine();
      ++i;
      continue;
    }
    ConsoleCell cell{i, 1, 0, 0, false, false};
    uint8_t next = buffer.At(i + 1); // 0 at the end
    if (c == 0x01 && next == 0x79) {
      cell.bytes = 2;
      cell.transparentBlank = true;
    } else if (cp932::IsLeadByte(c) && next != 0 && next != '\n') {
      cell.bytes = 2;
      cell.doubleWidth = true;
    }
    // The caret belongs to the cell holding the cursor (also when LOCATE
    // left the cursor on a trail byte), before the cell wraps.
    if (cursor >= i && cursor < i + cell.bytes) {
      out.caretFound = true;
      out.caretX = x;
      out.caretY = y + metrics.lineHeight;
    }
    if (x + metrics.cellWidth > right || column > maxColumns) newLine();
    cell.x = static_cast<int32_t>(x);
    cell.y = static_cast<int32_t>(y);
    if (visit) visit(cell);
    x += cell.doubleWidth ? 2 * metrics.cellWidth : metrics.cellWidth;
    column += cell.doubleWidth ? 2 : 1;
    i += cell.bytes;
  }
  // The end of the text (its terminator, or index 8192 of a full buffer).
  if (cursor >= length) {
    out.caretFound = true;
    out.caretX = x;
    out.caretY = y + metrics.lineHeight;
  }
  newLine();
  out.height = y;
  return out;
}
