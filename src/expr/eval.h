// The evaluators of argument texts: numbers, strings and conditions.
#pragma once

#include <string>
#include <string_view>

// The value of a numeric expression text; errors go through RuntimeError
// and give 0.
double EvalNumeric(std::string_view text);

// The truth value of a condition text (nonzero is true).
double EvalCondition(std::string_view text);
