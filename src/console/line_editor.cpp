#include "console/line_editor.h"

#include "console/console.h"
#include "console/keyboard_state.h"
#include "flow/threads.h"
#include "platform/cp932.h"
#include "platform/winuser_input.h"
#include "runtime/engine.h"

namespace {

bool IsTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Takes the character in front of the cursor back out of the console and,
// while an input waits, out of the input line; never into the prompt.
void Backspace(Engine &e, bool editing) {
  KeyboardState &k = e.keyboard;
  if (!editing && e.running.load()) return;
  HWND window = e.windows.Current();
  std::shared_ptr<ConsoleBuffer> buffer = e.windows.Console(window);
  if (!buffer) return;
  {
    std::lock_guard<std::mutex> lock(buffer->mutex);
    int32_t cursor = buffer->cursor;
    if (cursor <= 0) return;
    int32_t size = BackspaceSize(buffer->Text(), cursor);
    if (editing) {
      // The line loses its last character, whatever its escaped size; the
      // input length keeps the prompt out of reach.
      size_t cut = LastCharacterSize(k.inputLine.Text());
      int32_t length = k.inputLength.load();
      if (cut == 0 || length - static_cast<int32_t>(cut) < 0) return;
      k.inputLength.store(length - static_cast<int32_t>(cut));
      k.inputLine.Cut(cut);
    }
    buffer->Erase(cursor - size, size);
    buffer->cursor = cursor - size;
  }
  HideCaret(window);
  ConsoleRefresh(window, false);
}

// Appends a typed character to the input line and echoes it. A character
// that does not fit (the line holds 1023 bytes) is refused with a beep; a
// refused lead byte takes its trail byte with it.
void Type(KeyboardState &k, uint8_t code) {
  if (k.refuseTrail) {
    k.refuseTrail = false;
    if (IsTrailByte(code)) return;
  }
  if (code == 0) return; // a NUL cannot stand in the line
  std::string bytes;
  TypedCharToText(code, bytes);
  bool lead = cp932::IsLeadByte(code);
  if (!k.inputLine.Append(bytes, lead ? 1 : 0)) {
    k.refuseTrail = lead;
    MessageBeep(0);
    return;
  }
  k.inputLength.fetch_add(static_cast<int32_t>(bytes.size()));
  ConsoleWrite(bytes);
}

} // namespace

int32_t BackspaceSize(std::string_view text, int32_t cursor) {
  if (cursor <= 0) return 0;
  int count = 0;
  for (int64_t i = static_cast<int64_t>(cursor) - 2; i >= 0; --i) {
    uint8_t b = i < static_cast<int64_t>(text.size()) ? static_cast<uint8_t>(text[i]) : 0;
    if (!cp932::IsLeadByte(b) && b != 0x01) break;
    ++count;
  }
  return count % 2 == 1 && cursor >= 2 ? 2 : 1;
}

size_t LastCharacterSize(std::string_view line) {
  size_t last = 0;
  for (size_t i = 0; i < line.size(); i += last) {
    uint8_t b = static_cast<uint8_t>(line[i]);
    last = (b == 0x01 || cp932::IsLeadByte(b)) && i + 1 < line.size() ? 2 : 1;
  }
  return last;
}

void TypedCharToText(uint8_t c, std::string &out) {
  if (c == 0x01) {
    out += "\x01\x01";
  } else if (c == '"') {
    out += "\x01z";
  } else {
    out.push_back(static_cast<char>(c));
  }
}

void LineEditorChar(HWND, uint8_t code) {
  Engine &e = E();
  KeyboardState &k = e.keyboard;
  bool editing = k.inputMode.load() == 1;
  if (!editing) k.lastKey.store(code);
  if (code == '\b') {
    Backspace(e, editing);
  } else if (code == '\r') {
    if (editing) {
      ConsoleWrite("\n");
      k.inputMode.store(0);
      WakeWaiters();
    }
  } else if (editing) {
    Type(k, code);
  }
}
