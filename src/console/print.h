// PRINT and WRITE: a list of expressions turned into one line of text for
// the console (or, later, a channel).
#pragma once

#include <string>

#include "flow/threads.h"

void PRINT(std::string &arg, ThreadIndex slot);
void WRITE(std::string &arg, ThreadIndex slot);

// The PRINT operation: with WANT_TEXT the line is not written but returned
// as raw bytes (escapes decoded, NUL kept) with its line feed; otherwise it
// goes to the console and the result is empty.
std::string PrintText(const std::string &arg, bool wantText);
