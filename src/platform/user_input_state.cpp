// Carets, key states and input-method compositions: plain state under one
// small mutex (key states are atomics), kept for a display backend to show.
#include <array>
#include <atomic>
#include <map>
#include <mutex>

#include "platform/winuser_input.h"

namespace {

struct CaretRecord {
  HWND window = 0;
  DWORD thread = 0;
  int width = 0;
  int height = 0;
  POINT position;
  int hideCount = 0; // visible at 0
};

struct InputState {
  std::mutex mutex;
  CaretRecord caret;
  std::map<HWND, platform::CompositionState> compositions;
  std::array<std::atomic<uint8_t>, 256> keys{}; // bit 7 down, bit 0 toggled
};

InputState &I() {
  static auto *state = new InputState; // never destroyed: threads may outlive main
  return *state;
}

bool ValidKey(int key) {
  return key >= 0 && key < 256;
}

} // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!IsWindow(hwnd)) return FALSE;
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.caret = CaretRecord{};
  s.caret.window = hwnd;
  s.caret.thread = GetCurrentThreadId();
  s.caret.width = width;
  s.caret.height = height;
  s.caret.hideCount = 1;
  return TRUE;
}

BOOL DestroyCaret() {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.caret.window == 0 || s.caret.thread != GetCurrentThreadId()) return FALSE;
  s.caret = CaretRecord{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.caret.window == 0) return FALSE;
  s.caret.position = POINT{x, y};
  return TRUE;
}

BOOL GetCaretPos(POINT *point) {
  if (!point) return FALSE;
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  *point = s.caret.position;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.caret.window == 0 || (hwnd != 0 && hwnd != s.caret.window)) return FALSE;
  if (s.caret.hideCount > 0) --s.caret.hideCount;
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.caret.window == 0 || (hwnd != 0 && hwnd != s.caret.window)) return FALSE;
  ++s.caret.hideCount;
  return TRUE;
}

SHORT GetKeyState(int virtualKey) {
  if (!ValidKey(virtualKey)) return 0;
  uint8_t k = I().keys[static_cast<size_t>(virtualKey)].load();
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

SHORT GetAsyncKeyState(int virtualKey) {
  if (!ValidKey(virtualKey)) return 0;
  uint8_t k = I().keys[static_cast<size_t>(virtualKey)].load();
  return static_cast<SHORT>((k & 0x80) ? 0x8000 : 0);
}

HIMC ImmGetContext(HWND hwnd) {
  return IsWindow(hwnd) ? hwnd : 0;
}

BOOL ImmReleaseContext(HWND, HIMC context) {
  return context != 0 ? TRUE : FALSE;
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM *form) {
  if (context == 0 || !form) return FALSE;
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  platform::CompositionState &c = s.compositions[context];
  c.placed = true;
  c.point = form->ptCurrentPos;
  return TRUE;
}

BOOL ImmSetCompositionFontA(HIMC context, const LOGFONTA *font) {
  if (context == 0 || !font) return FALSE;
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  platform::CompositionState &c = s.compositions[context];
  c.fontSet = true;
  c.font = *font;
  return TRUE;
}

namespace platform {

CaretState CurrentCaret() {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  CaretState out;
  out.window = s.caret.window;
  out.width = s.caret.width;
  out.height = s.caret.height;
  out.position = s.caret.position;
  out.visible = s.caret.window != 0 && s.caret.hideCount == 0;
  return out;
}

CompositionState Composition(HWND window) {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto it = s.compositions.find(window);
  return it == s.compositions.end() ? CompositionState{} : it->second;
}

void SetKeyDown(int virtualKey, bool down) {
  if (!ValidKey(virtualKey)) return;
  std::atomic<uint8_t> &k = I().keys[static_cast<size_t>(virtualKey)];
  uint8_t old = k.load();
  uint8_t next;
  do {
    bool wasDown = (old & 0x80) != 0;
    uint8_t toggle = static_cast<uint8_t>(old & 1);
    if (down && !wasDown) toggle ^= 1;
    next = static_cast<uint8_t>((down ? 0x80 : 0) | toggle);
  } while (!k.compare_exchange_weak(old, next));
}

void ResetInputState() {
  InputState &s = I();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.caret = CaretRecord{};
  s.compositions.clear();
  for (auto &k : s.keys) k.store(0);
}

} // namespace platform
