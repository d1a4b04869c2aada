// Headless input for the main window: starts and ends the platform's feeder
// of scripted events and stdin keys, and tells it what the program waits for.
#pragma once

#include "platform/win32.h"

// Starts feeding MAIN_WINDOW (headless mode only).
void StartScriptedInput(HWND mainWindow);
// Ends the feeder (after the message loop).
void StopScriptedInput();
