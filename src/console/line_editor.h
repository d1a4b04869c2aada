// The line editor of the input statements: the main window's WM_CHAR. While
// an input statement waits it appends typed characters to the input line
// and echoes them, takes the last character back on Backspace (never into
// the prompt) and ends the line on Enter; otherwise a character only
// becomes the last key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win32.h"

// The size (1 or 2) of the character in front of CURSOR in console TEXT:
// the bytes from two before the cursor backwards that are lead bytes or
// 0x01 are counted, and an odd count makes it two bytes. 0 at the start.
int32_t BackspaceSize(std::string_view text, int32_t cursor);

// The size of the last character of LINE (string text form): an escape
// pair or a double-byte character is 2, anything else 1; 0 when empty.
size_t LastCharacterSize(std::string_view line);

// Appends typed byte C to OUT in string text form (0x01 and the double
// quote become escape pairs).
void TypedCharToText(uint8_t c, std::string &out);

// WM_CHAR of the main window.
void LineEditorChar(HWND window, uint8_t code);
