#include "data/assignment.h"

#include "data/variables.h"
#include "expr/eval.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

void Assign(std::string &text) {
  std::string s = StripBlanks(text);
  size_t eq = s.find('=');
  if (eq == std::string::npos) {
    RuntimeError();
    return;
  }
  std::string_view name = std::string_view(s).substr(0, eq);
  std::string_view expr = std::string_view(s).substr(eq + 1);
  switch (KindOf(name)) {
  case kRecord: {
    VariableTable *target = GetRecord(name);
    VariableTable *source = GetRecord(expr);
    if (!target || !source) {
      RuntimeError();
      return;
    }
    if (target != source) CopyRecord(*target, *source);
    return;
  }
  case kString:
    SetString(name, EvalString(expr));
    return;
  default:
    SetNumeric(name, EvalNumeric(expr));
  }
}

void LET(std::string &arg, ThreadIndex) {
  Assign(arg);
}

void SWAP(std::string &arg, ThreadIndex) {
  std::string a, b;
  size_t at = NextArgument(arg, 0, a);
  NextArgument(arg, at, b);
  a = StripBlanks(a);
  b = StripBlanks(b);
  if (KindOf(a) == kString) {
    std::string va = EvalString(a), vb = EvalString(b);
    SetString(a, vb);
    SetString(b, va);
  } else {
    double va = EvalNumeric(a), vb = EvalNumeric(b);
    SetNumeric(a, vb);
    SetNumeric(b, va);
  }
}
