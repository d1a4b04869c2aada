// CREATETHREAD: starts a further BASIC thread at a label.
#pragma once

#include <string>

#include "flow/threads.h"

void CREATETHREAD(std::string &arg, ThreadIndex slot);
