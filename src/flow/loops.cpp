#include "flow/loops.h"

#include <cctype>

#include "data/assignment.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

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

void JumpTo(ThreadIndex slot, const char *operand) {
  if (auto target = ReadHex(operand)) E().threads.slots[slot].counter = *target;
}

} // namespace

void FOR(std::string &arg, ThreadIndex slot) {
  ThreadSlot &t = E().threads.slots[slot];
  size_t blank = arg.find(' ');
  if (blank == std::string::npos) {
    RuntimeError();
    return;
  }
  auto exit = ReadHex(arg.substr(0, blank).c_str());
  size_t to = FindWord(arg, "to", blank);
  if (!exit || to == std::string::npos) {
    RuntimeError();
    return;
  }
  std::string init = WithoutBlanks(std::string_view(arg).substr(blank + 1, to - blank - 1));
  size_t step = FindWord(arg, "step", to + 2);
  std::string endText = WithoutBlanks(std::string_view(arg).substr(
      to + 2, step == std::string::npos ? std::string::npos : step - to - 2));
  double end = EvalNumeric(endText);
  double stepValue = step == std::string::npos
                         ? 1
                         : EvalNumeric(StripBlanks(std::string_view(arg).substr(step + 4)));
  size_t eq = init.find('=');
  if (eq == std::string::npos) {
    RuntimeError();
    return;
  }
  std::string name = init.substr(0, eq);
  bool firstEntry = t.nextFlag == 0;
  if (firstEntry) {
    Assign(init);
  } else {
    SetNumeric(name, GetNumeric(name) + stepValue);
  }
  // The finished test compares with the end value as 15-digit text.
  std::string endNumber = num::FormatG15(end);
  double finished = EvalCondition(name + (stepValue < 0 ? "<" : ">") + endNumber);
  if (firstEntry && finished) finished = EvalCondition(name + "<>" + endNumber);
  t.nextFlag = 0;
  if (finished) t.counter = *exit;
}

void NEXT(std::string &arg, ThreadIndex slot) {
  JumpTo(slot, arg.c_str());
  E().threads.slots[slot].nextFlag = 1;
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
