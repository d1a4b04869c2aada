#include <string>

#include "console/console.h"
#include "console/console_mirror.h"
#include "console/console_paint.h"
#include "expr/string_text.h"
#include "runtime/engine.h"

namespace {

// The bytes to store: CR before LF dropped, decoded without NUL bytes. A raw
// NUL ends the text, as it ends the C string it stands for.
std::string PrepareOutput(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string folded;
  folded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    folded.push_back(text[i]);
  }
  return DecodeString(folded, false);
}

} // namespace

void ConsoleWrite(std::string_view text) {
  Engine &e = E();
  const HWND window = e.windows.Current();
  std::shared_ptr<ConsoleBuffer> shared = e.windows.Console(window);
  if (!shared) return;
  ConsoleBuffer &b = *shared;

  // Decoding may report an error (a message box): done before any lock.
  std::string out = PrepareOutput(text);
  bool endsLine = !out.empty() && out.back() == '\n';
  if (endsLine) out.pop_back();
  const uint32_t fg = e.foreground;
  const uint32_t bg = e.background;

  CaretHold hold(window, b);
  std::lock_guard<std::mutex> lock(b.mutex);
  const int32_t start = b.cursor;
  size_t i = 0;
  for (; i < out.size() && b.cursor < kConsoleCapacity; ++i) {
    if (out[i] == '\t') {
      int32_t column = b.cursor - b.LineStart(b.cursor);
      out.replace(i, 1, 8 - column % 8, ' ');
    }
    // In front of a line feed the rest of the output is inserted, not
    // written over the line end.
    if (b.cursor < b.Length() && b.At(b.cursor) == '\n')
      b.OpenGap(b.cursor, static_cast<int32_t>(out.size() - i), fg, bg);
    b.Store(b.cursor, out[i], fg, bg);
    ++b.cursor;
  }
  std::string stored = out.substr(0, i);

  if (b.cursor < kConsoleCapacity && endsLine) {
    if (b.cursor == b.Length()) {
      b.Append('\n', fg, bg);
      b.cursor = b.Length();
    } else {
      int32_t feed = b.FindLineFeed(b.cursor);
      if (feed < 0) {
        b.Append('\n', fg, bg);
        b.cursor = b.Length();
      } else {
        b.cursor = feed + 1;
      }
    }
    stored.push_back('\n');
  }
  // Output beyond the capacity (and its line end) is dropped.
  MirrorConsoleOutput(stored);
  PaintLocked(window, b, static_cast<int32_t>(out.size()), start);
}
