// The KEY and MOUSE switches and the firing of function-key and mouse
// traps, whose statements run on thread 0 after its current statement.
#pragma once

#include <string>

#include "flow/threads.h"

void KEY(std::string &arg, ThreadIndex slot);
void MOUSE(std::string &arg, ThreadIndex slot);

// Called by the main window's procedure on the user-interface thread: a
// function key F1..F12 (KEY 0..11) was pressed, a mouse event 1..5 happened.
void FireKeyTrap(int key);
void FireMouseTrap(int event);
