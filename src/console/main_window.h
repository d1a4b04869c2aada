// The main console window: class "DodIzur" and its window procedure.
#pragma once

#include "platform/win32.h"

constexpr const char *kMainWindowClass = "DodIzur";

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
