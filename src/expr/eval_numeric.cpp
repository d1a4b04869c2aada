#include <cstdlib>

#include "expr/eval.h"
#include "runtime/runtime_error.h"

// Reads a plain decimal number; every other expression is refused until the
// full evaluator lands.
double EvalNumeric(std::string_view text) {
  std::string s(text);
  char *end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (s.empty() || *end != 0) {
    RuntimeError();
    return 0;
  }
  return v;
}

double EvalCondition(std::string_view text) {
  return EvalNumeric(text);
}
