// DATA reading: the shared DATA position, READ and RESTORE.
#pragma once

#include <string>

#include "flow/threads.h"

// Moves the DATA position to the first item of the next DATA statement at
// or after it (a DATA statement begins a line or follows a ":").
void NextData();

void READ(std::string &arg, ThreadIndex slot);
void RESTORE(std::string &arg, ThreadIndex slot);
