// The main console window: class "DodIzur" and its window procedure.
#pragma once

#include "platform/win32.h"

constexpr const char *kMainWindowClass = "DodIzur";

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The messages every console window (the main one and "PROMPT" windows)
// handles alike: size, paint, focus and typed characters. True when MSG was
// one of them.
bool ConsoleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam);
