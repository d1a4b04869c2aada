// Statements on the current window's surface and the colours: CLS and
// COLOR (SCROLL and SETWINDOW are with the drawing statements).
#pragma once

#include <string>

#include "flow/threads.h"

void CLS(std::string &arg, ThreadIndex slot);
void COLOR(std::string &arg, ThreadIndex slot);
