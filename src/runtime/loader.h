// The interpreter thread's entry: reads the program from the end of the
// running executable and becomes BASIC thread 0.
#pragma once

#include <cstdint>

#include "platform/wingdi.h"

void LoadProgramImage(HWND mainWindow);

// Fills the console font's LOGFONT fields and the printer point size from
// the payload's 14 numbers (each read as "%d"; missing ones stay as they
// are).
void ReadFontNumbers(const char *text, LOGFONTA &font, int32_t &pointSize);
