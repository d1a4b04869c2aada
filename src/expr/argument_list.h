// Argument lists of function and routine calls, cut into their arguments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Cuts TEXT at its commas at parenthesis depth 0 outside quotes. An empty
// text has no arguments; "a," has two, the second empty.
std::vector<std::string> CutList(std::string_view text);

// CutList into OUT; reports a runtime error and returns false unless there
// are MIN to MAX arguments.
bool CutArguments(std::string_view args, size_t min, size_t max, std::vector<std::string> &out);
