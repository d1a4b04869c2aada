#include "flow/loops.h"

#include <cctype>

#include "data/assignment.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Finds WORD (any case) with a blank or tab on both sides, from FROM on.
size_t FindWord(const std::string &s, std::string_view word, size_t from) {
  for (size_t i = from + 1; i + word.size() < s.size(); ++i) {
    if (!IsBlank(s[i - 1]) || !IsBlank(s[i + word.size()])) continue;
    bool match = true;
    for (size_t k = 0; k < word.size() && match; ++k)
      match = std::tolower(static_cast<uint8_t>(s[i + k])) == word[k];
    if (match) return i;
  }
  return std::string::npos;
}

std::string WithoutBlanks(std::string_view s) {
  std::string out;
  for (char c : s)
    if (!IsBlank(c)) out.push_back(c);
  return out;
}

} // namespace

ForParts ParseFor(const std::string &arg) {
  ForParts p;
  p.arg = arg;
  size_t blank = arg.find(' ');
  if (blank == std::string::npos) return p;
  auto exit = ReadHex(arg.substr(0, blank).c_str());
  size_t to = FindWord(arg, "to", blank);
  if (!exit || to == std::string::npos) return p;
  p.valid = true;
  p.exit = *exit;
  p.init = WithoutBlanks(std::string_view(arg).substr(blank + 1, to - blank - 1));
  size_t step = FindWord(arg, "step", to + 2);
  p.endText = PrepareNumeric(WithoutBlanks(std::string_view(arg).substr(
      to + 2, step == std::string::npos ? std::string::npos : step - to - 2)));
  p.hasStep = step != std::string::npos;
  if (p.hasStep) p.stepText = PrepareNumeric(StripBlanks(std::string_view(arg).substr(step + 4)));
  size_t eq = p.init.find('=');
  p.hasName = eq != std::string::npos;
  if (p.hasName) p.name = p.init.substr(0, eq);
  p.constant = p.hasName && p.endText.number && (!p.hasStep || p.stepText.number);
  p.readsOnly = p.hasName && (p.endText.number || p.endText.name) &&
                (!p.hasStep || p.stepText.number || p.stepText.name);
  if (p.constant) {
    p.endValue = num::RoundG15(p.endText.value);
    if (p.hasStep) p.stepValue = p.stepText.value;
  }
  return p;
}

bool SameParts(const ForParts &a, const ForParts &b) {
  return a.arg == b.arg && a.valid == b.valid && a.exit == b.exit && a.init == b.init &&
         a.name == b.name && a.hasName == b.hasName && a.endText.text == b.endText.text &&
         a.hasStep == b.hasStep && a.stepText.text == b.stepText.text && a.constant == b.constant &&
         a.readsOnly == b.readsOnly && a.endValue == b.endValue && a.stepValue == b.stepValue;
}

namespace {

// The parts of ARG through the thread's cache, keyed by the statement's
// position and checked against the text. An entry is never replaced, so
// that it stays valid while evaluating runs the same FOR in a routine; a
// different text at the position is parsed into LOCAL.
ForParts &ForPartsOf(const std::string &arg, ThreadSlot &t, ForParts &local) {
  if (!t.cache) t.cache = std::make_unique<StatementCache>();
  auto [it, fresh] = t.cache->fors.try_emplace(t.statementStart);
  ForParts &parts = it->second;
  if (fresh) {
    parts = ParseFor(arg);
  } else if (parts.arg != arg) {
    local = ParseFor(arg);
    return local;
  } else if (CheckingCaches()) {
    ForParts again = ParseFor(arg);
    if (!SameParts(parts, again)) CacheMismatch("FOR parts", t.statementStart, parts.arg, arg);
  }
  return parts;
}

// Whether a plain numeric variable name: the condition "NAME<op>NUMBER"
// then compares the two values without anything else in the text.
bool IsPlainNumericName(const std::string &name) {
  if (name.empty() || !(std::isalpha(static_cast<uint8_t>(name[0])) || name[0] == '_'))
    return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<uint8_t>(c)) || c == '_')) return false;
  return KindOf(name) != kString;
}

// EvalCondition(NAME + OP + NUMBER) != 0, where NUMBER is the "%.15g" text
// of END and OP is "<", ">" or "<>"; for a plain numeric name without
// building and scanning the text.
bool Compare(const std::string &name, std::string_view op, double end, ScalarCell &cell,
             const ThreadSlot &t, bool resolved) {
  resolved = resolved || ResolveScalar(name, cell);
  if (!resolved && !IsPlainNumericName(name))
    return EvalCondition(name + std::string(op) + num::FormatG15(end)) != 0;
  // The end value as its number text reads back.
  double a = resolved ? ReadResolved(name, cell) : EvalNumeric(name), b = num::RoundG15(end);
  bool holds = op.size() == 2 ? !(a == b) // "<>": also for numbers that do not compare
               : op[0] == '<' ? a < b
                              : a > b;
  if (CheckingCaches()) {
    bool text = EvalCondition(name + std::string(op) + num::FormatG15(end)) != 0;
    if (text != holds)
      CacheMismatch("FOR end test", t.statementStart, holds ? "true" : "false",
                    text ? "true" : "false");
  }
  return holds;
}

// A later pass through the loop variable's resolved cell: the step, then
// the test against END, the end value as its number text reads back.
void NextPass(ForParts &parts, ThreadSlot &t, double end, double step) {
  void *cell = CellAddress(parts.cell, LocalTable());
  int group = parts.cell.group;
  WriteCellAt(cell, group, ReadCellAt(cell, group) + step);
  double v = ReadCellAt(cell, group);
  t.nextFlag = 0;
  if (step < 0 ? v < end : v > end) t.counter = parts.exit;
}

void JumpTo(ThreadIndex slot, const char *operand) {
  if (auto target = ReadHex(operand)) E().threads.slots[slot].counter = *target;
}

} // namespace

void FOR(std::string &arg, ThreadIndex slot) {
  ForParts local;
  RunFor(ForPartsOf(arg, E().threads.slots[slot], local), slot);
}

void RunFor(ForParts &parts, ThreadIndex slot) {
  ThreadSlot &t = E().threads.slots[slot];
  // A later pass with a number end and step: nothing is evaluated, so the
  // variable's cell stays current from the step's write to the end test.
  if (parts.constant && t.nextFlag && !CheckingCaches() && ResolveScalar(parts.name, parts.cell)) {
    NextPass(parts, t, parts.endValue, parts.stepValue);
    return;
  }
  if (!parts.valid) {
    RuntimeError();
    return;
  }
  double end = EvalPrepared(parts.endText);
  double stepValue = parts.hasStep ? EvalPrepared(parts.stepText) : 1;
  if (!parts.hasName) {
    RuntimeError();
    return;
  }
  bool firstEntry = t.nextFlag == 0;
  // Ends and steps that only read leave the cell current too.
  if (!firstEntry && parts.readsOnly && !CheckingCaches() &&
      ResolveScalar(parts.name, parts.cell)) {
    NextPass(parts, t, num::RoundG15(end), stepValue);
    return;
  }
  const std::string &name = parts.name;
  // A copy: evaluating may have run this FOR in a routine, with its scope.
  ScalarCell cell = parts.cell;
  // Nothing runs between the step's write and the end test, so a cell
  // resolved for the write still holds for the test.
  bool resolved = false;
  if (firstEntry) {
    std::string init = parts.init;
    Assign(init);
  } else if (ResolveScalar(name, cell)) {
    WriteScalar(cell, ReadResolved(name, cell) + stepValue);
    resolved = true;
  } else {
    SetNumeric(name, GetNumeric(name) + stepValue);
  }
  // The finished test compares with the end value as 15-digit text.
  bool finished = Compare(name, stepValue < 0 ? "<" : ">", end, cell, t, resolved);
  if (firstEntry && finished) finished = Compare(name, "<>", end, cell, t, false);
  parts.cell = cell;
  t.nextFlag = 0;
  if (finished) t.counter = parts.exit;
}

void NextTo(std::optional<ProgramPosition> target, ThreadIndex slot) {
  ThreadSlot &t = E().threads.slots[slot];
  if (target) t.counter = *target;
  t.nextFlag = 1;
}

void NEXT(std::string &arg, ThreadIndex slot) {
  NextTo(ReadHex(arg.c_str()), slot);
}

void WHILE(std::string &arg, ThreadIndex slot) {
  std::string condition = arg.size() > 8 ? arg.substr(8) : std::string();
  if (EvalCondition(condition) == 0) JumpTo(slot, arg.substr(0, 8).c_str());
}

void WEND(std::string &arg, ThreadIndex slot) {
  JumpTo(slot, arg.c_str());
}

void LOOP(std::string &arg, ThreadIndex slot) {
  std::string start = arg.substr(0, 8);
  if (arg.size() <= 8) {
    JumpTo(slot, start.c_str());
    return;
  }
  std::string_view rest = std::string_view(arg).substr(8);
  bool isWhile = StartsWithNoCase(rest, "while");
  if (!isWhile && !StartsWithNoCase(rest, "until")) {
    RuntimeError();
    return;
  }
  bool holds = EvalCondition(rest.substr(5)) != 0;
  if (holds == isWhile) JumpTo(slot, start.c_str());
}
