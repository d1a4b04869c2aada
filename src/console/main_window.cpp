#include "console/main_window.h"

#include "console/console.h"
#include "console/line_editor.h"
#include "console/main_window_input.h"
#include "platform/winuser_input.h"
#include "runtime/engine.h"
#include "runtime/program_end.h"

bool ConsoleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam) {
  switch (msg) {
  case WM_SIZE:
    ConsoleRefresh(hwnd, false);
    return true;
  case WM_PAINT:
    ConsoleRefresh(hwnd, true);
    return true;
  case WM_SETFOCUS:
    MainWindowSetFocus(hwnd);
    return true;
  case WM_KILLFOCUS:
    MainWindowKillFocus(hwnd);
    return true;
  case WM_CHAR:
    LineEditorChar(hwnd, static_cast<uint8_t>(wParam));
    KeyMessageHandled();
    return true;
  default:
    return false;
  }
}

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (ConsoleWindowMessage(hwnd, msg, wParam)) return 0;
  switch (msg) {
  case WM_CREATE:
    // Entry 0 of the window table: a dark surface and an empty console,
    // which becomes the current window; the empty write places the caret.
    if (E().windows.MakeSurface(hwnd, true)) {
      E().windows.SetCurrent(hwnd);
      ConsoleWrite("");
    }
    return 0;
  case WM_KEYDOWN:
    MainWindowKeyDown(hwnd, wParam);
    KeyMessageHandled();
    return 0;
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
    MainWindowMouse(hwnd, msg, lParam);
    return 0;
  case MM_MCINOTIFY:
    MainWindowMciNotify();
    return 0;
  case WM_CLOSE:
    ProgramEnd();
    DestroyWindow(hwnd);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}
