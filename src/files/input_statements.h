// INPUT and LINE INPUT. Only the channel forms ("#n,...") are handled here
// so far; the console forms report a runtime error until console input
// takes these statements over. LINE without "input" is the graphics LINE.
#pragma once

#include <string>

#include "flow/threads.h"

void INPUT(std::string &arg, ThreadIndex slot);
void LINE(std::string &arg, ThreadIndex slot);
