// INPUT and LINE INPUT from the keyboard: the prompt, the wait for a typed
// line (the line editor of the main window fills it), and the storing of
// its fields. The statement handlers take the channel forms elsewhere and
// call these for the console forms.
#pragma once

#include <string>

#include "flow/threads.h"

// INPUT without a channel: TEXT is the argument with the blanks outside
// quotes removed: [prompt (";" | ",")] variable, variable, ...
void ConsoleInput(const std::string &text, ThreadIndex slot);

// LINE INPUT without a channel: TEXT is what follows the word "input",
// blanks outside quotes removed: [prompt literal (";" | ",")] variable.
void ConsoleLineInput(const std::string &text, ThreadIndex slot);

// The wait of both: enables the current window's caret, lets the user type
// a line with the interpreter lock released, and returns it (string text
// form). Program end interrupts it (the thread then ends).
std::string WaitForTypedLine(ThreadIndex slot);
