#include "windows/user_window.h"

#include "console/keyboard_state.h"
#include "console/main_window.h"
#include "console/main_window_input.h"
#include "graphics/surface.h"
#include "platform/winuser_input.h"
#include "runtime/engine.h"
#include "windows/message_queue.h"

namespace {

// Both procedures queue every message for GETMESSAGE first; a window
// procedure called in a thread that is no BASIC thread has no queue, and
// its messages are not queued.
void Queue(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (MessageQueue *q = CallingThreadQueue())
    AppendMessage(*q, QueuedMessage{static_cast<int32_t>(hwnd), static_cast<int32_t>(msg),
                                    static_cast<int32_t>(wParam), lParam});
}

uint8_t ArrowKey(WPARAM key) {
  switch (key) {
  case VK_LEFT:
    return kKeyLeft;
  case VK_UP:
    return kKeyUp;
  case VK_RIGHT:
    return kKeyRight;
  case VK_DOWN:
    return kKeyDown;
  default:
    return 0;
  }
}

} // namespace

LRESULT NormalWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Queue(hwnd, msg, wParam, lParam);
  switch (msg) {
  case WM_CLOSE:
    // The window stays open: the program sees message 16 and decides.
    return 0;
  case WM_PAINT:
    PaintUserWindow(hwnd);
    break;
  case WM_CHAR:
    E().keyboard.lastKey.store(static_cast<uint8_t>(wParam));
    break;
  default:
    break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT PromptWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Queue(hwnd, msg, wParam, lParam);
  if (msg == WM_CLOSE) return 0;
  if (E().windows.FindEntry(hwnd) < 0) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (ConsoleWindowMessage(hwnd, msg, wParam)) return 0;
  if (msg != WM_KEYDOWN) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (uint8_t key = ArrowKey(wParam)) E().keyboard.lastKey.store(key);
  KeyMessageHandled();
  return 0;
}

void PaintUserWindow(HWND hwnd) {
  // The window shows its surface (made on first drawing; until then its
  // first colour).
  PaintSurface(hwnd);
}
