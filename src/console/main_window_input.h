// The main window's keyboard, mouse, focus and multimedia messages, called
// by its window procedure on the user-interface thread. None of them blocks
// or takes the interpreter lock.
#pragma once

#include <string>

#include "platform/win32.h"

// WM_KEYDOWN: arrow keys become the last key; F1 to F12 fire key traps.
void MainWindowKeyDown(HWND window, WPARAM virtualKey);
// WM_MOUSEMOVE and the button messages: the last mouse event and its
// position, then the mouse trap.
void MainWindowMouse(HWND window, UINT message, LPARAM lParam);
// WM_SETFOCUS: while the console's caret is enabled, places the input
// method's composition window and shows the caret at the cursor.
void MainWindowSetFocus(HWND window);
// WM_KILLFOCUS: hides and destroys the caret.
void MainWindowKillFocus(HWND window);
// MM_MCINOTIFY: queues the stored notification assignment for thread 0.
void MainWindowMciNotify();
// Counts a handled key message (WM_KEYDOWN, WM_CHAR) for scripted input.
void KeyMessageHandled();

// The assignment MM_MCINOTIFY runs ("variable=1"), set by the MCI
// statement; empty for none.
void SetMciNotifyAssignment(const std::string &assignment);
