#include "data/assignment.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <unordered_map>
#include <utility>

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

namespace {

constexpr size_t kMaxPlanSubscripts = 16;

// Splits "name(s1,s2...)" (the ")" last) into PLAN's name and subscripts at
// the commas outside inner parentheses; false for any other form.
bool SplitElement(std::string_view target, AssignPlan &plan) {
  size_t open = target.find('(');
  if (open == std::string_view::npos || target.back() != ')') return false;
  int depth = 0;
  size_t start = open + 1;
  for (size_t i = start; i < target.size(); ++i) {
    char c = target[i];
    if (c == '(') {
      ++depth;
      continue;
    }
    bool last = c == ')' && depth-- == 0;
    if (!last && !(c == ',' && depth == 0)) continue;
    if (last && i + 1 != target.size()) return false;
    plan.subscripts.push_back(PrepareNumeric(target.substr(start, i - start)));
    start = i + 1;
    if (last) break;
  }
  plan.name.assign(target.substr(0, open));
  return depth == -1 && plan.subscripts.size() <= kMaxPlanSubscripts;
}

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

AssignPlan MakePlan(const std::string &text) {
  AssignPlan plan;
  if (text.find('"') != std::string::npos) return plan;
  std::string s = StripBlanks(text);
  size_t eq = s.find('=');
  if (eq == std::string::npos) return plan;
  std::string_view target = std::string_view(s).substr(0, eq);
  if (PlainTarget(target)) {
    plan.plain = true;
    plan.name = target;
  } else if (SplitElement(target, plan) && PlainTarget(plan.name)) {
    plan.element = true;
    plan.target = target;
  } else {
    plan.subscripts.clear();
    return plan;
  }
  plan.expr = PrepareNumeric(std::string_view(s).substr(eq + 1));
  return plan;
}

AssignPlan &PlanOf(const std::string &text) {
  auto it = tlsPlans.find(text);
  if (it != tlsPlans.end()) return it->second;
  thread_local AssignPlan none;
  if (tlsPlans.size() >= kMaxPlans) return none;
  return tlsPlans.emplace(text, MakePlan(text)).first->second;
}

} // namespace

std::unique_ptr<AssignPlan> PrepareAssignment(const std::string &text) {
  AssignPlan plan = MakePlan(text);
  if (!plan.plain && !plan.element) return nullptr;
  return std::make_unique<AssignPlan>(std::move(plan));
}

std::unique_ptr<AssignPlan> PrepareAssignmentWithHoles(const std::string &text) {
  std::string s = StripBlanks(text);
  if (s.find(kHoleMarker) < s.find('=')) return nullptr;
  std::unique_ptr<AssignPlan> plan = PrepareAssignment(text);
  if (!plan) return nullptr;
  plan->expr.number = false;
  plan->expr.code = CompiledFormWithHoles(plan->expr.text);
  if (!plan->expr.code) return nullptr;
  return plan;
}

namespace {

// RunAssignment with VALUE giving the expression's value.
template <typename Value> bool Run(AssignPlan &plan, Value value) {
  // A numeric scalar that exists: its cell takes the value directly.
  if (plan.plain && ResolveScalar(plan.name, plan.cell)) {
    double v = value();
    // Evaluating reads only, but an error trap's work may have changed
    // the tables; the cell is then found again.
    if (ResolveScalar(plan.name, plan.cell)) {
      WriteScalar(plan.cell, v);
    } else {
      SetNumeric(plan.name, v);
    }
    return true;
  }
  // A numeric scalar that does not exist yet: what the text path below
  // does for it (SetNumeric makes it).
  if (plan.plain) {
    int kind = KindOfThrough(plan.name, plan.kind);
    if (kind != kString && kind != kRecord) {
      double v = value();
      SetNumericThrough(plan.name, plan.cell, v);
      return true;
    }
  }
  // An element of a declared numeric array: the same order as below, the
  // value first, then the subscripts, then the cell.
  if (plan.element && ResolveArray(plan.name, plan.array)) {
    double v = value();
    std::vector<int32_t> &subs = plan.values;
    subs.clear();
    for (const NumericText &sub : plan.subscripts) {
      int32_t n = num::TruncInt32(EvalPrepared(sub));
      if (n < 0) {
        RuntimeError();
        return true;
      }
      subs.push_back(n);
    }
    if (ResolveArray(plan.name, plan.array)) {
      WriteElement(plan.array, subs, v);
    } else {
      SetNumeric(plan.target, v);
    }
    return true;
  }
  return false;
}

} // namespace

bool RunAssignment(AssignPlan &plan) {
  return Run(plan, [&plan] { return EvalPrepared(plan.expr); });
}

bool RunAssignment(AssignPlan &plan, const HoleValues &holes) {
  return Run(plan, [&] {
    double v = 0;
    RunCompiledForm(*plan.expr.code, holes, v);
    return v;
  });
}

namespace {

// NAME = EXPR for a string. "a$ = a$ + ..." appends to the value where it
// stands instead of copying it: EXPR's first piece is then NAME itself, read
// first as EvalString reads it, and the rest is evaluated before the value
// changes.
void AssignString(std::string_view name, std::string_view expr) {
  bool appends = expr.size() > name.size() && expr.substr(0, name.size()) == name &&
                 (expr[name.size()] == '+' || expr[name.size()] == '&');
  if (!appends) {
    StoreString(name, EvalString(expr));
    return;
  }
  std::string *value = GetStringCell(name);
  std::string rest = EvalString(expr.substr(name.size() + 1));
  // Reading values creates none, so VALUE still points at the cell.
  if (value) {
    value->append(rest);
  } else {
    StoreString(name, std::move(rest));
  }
}

} // namespace

void Assign(std::string &text) {
  if (RunAssignment(PlanOf(text))) return;
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
    AssignString(name, expr);
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
