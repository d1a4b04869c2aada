#include "runtime/dispatch.h"

#include <cstring>
#include <optional>

#include "data/assignment.h"
#include "expr/call_depth.h"
#include "expr/pre_evaluate.h"
#include "flow/conditionals.h"
#include "flow/end_statement.h"
#include "flow/jumps.h"
#include "flow/loops.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/run_loop.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"
#include "runtime/statement_table.h"
#include "runtime/tokens.h"

namespace {

// The position of the first 0x01 0x02 (THEN) in TEXT, or npos.
size_t FindThen(const std::string &text) {
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == tok::kControl && text[i + 1] == tok::kThen) return i;
  return std::string::npos;
}

// Acts on a statement that begins with a control token. Returns -1 when the
// token is no structural marker and the statement goes on as an ordinary
// one.
int DispatchControl(std::string &statement, ThreadIndex slot) {
  Engine &e = E();
  ThreadSlot &t = e.threads.slots[slot];
  uint8_t code = statement.size() > 1 ? static_cast<uint8_t>(statement[1]) : 0;
  switch (code) {
  case tok::kElse:
    if (statement.size() >= 4 && statement[2] == tok::kControl && statement[3] == tok::kBlock) {
      auto target = ReadHex(statement.c_str() + 4);
      if (target && *target == 0xFFFFFFFFu) {
        LockHold hold(e.lock);
        RuntimeError();
        return 0;
      }
      if (target) t.counter = *target;
    }
    return 1;
  case tok::kElseIfSkip: {
    LockHold hold(e.lock);
    EvalIf(std::string(), slot, statement.size(), IfMode::Skip);
    return 1;
  }
  case tok::kElseIf: {
    size_t length = statement.size();
    size_t then = FindThen(statement);
    std::string condition =
        statement.substr(2, then == std::string::npos ? std::string::npos : then - 2);
    PreEvaluate(condition, slot);
    LockHold hold(e.lock);
    EvalIf(condition, slot, length, IfMode::Evaluate);
    return 1;
  }
  case tok::kEndIf:
    return 1;
  case tok::kSubRoutine:
  case tok::kFuncRoutine:
  case tok::kType: {
    uint8_t end = code == tok::kSubRoutine    ? tok::kSubEnd
                  : code == tok::kFuncRoutine ? tok::kFuncEnd
                                              : tok::kEndType;
    ProgramPosition found = FindMarker(t.counter, end);
    if (!found) {
      LockHold hold(e.lock);
      RuntimeError();
      return 0;
    }
    t.counter = found;
    return 1;
  }
  case tok::kSubEnd:
  case tok::kSubExit:
  case tok::kFuncEnd:
  case tok::kFuncExit:
    return 0;
  case tok::kJump1:
  case tok::kJump2:
  case tok::kJump3:
    // A jump without digits goes nowhere rather than to an arbitrary place.
    if (auto target = ReadHex(statement.c_str() + 2)) t.counter = *target;
    return 1;
  default:
    return -1;
  }
}

} // namespace

ProgramPosition FindMarker(ProgramPosition start, uint8_t code) {
  const Program &prog = E().program;
  for (ProgramPosition p = start;; ++p) {
    uint8_t c = prog.At(p);
    if (c == 0) return 0;
    if (c == tok::kControl && prog.At(p + 1) == code) return p + 2;
  }
}

int Dispatch(std::string &statement, ThreadIndex slot) {
  Engine &e = E();
  if (statement.empty() || statement[0] == '*') return 1;
  if (statement[0] == tok::kControl) {
    int result = DispatchControl(statement, slot);
    if (result >= 0) return result;
  }
  size_t length = statement.size();
  bool isIf = length >= 2 && static_cast<uint8_t>(statement[0]) == tok::High(tok::kIF) &&
              static_cast<uint8_t>(statement[1]) == tok::Low(tok::kIF);
  // The statement is the caller's buffer, rewritten in place.
  std::string &text = statement;
  if (isIf) {
    size_t then = FindThen(text);
    if (then == std::string::npos) {
      LockHold hold(e.lock);
      RuntimeError();
      return 0;
    }
    text.resize(then);
  }
  PreEvaluate(text, slot);
  if (text.empty() || !e.running.load()) return 1;
  uint8_t first = static_cast<uint8_t>(text[0]);
  if (first != 0x10 && first != 0x11) {
    LockHold hold(e.lock);
    if (e.running.load()) Assign(text);
    return 1;
  }
  uint16_t code =
      static_cast<uint16_t>(first << 8 | static_cast<uint8_t>(text.size() > 1 ? text[1] : 0));
  // The argument text is what follows the token and its blank, in place.
  std::string &arg = text;
  if (arg.size() > 3 && arg[2] == ' ') {
    arg.erase(0, 3);
  } else {
    arg.clear();
  }
  if (code == tok::kEND) return END(arg, slot);
  LockHold hold(e.lock);
  // A thread that waited for the lock while program end began runs nothing.
  if (!e.running.load()) return 1;
  if (code == tok::kIF) {
    EvalIf(arg, slot, length, IfMode::Evaluate);
  } else if (StatementHandler handler = FindHandler(code)) {
    handler(arg, slot);
  } else {
    RuntimeError();
  }
  return 1;
}

namespace {

// A structural marker whose effect depends on its text alone: END IF, the
// ends and exits of routines, ELSE and the jumps, with their targets. One
// with further control bytes behind it is left to Dispatch, as an ELSE
// among them would be cut off on a single-line IF's line.
void PrepareMarker(CutEntry &cut) {
  const std::string &s = cut.text;
  if (s.size() < 2) return;
  uint8_t code = static_cast<uint8_t>(s[1]);
  size_t rest = 2;
  switch (code) {
  case tok::kEndIf:
  case tok::kSubEnd:
  case tok::kSubExit:
  case tok::kFuncEnd:
  case tok::kFuncExit:
    break;
  case tok::kElse:
    if (s.size() >= 4 && s[2] == tok::kControl && s[3] == tok::kBlock) {
      cut.target = ReadHex(s.c_str() + 4);
      rest = 4;
    }
    break;
  case tok::kJump1:
  case tok::kJump2:
  case tok::kJump3:
    cut.target = ReadHex(s.c_str() + 2);
    break;
  default:
    return;
  }
  if (s.find(static_cast<char>(tok::kControl), rest) != std::string::npos) {
    cut.target.reset();
    return;
  }
  cut.marker = code;
  cut.path = CutPath::Marker;
}

} // namespace

void PrepareDirect(CutEntry &cut) {
  const std::string &s = cut.text;
  cut.path = CutPath::Text;
  cut.calls = nullptr;
  cut.marker = 0;
  if (s.empty() || s[0] == '*') return;
  if (s[0] == tok::kControl) {
    PrepareMarker(cut);
    return;
  }
  uint8_t first = static_cast<uint8_t>(s[0]);
  bool token = first == 0x10 || first == 0x11;
  uint16_t code =
      token ? static_cast<uint16_t>(first << 8 | static_cast<uint8_t>(s.size() > 1 ? s[1] : 0)) : 0;
  // An IF's condition ends at its THEN; what follows is EvalIf's to read.
  size_t end = code == tok::kIF ? FindThen(s) : s.size();
  if (end == std::string::npos) return; // an IF without THEN: Dispatch's error
  if (s.find(static_cast<char>(tok::kControl)) < end) {
    if (!token) cut.calls = PrepareCallStatement(s);
    if (cut.calls) cut.path = CutPath::Calls;
    return;
  }
  if (!token) {
    cut.code = 0;
    cut.assign = PrepareAssignment(s);
    cut.brief = true;
    cut.path = CutPath::Direct;
    return;
  }
  StatementHandler handler = code == tok::kEND || code == tok::kIF ? nullptr : FindHandler(code);
  if (code != tok::kEND && code != tok::kIF && !handler) return;
  cut.code = code;
  cut.handler = handler;
  cut.arg = end > 3 && s[2] == ' ' ? s.substr(3, end - 3) : std::string();
  if (code == tok::kNEXT) cut.target = ReadHex(cut.arg.c_str());
  // A jump operand that resolves cleanly; any other is the handler's error.
  if ((code == tok::kGOTO || code == tok::kGOSUB) && !cut.arg.empty() &&
      !(static_cast<uint8_t>(cut.arg[0]) & 0x80))
    cut.target = ReadHex(cut.arg.substr(0, cut.arg.find(' ')).c_str());
  if (code == tok::kIF) cut.condition = PrepareCondition(cut.arg);
  if (code == tok::kFOR) cut.loop = std::make_unique<ForParts>(ParseFor(cut.arg));
  cut.brief = code == tok::kNEXT || code == tok::kFOR || code == tok::kIF || code == tok::kRETURN ||
              ((code == tok::kGOTO || code == tok::kGOSUB) && cut.target);
  cut.path = CutPath::Direct;
}

namespace {

// A direct statement's work, under the lock.
void RunDirect(const CutEntry &cut, std::string &statement, ThreadIndex slot) {
  if (cut.code == 0) {
    if (!cut.assign || !RunAssignment(*cut.assign)) {
      statement = cut.text;
      Assign(statement);
    }
  } else if (cut.code == tok::kNEXT) {
    NextTo(cut.target, slot);
  } else if (cut.loop) {
    RunFor(*cut.loop, slot);
  } else if ((cut.code == tok::kGOTO || cut.code == tok::kGOSUB) && cut.target) {
    (cut.code == tok::kGOTO ? GotoTarget : GosubTarget)(*cut.target, slot);
  } else if (cut.code == tok::kIF) {
    EvalIf(cut.arg, slot, cut.text.size(), IfMode::Evaluate, &cut.condition, &cut.outcomes);
  } else {
    if (cut.arg.empty()) {
      statement.clear();
    } else {
      statement = cut.arg;
    }
    cut.handler(statement, slot);
  }
}

} // namespace

int DispatchDirect(const CutEntry &cut, std::string &statement, ThreadIndex slot, LockRun &run) {
  // Pre-evaluation counts one nesting level even for a text without calls;
  // at the limit it fails, which Dispatch reports.
  if (!NestingRoom()) {
    run.Release();
    statement = cut.text;
    return Dispatch(statement, slot);
  }
  Engine &e = E();
  if (cut.brief) {
    if (!e.running.load(std::memory_order_acquire)) return 1;
    // Taking the lock may have waited for program end to begin.
    run.Hold();
    if (e.running.load(std::memory_order_acquire)) RunDirect(cut, statement, slot);
    return 1;
  }
  run.Release();
  if (!e.running.load()) return 1;
  if (cut.code == tok::kEND) {
    statement = cut.arg;
    return END(statement, slot);
  }
  LockHold hold(e.lock);
  if (e.running.load()) RunDirect(cut, statement, slot);
  return 1;
}

int RunMarker(const CutEntry &cut, ThreadIndex slot, LockRun &run) {
  Engine &e = E();
  ThreadSlot &t = e.threads.slots[slot];
  // Counted as a brief statement, so that a loop of markers alone still
  // lets the other threads run.
  run.Hold();
  switch (cut.marker) {
  case tok::kEndIf:
    return 1;
  case tok::kElse:
    // On a single-line IF's line the ELSE ends what runs of the line.
    if (t.ifLineFlag) {
      std::string statement = cut.text;
      CutAtElse(statement, slot);
      return 1;
    }
    if (cut.target && *cut.target == 0xFFFFFFFFu) {
      run.Release();
      LockHold hold(e.lock);
      RuntimeError();
      return 0;
    }
    if (cut.target) t.counter = *cut.target;
    return 1;
  case tok::kJump1:
  case tok::kJump2:
  case tok::kJump3:
    if (cut.target) t.counter = *cut.target;
    return 1;
  default:
    return 0; // the end or an exit of a routine
  }
}
