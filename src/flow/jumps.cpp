#include "flow/jumps.h"

#include <cctype>
#include <cstring>

#include "expr/eval.h"
#include "flow/data_read.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/reset.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Finds "goto" or "gosub" preceded and followed by a blank or tab; returns
// its position and sets LENGTH, or npos.
size_t FindJumpKeyword(const std::string &arg, size_t &length) {
  for (size_t i = 1; i < arg.size(); ++i) {
    if (!IsBlank(arg[i - 1]) || std::tolower(static_cast<uint8_t>(arg[i])) != 'g') continue;
    for (std::string_view word : {"goto", "gosub"}) {
      size_t end = i + word.size();
      if (end < arg.size() && IsBlank(arg[end]) && EqualsNoCase(arg.substr(i, word.size()), word)) {
        length = word.size();
        return i;
      }
    }
  }
  return std::string::npos;
}

std::string JumpStatement(bool gosub, const std::string &label) {
  uint16_t code = gosub ? tok::kGOSUB : tok::kGOTO;
  std::string s;
  s.push_back(static_cast<char>(tok::High(code)));
  s.push_back(static_cast<char>(tok::Low(code)));
  s.push_back(' ');
  s += label;
  return s;
}

} // namespace

ProgramPosition ParseTarget(const std::string &operand, bool &resolved) {
  resolved = false;
  if (!operand.empty() && (static_cast<uint8_t>(operand[0]) & 0x80)) {
    RuntimeError();
    return 0;
  }
  std::string cut = operand.substr(0, operand.find(' '));
  auto target = ReadHex(cut.c_str());
  if (!target) {
    RuntimeError();
    return 0;
  }
  resolved = true;
  return *target;
}

void GotoTarget(ProgramPosition target, ThreadIndex slot) {
  ThreadSlot &t = E().threads.slots[slot];
  t.ifLineFlag = 0;
  t.counter = target;
}

void Goto(const std::string &operand, ThreadIndex slot) {
  bool resolved;
  ProgramPosition target = ParseTarget(operand, resolved);
  if (resolved) GotoTarget(target, slot);
}

namespace {

// Saves the return position; false (after the runtime error) when the
// stack is full.
bool PushReturn(ThreadSlot &t) {
  if (t.returnDepth >= kReturnStackSize) {
    RuntimeError();
    return false;
  }
  if (t.returnStack.empty()) t.returnStack.resize(kReturnStackSize);
  t.returnStack[t.returnDepth] = ReturnEntry{t.counter, t.ifLineFlag};
  ++t.returnDepth;
  // The entry of a GOSUB that overflows stays, so a RETURN continues
  // behind it.
  if (t.returnDepth < kReturnStackSize) return true;
  RuntimeError();
  return false;
}

} // namespace

void Gosub(const std::string &operand, ThreadIndex slot) {
  if (PushReturn(E().threads.slots[slot])) Goto(operand, slot);
}

void GosubTarget(ProgramPosition target, ThreadIndex slot) {
  if (PushReturn(E().threads.slots[slot])) GotoTarget(target, slot);
}

void GOTO(std::string &arg, ThreadIndex slot) {
  Goto(arg, slot);
}
void GOSUB(std::string &arg, ThreadIndex slot) {
  Gosub(arg, slot);
}

void RETURN(std::string &, ThreadIndex slot) {
  ThreadSlot &t = E().threads.slots[slot];
  if (t.returnDepth <= 0) {
    RuntimeError();
    return;
  }
  --t.returnDepth;
  t.counter = t.returnStack[t.returnDepth].counter;
  t.ifLineFlag = t.returnStack[t.returnDepth].ifLineFlag;
}

void ClearReturnStacks() {
  // The saved positions are forgotten together with their count: a RETURN
  // after CLEAR is then "RETURN without GOSUB" instead of a jump to the
  // program's first byte through a zeroed entry.
  for (ThreadSlot &t : E().threads.slots) {
    for (ReturnEntry &r : t.returnStack) r = ReturnEntry{};
    t.returnDepth = 0;
  }
}

void ON(std::string &arg, ThreadIndex slot) {
  Engine &e = E();
  size_t keywordLength = 0;
  size_t k = FindJumpKeyword(arg, keywordLength);
  if (k == std::string::npos) {
    RuntimeError();
    return;
  }
  bool gosub = keywordLength == 5;
  std::string selector = StripBlanks(std::string_view(arg).substr(0, k));
  std::string list = StripBlanks(std::string_view(arg).substr(k + keywordLength));

  if (EqualsNoCase(selector, "error")) {
    // "gosub" stores a GOTO too: no return entry is made when it fires.
    SetErrorTrap(list);
    return;
  }
  if (EqualsNoCase(selector, "key")) {
    std::string label;
    size_t at = 0;
    for (int n = 0; at < list.size() || n == 0; ++n) {
      if (n == 12) {
        RuntimeError();
        return;
      }
      at = NextArgument(list, at, label);
      e.traps.keyStatements[n].Set(label.empty() ? std::string() : JumpStatement(gosub, label));
      if (at >= list.size()) break;
    }
    return;
  }
  if (selector.size() >= 7 && EqualsNoCase(selector.substr(0, 6), "mouse(")) {
    char digit = selector[6];
    if (digit < '1' || digit > '5') {
      RuntimeError();
      return;
    }
    e.traps.mouseStatements[digit - '1'].Set(JumpStatement(gosub, list));
    return;
  }
  double n = EvalNumeric(selector);
  if (n < 1 || n >= 2147483648.0) return;
  std::string label;
  size_t at = 0;
  for (int64_t i = 1;; ++i) {
    if (at >= list.size()) return; // fewer labels than the selector asks
    at = NextArgument(list, at, label);
    if (i == static_cast<int64_t>(n)) break;
  }
  if (gosub)
    Gosub(label, slot);
  else
    Goto(label, slot);
}

namespace {

// RUN and CHAIN: continue at TARGET with the DATA position there.
void RunFrom(ProgramPosition target, ThreadIndex slot) {
  Engine &e = E();
  e.dataPosition = target;
  ThreadSlot &t = e.threads.slots[slot];
  t.ifLineFlag = 0;
  t.counter = target;
  NextData();
}

constexpr ProgramPosition kUnresolved = 0xFFFFFFFEu;

} // namespace

void RUN(std::string &arg, ThreadIndex slot) {
  auto target = ReadHex(arg.c_str());
  if (!target || *target == kUnresolved) {
    RuntimeError();
    return;
  }
  RunFrom(*target, slot);
}

void CHAIN(std::string &argIn, ThreadIndex slot) {
  std::string arg = StripBlanks(argIn);
  std::string file, label, third, fourth;
  size_t at = NextArgument(arg, 0, file);
  at = NextArgument(arg, at, label);
  bool hasThird = at < arg.size();
  at = NextArgument(arg, at, third);
  bool hasFourth = at < arg.size();
  auto target = ReadHex(file.c_str());
  if (!target || *target == kUnresolved) {
    RuntimeError();
    return;
  }
  RunFrom(*target, slot);
  if (!label.empty()) Goto(label, slot);
  if (hasThird) {
    if (hasFourth || !EqualsNoCase(third, "all")) RuntimeError();
    return;
  }
  ResetRuntime();
}
