#include "console/main_window_input.h"

#include "console/keyboard_state.h"
#include "flow/event_traps.h"
#include "flow/threads.h"
#include "platform/input_feeder.h"
#include "platform/winuser_input.h"
#include "runtime/engine.h"

namespace {

// The caret of an input: 9 pixels wide, 6 high, its top 7 pixels above the
// bottom of the cursor's line.
constexpr int kCaretWidth = 9;
constexpr int kCaretHeight = 6;
constexpr int kCaretRise = 7;

} // namespace

void MainWindowKeyDown(HWND, WPARAM virtualKey) {
  KeyboardState &k = E().keyboard;
  switch (virtualKey) {
  case VK_LEFT:
    k.lastKey.store(kKeyLeft);
    break;
  case VK_UP:
    k.lastKey.store(kKeyUp);
    break;
  case VK_RIGHT:
    k.lastKey.store(kKeyRight);
    break;
  case VK_DOWN:
    k.lastKey.store(kKeyDown);
    break;
  default:
    if (virtualKey >= static_cast<WPARAM>(VK_F1) && virtualKey <= static_cast<WPARAM>(VK_F12))
      FireKeyTrap(static_cast<int>(virtualKey) - VK_F1); // only while running
    break;
  }
}

void MainWindowMouse(HWND, UINT message, LPARAM lParam) {
  int event;
  switch (message) {
  case WM_MOUSEMOVE:
    event = 1;
    break;
  case WM_LBUTTONDOWN:
    event = 2;
    break;
  case WM_RBUTTONDOWN:
    event = 3;
    break;
  case WM_LBUTTONUP:
    event = 4;
    break;
  case WM_RBUTTONUP:
    event = 5;
    break;
  default:
    return;
  }
  KeyboardState &k = E().keyboard;
  uint32_t bits = static_cast<uint32_t>(lParam);
  k.mouseX.store(static_cast<int32_t>(bits & 0xFFFF));
  k.mouseY.store(static_cast<int32_t>(bits >> 16));
  k.mouseEvent.store(static_cast<uint8_t>(event));
  FireMouseTrap(event);
}

void MainWindowSetFocus(HWND window) {
  Engine &e = E();
  std::shared_ptr<ConsoleBuffer> buffer = e.windows.Console(window);
  if (!buffer || !buffer->caretEnabled.load()) return;
  COMPOSITIONFORM form;
  int32_t caretX, caretY;
  {
    std::lock_guard<std::mutex> lock(buffer->mutex);
    form.dwStyle = buffer->compositionForm.style;
    form.ptCurrentPos = buffer->compositionForm.point;
    caretX = buffer->caretX;
    caretY = buffer->caretY;
  }
  if (HIMC context = ImmGetContext(window)) {
    ImmSetCompositionWindow(context, &form);
    ImmSetCompositionFontA(context, &e.consoleFont);
    ImmReleaseContext(window, context);
  }
  CreateCaret(window, 0, kCaretWidth, kCaretHeight);
  SetCaretPos(caretX, caretY - kCaretRise);
  ShowCaret(window);
}

void MainWindowKillFocus(HWND window) {
  HideCaret(window);
  DestroyCaret();
}

void MainWindowMciNotify() {
  Engine &e = E();
  // Thread 0 runs it after its current statement, under the interpreter
  // lock: the variable store is never written from this thread.
  std::string assignment = e.keyboard.mciNotify.Text();
  if (!assignment.empty() && e.running.load()) e.pendingStatement.Set(assignment);
}

void KeyMessageHandled() {
  E().keyboard.keyMessages.fetch_add(1);
  // A key function waiting for the key takes it at once.
  WakeWaiters();
  platform::NotifyInputFeeder();
}

void SetMciNotifyAssignment(const std::string &assignment) {
  E().keyboard.mciNotify.Set(assignment);
}
