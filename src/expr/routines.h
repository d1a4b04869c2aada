// Calls of the SUB and FUNCTION routines written as blocks in the program.
#pragma once

#include <string>
#include <string_view>

#include <vector>

#include "expr/eval.h"
#include "flow/threads.h"
#include "runtime/program.h"

// Runs the routine whose header's parameter list opens at HEADER, with ARGS
// (already pre-evaluated) bound to its parameters in a fresh local scope,
// on thread SLOT. With WANT_VALUE the result is the routine's value as
// number text or a quoted literal; otherwise it is empty. A call that cannot
// run reports a runtime error and gives 0, an empty literal or an empty text.
std::string RunRoutine(ProgramPosition header, std::string_view name, std::string_view args,
                       bool wantValue, ThreadIndex slot);

// A call's value: a number, or otherwise TEXT (a quoted literal, or empty
// when no value was wanted).
struct RoutineResult {
  bool numeric = false;
  double number = 0;
  std::string text;
};

// RunRoutine with the argument list already cut into ARGS. PREPARED, when
// given, holds each argument prepared for a numeric parameter.
RoutineResult CallRoutine(ProgramPosition header, std::string_view name,
                          const std::vector<std::string> &args,
                          const std::vector<NumericText> *prepared, bool wantValue,
                          ThreadIndex slot);
