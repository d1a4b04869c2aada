// Assignments: "name = expression" statements, LET and SWAP.
#pragma once

#include <string>

#include "flow/threads.h"

void Assign(std::string &text);
void LET(std::string &arg, ThreadIndex slot);
void SWAP(std::string &arg, ThreadIndex slot);
