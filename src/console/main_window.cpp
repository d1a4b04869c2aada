#include "console/main_window.h"

#include "console/console.h"
#include "runtime/engine.h"
#include "runtime/program_end.h"

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_CREATE:
    // Entry 0 of the window table: a dark surface and an empty console,
    // which becomes the current window; the empty write places the caret.
    if (E().windows.MakeSurface(hwnd, true)) {
      E().windows.SetCurrent(hwnd);
      ConsoleWrite("");
    }
    return 0;
  case WM_SIZE:
    ConsoleRefresh(hwnd, false);
    return 0;
  case WM_PAINT:
    ConsoleRefresh(hwnd, true);
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
