// The statements that belong to the function families: RANDOMIZE seeds the
// generator of Rnd, MID$ replaces part of a string variable, DEFFN defines a
// one-line function.
#pragma once

#include <string>

#include "flow/threads.h"

void RANDOMIZE(std::string &arg, ThreadIndex slot);
void MIDS(std::string &arg, ThreadIndex slot);
void DEFFN(std::string &arg, ThreadIndex slot);
