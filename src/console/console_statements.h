// The console statements LOCATE (cursor to column, line) and WIDTH
// (maximum columns and rows of the layout).
#pragma once

#include <string>

#include "flow/threads.h"

void LOCATE(std::string &arg, ThreadIndex slot);
void WIDTH(std::string &arg, ThreadIndex slot);

// Puts the cursor of BUFFER's text at COLUMN of LINE (both from 0), padding
// missing lines with line feeds and missing columns with transparent blanks
// in the current colours.
class ConsoleBuffer;
void LocateCursor(ConsoleBuffer &buffer, int32_t column, int32_t line);
