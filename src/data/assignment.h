// Assignments: "name = expression" statements and LET.
#pragma once

#include <string>

void Assign(std::string &text);
