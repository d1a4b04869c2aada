// The evaluators of argument texts: numbers, strings and conditions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/variable_cells.h"

// The value of a numeric expression text; errors go through RuntimeError
// and give 0.
double EvalNumeric(std::string_view text);

struct CompiledNumeric;
struct VariableTable;

// A numeric expression text prepared once for statements that evaluate it
// again and again: a number text's value, or the text's compiled form. A
// plain name's form is a read of its cell, which CELL keeps here.
struct NumericText {
  std::string text;
  bool number = false; // a number text, whose value is VALUE
  bool name = false;   // a plain name with its compiled form
  double value = 0;
  const CompiledNumeric *code = nullptr;
  mutable ScalarCell cell;
};
NumericText PrepareNumeric(std::string_view text);

// What EvalNumeric(N.text) gives, through what PrepareNumeric found.
double EvalPrepared(const NumericText &n);

// The value of a string expression: literals and string variables joined
// by "+" or "&", in string text form.
std::string EvalString(std::string_view text);

// The truth value of a condition text (nonzero is true): comparisons give
// -1 or 0, strings compare by the Japanese collation.
double EvalCondition(std::string_view text);

// A condition text prepared once: a single numeric comparison is
// evaluated through its prepared sides, anything else as text.
struct ConditionText {
  std::string text;
  bool comparison = false;
  int relation = 0;
  NumericText left, right;
  bool numericLeft = false; // a left side that is a number whatever its name
  // KindOf the left side, while the variable tables and the local scope
  // stay as they were when it was taken.
  mutable KindCache leftKind;
};
ConditionText PrepareCondition(std::string_view text);

// What EvalCondition(C.text) gives.
double EvalPreparedCondition(const ConditionText &c);

// One comparison term (no logical tokens): -1 or 0.
int32_t EvalComparison(std::string_view term);
