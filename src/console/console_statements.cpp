#include "console/console_statements.h"

#include <algorithm>

#include "console/console_buffer.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

// Splits "a, b" at the first comma at depth 0 and evaluates both sides as
// truncated integers; false (a runtime error) without a comma.
bool TwoIntegers(const std::string &arg, int32_t &a, int32_t &b) {
  std::string first;
  size_t next = NextArgument(arg, 0, first);
  if (next == first.size()) { // no comma: the whole text was the first
    RuntimeError();
    return false;
  }
  a = num::TruncInt32(EvalNumeric(first));
  b = num::TruncInt32(EvalNumeric(std::string_view(arg).substr(next)));
  return true;
}

// Inserts COUNT transparent blanks at AT, as many as fit in whole.
void PadBlanks(ConsoleBuffer &buffer, int32_t at, int32_t count, uint32_t fg) {
  const int32_t room = (kConsoleCapacity - at) / 2;
  count = std::min(count, room);
  if (count <= 0) return;
  buffer.OpenGap(at, 2 * count, fg, kTransparentColour);
  for (int32_t k = 0; k < count; ++k) {
    buffer.Store(at + 2 * k, kTransparentBlank[0], fg, kTransparentColour);
    buffer.Store(at + 2 * k + 1, kTransparentBlank[1], fg, kTransparentColour);
  }
}

} // namespace

void LocateCursor(ConsoleBuffer &buffer, int32_t column, int32_t line) {
  const uint32_t fg = E().foreground;
  column = std::clamp(column, 0, kConsoleCapacity);
  line = std::clamp(line, 0, kConsoleCapacity);
  // 1. The start of the line.
  int32_t at = 0;
  int32_t reached = 0;
  while (reached < line) {
    int32_t feed = buffer.FindLineFeed(at);
    if (feed < 0) break;
    at = feed + 1;
    ++reached;
  }
  // 2. The text ends first: line feeds for the missing lines, then the
  //    column in transparent blanks.
  if (reached < line) {
    for (; reached < line; ++reached)
      if (!buffer.Append('\n', fg, kTransparentColour)) break;
    PadBlanks(buffer, buffer.Length(), column, fg);
    buffer.cursor = buffer.Length();
    return;
  }
  // 3. Into the line; a transparent blank is one column. The missing
  //    columns are inserted where the line ends.
  int32_t walked = 0;
  while (walked < column) {
    uint8_t c = buffer.At(at);
    if (at >= buffer.Length() || c == '\n') {
      PadBlanks(buffer, at, column - walked, fg);
      at = std::min(at + 2 * (column - walked), buffer.Length());
      break;
    }
    at += (c == 0x01 && buffer.At(at + 1) == 0x79) ? 2 : 1;
    ++walked;
  }
  buffer.cursor = std::min(at, buffer.Length());
}

void LOCATE(std::string &arg, ThreadIndex) {
  int32_t column = 0, line = 0;
  if (!TwoIntegers(arg, column, line)) return;
  std::shared_ptr<ConsoleBuffer> buffer = E().windows.CurrentConsole();
  if (!buffer) return;
  std::lock_guard<std::mutex> lock(buffer->mutex);
  LocateCursor(*buffer, column, line);
}

void WIDTH(std::string &arg, ThreadIndex) {
  int32_t columns = 0, rows = 0;
  if (!TwoIntegers(arg, columns, rows)) return;
  Engine &e = E();
  e.consoleColumnLimit = columns;
  e.consoleLineLimit = rows;
}
