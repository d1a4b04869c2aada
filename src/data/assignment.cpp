#include "data/assignment.h"

#include <cctype>
#include <memory>
#include <unordered_map>

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

namespace {

// What an assignment text "name=expression" gives once its blanks are
// gone: a plain scalar target (letters, digits, "_", "#", "!", "%") and
// the expression, or nothing for every other form.
struct AssignPlan {
  bool plain = false;
  std::string name;
  std::string expr;
  ScalarCell cell;
};

constexpr size_t kMaxPlans = 16384;

bool PlainTarget(std::string_view name) {
  if (!ValidNameStart(name)) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<uint8_t>(c)) || c == '_' || c == '#' || c == '!' || c == '%'))
      return false;
  return true;
}

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Per system thread (so per BASIC thread), keyed by the statement text.
thread_local std::unordered_map<std::string, AssignPlan, TextHash, std::equal_to<>> tlsPlans;

AssignPlan &PlanOf(const std::string &text) {
  auto it = tlsPlans.find(text);
  if (it != tlsPlans.end()) return it->second;
  if (tlsPlans.size() >= kMaxPlans) tlsPlans.clear();
  AssignPlan plan;
  if (text.find('"') == std::string::npos) {
    std::string s = StripBlanks(text);
    size_t eq = s.find('=');
    if (eq != std::string::npos && PlainTarget(std::string_view(s).substr(0, eq))) {
      plan.plain = true;
      plan.name = s.substr(0, eq);
      plan.expr = s.substr(eq + 1);
    }
  }
  return tlsPlans.emplace(text, std::move(plan)).first->second;
}

} // namespace

void Assign(std::string &text) {
  // A numeric scalar that exists: its cell takes the value directly.
  AssignPlan &plan = PlanOf(text);
  if (plan.plain && ResolveScalar(plan.name, plan.cell)) {
    double v = EvalNumeric(plan.expr);
    // Evaluating reads only, but an error trap's work may have changed
    // the tables; the cell is then found again.
    if (ResolveScalar(plan.name, plan.cell)) {
      WriteScalar(plan.cell, v);
    } else {
      SetNumeric(plan.name, v);
    }
    return;
  }
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
