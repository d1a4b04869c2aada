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

struct RoutineHeader;
class LockRun;

// One routine call: the routine, its name as called and its argument list.
struct CallSite {
  ProgramPosition header = 0; // the "(" of the routine's parameter list
  std::string name;
  std::vector<std::string> args; // the argument list, cut
  // Each argument prepared for a numeric parameter, or nothing: the
  // arguments are evaluated from their text.
  std::vector<NumericText> prepared;
  // The header read at HEADER, once this site has called it; it lives as
  // long as the thread's cache that holds the site.
  mutable const RoutineHeader *known = nullptr;
};

// RunRoutine with the argument list already cut; RESULT, empty before,
// receives the value. RUN, when given, is the calling run loop's hold on
// the lock, which the routine's loop goes on with; the call returns with it
// held.
void CallRoutine(const CallSite &site, bool wantValue, ThreadIndex slot, RoutineResult &result,
                 LockRun *run = nullptr);
