#include "windows/user_window.h"

// The user window procedures queue their messages for GETMESSAGE once user
// windows arrive; until then they behave as plain windows.
LRESULT NormalWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT PromptWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
