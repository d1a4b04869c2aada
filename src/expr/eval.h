// The evaluators of argument texts: numbers, strings and conditions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The value of a numeric expression text; errors go through RuntimeError
// and give 0.
double EvalNumeric(std::string_view text);

// The value of a string expression: literals and string variables joined
// by "+" or "&", in string text form.
std::string EvalString(std::string_view text);

// The truth value of a condition text (nonzero is true): comparisons give
// -1 or 0, strings compare by the Japanese collation.
double EvalCondition(std::string_view text);

// One comparison term (no logical tokens): -1 or 0.
int32_t EvalComparison(std::string_view term);
