// INPUT and LINE INPUT: the channel forms ("#n,...") read from a channel,
// the others from the keyboard (console/console_input.h). LINE without
// "input" is the graphics LINE, which reports a runtime error for now.
#pragma once

#include <string>

#include "flow/threads.h"

void INPUT(std::string &arg, ThreadIndex slot);
void LINE(std::string &arg, ThreadIndex slot);
