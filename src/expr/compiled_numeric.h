// Numeric expression texts compiled once into the steps the text algorithm
// takes on them, with each value that the text algorithm writes back as
// number text rounded exactly as reading that text back would round it.
#pragma once

#include <string_view>

// The value of TEXT through its compiled form; false when TEXT has a form
// the compiler does not take (the caller then evaluates the text).
bool EvalCompiled(std::string_view text, double &value);
