// END: closes the program (code 1, the default) or ends the current BASIC
// thread (code 2). Runs without the interpreter lock.
#pragma once

#include <string>

#include "flow/threads.h"

int END(std::string &arg, ThreadIndex slot);
