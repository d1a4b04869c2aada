// User windows of the classes "NORMAL" (graphics) and "PROMPT" (text).
#pragma once

#include "platform/win32.h"

constexpr const char *kNormalClass = "NORMAL";
constexpr const char *kPromptClass = "PROMPT";

LRESULT NormalWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT PromptWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// WM_PAINT of a "NORMAL" window: its surface onto the window.
void PaintUserWindow(HWND hwnd);
