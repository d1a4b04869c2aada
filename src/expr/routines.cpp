#include "expr/routines.h"

#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "data/declarations.h"
#include "data/variables.h"
#include "expr/argument_list.h"
#include "expr/call_depth.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/run_loop.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"
#include "runtime/tokens.h"

namespace {

bool IsBlank(uint8_t c) {
  return c == ' ' || c == '\t';
}

// The name of a parameter: its declaration up to AS.
std::string ParamName(const std::string &decl) {
  static const std::string kAs{static_cast<char>(tok::kControl), static_cast<char>(tok::kAs)};
  return decl.substr(0, decl.find(kAs));
}

// Reads the header whose "(" is at POSITION. False at a malformed header:
// no "(", or the line or the text ending inside it.
bool ReadHeader(const Program &prog, ProgramPosition position, RoutineHeader &out) {
  if (prog.At(position) != '(') return false;
  ProgramPosition p = position + 1;
  std::string decl;
  int depth = 0;
  bool inQuotes = false;
  for (;;) {
    uint8_t c = prog.At(p);
    if (c == 0 || c == '\n') return false;
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes) {
      if (IsBlank(c)) {
        ++p;
        continue;
      }
      if (c == tok::kControl) {
        decl.push_back(static_cast<char>(c));
        decl.push_back(static_cast<char>(prog.At(p + 1)));
        p += 2;
        continue;
      }
      if (c == '(') ++depth;
      if ((c == ',' || c == ')') && depth == 0) {
        out.params.push_back(decl);
        decl.clear();
        ++p;
        if (c == ')') break;
        continue;
      }
      if (c == ')') --depth;
    }
    decl.push_back(static_cast<char>(c));
    ++p;
  }
  // An empty declaration, as in "()", ends the list.
  for (size_t i = 0; i < out.params.size(); ++i) {
    if (out.params[i].empty()) {
      out.params.resize(i);
      break;
    }
  }
  for (const std::string &decl : out.params) out.names.push_back(ParamName(decl));
  while (IsBlank(prog.At(p))) ++p;
  bool typed = prog.At(p) == tok::kControl && prog.At(p + 1) == tok::kAs;
  while (prog.At(p) != '\n' && prog.At(p) != 0) {
    if (typed) out.valueType.push_back(static_cast<char>(prog.At(p)));
    ++p;
  }
  if (prog.At(p) == 0) return false;
  out.body = p + 1;
  return true;
}

// The header at POSITION, read once per thread; null when it is malformed.
std::shared_ptr<const RoutineHeader> HeaderAt(ThreadSlot &s, const Program &prog,
                                              ProgramPosition position) {
  if (!s.cache) s.cache = std::make_unique<StatementCache>();
  auto &headers = s.cache->headers;
  auto it = headers.find(position);
  if (it != headers.end() && !CheckingCaches()) return it->second;
  auto fresh = std::make_shared<RoutineHeader>();
  if (!ReadHeader(prog, position, *fresh)) return nullptr;
  if (it != headers.end()) {
    if (!(*it->second == *fresh)) CacheMismatch("routine header", position, "", "");
    return it->second;
  }
  headers.emplace(position, fresh);
  return fresh;
}

// The kind NAME has in TABLE, or -1.
int KindIn(const VariableTable &table, std::string_view name) {
  for (int g = 0; g < kGroupCount; ++g)
    if (HasName(table, g, name)) return KindOfGroup(g);
  return -1;
}

// One evaluated argument.
using ArgValue = std::variant<double, std::string, const VariableTable *>;

// The thread's routine scope for the duration of one call.
class ScopeHold {
public:
  explicit ScopeHold(ThreadIndex slot) : slot_(slot) { PushScope(slot); }
  ~ScopeHold() { PopScope(slot_); }
  ScopeHold(const ScopeHold &) = delete;
  ScopeHold &operator=(const ScopeHold &) = delete;

private:
  ThreadIndex slot_;
};

// Makes the caller's scope current again while the arguments are evaluated.
class CallerScope {
public:
  explicit CallerScope(ThreadSlot &s) : s_(s) { s_.SetScopeDepth(s_.scopeDepth - 1); }
  ~CallerScope() { s_.SetScopeDepth(s_.scopeDepth + 1); }
  CallerScope(const CallerScope &) = delete;
  CallerScope &operator=(const CallerScope &) = delete;

private:
  ThreadSlot &s_;
};

// Saves the thread's position for a nested run and restores it afterwards.
class PositionHold {
public:
  explicit PositionHold(ThreadSlot &s) : s_(s), counter_(s.counter), ifLineFlag_(s.ifLineFlag) {}
  ~PositionHold() {
    s_.counter = counter_;
    s_.ifLineFlag = ifLineFlag_;
  }
  PositionHold(const PositionHold &) = delete;
  PositionHold &operator=(const PositionHold &) = delete;

private:
  ThreadSlot &s_;
  ProgramPosition counter_;
  uint8_t ifLineFlag_;
};

// Evaluates each argument as its parameter's kind wants, in the caller's
// scope. False after a runtime error.
bool EvaluateArguments(const std::vector<std::string> &args, const std::vector<int> &kinds,
                       ThreadSlot &s, std::vector<ArgValue> &values) {
  CallerScope caller(s);
  for (size_t i = 0; i < args.size(); ++i) {
    if (kinds[i] == kRecord) {
      const VariableTable *record = GetRecord(args[i]);
      if (!record) {
        RuntimeError();
        return false;
      }
      values.emplace_back(record);
    } else if (kinds[i] == kString) {
      values.emplace_back(EvalString(args[i]));
    } else {
      values.emplace_back(EvalNumeric(args[i]));
    }
  }
  return true;
}

// The routine's value: its local variable of its own name.
std::string ReadValue(VariableTable &local, std::string_view name) {
  int kind = KindIn(local, name);
  if (kind < 0) kind = ImpliedKind(name);
  if (kind == kString) {
    const std::string *text = KindIn(local, name) >= 0 ? GetString(name, &local) : nullptr;
    std::string value = text ? *text : std::string();
    Quote(value);
    return value;
  }
  double value = KindIn(local, name) >= 0 ? GetNumeric(name, &local) : 0;
  return num::FormatG15(value);
}

} // namespace

std::string RunRoutine(ProgramPosition header, std::string_view name, std::string_view args,
                       bool wantValue, ThreadIndex slot) {
  Engine &e = E();
  DepthGuard depth(DepthKind::Call);
  std::optional<LockHold> hold;
  hold.emplace(e.lock);
  std::string failed;
  if (wantValue) failed = ImpliedKind(name) == kString ? "\"\"" : "0";
  if (!depth.Entered() || slot < 0 || slot >= kMaxThreads) {
    RuntimeError();
    return failed;
  }
  ThreadSlot &s = e.threads.slots[slot];
  // Held for the call: the cache may be dropped while the body runs.
  std::shared_ptr<const RoutineHeader> h = HeaderAt(s, e.program, header);
  if (!h) {
    RuntimeError();
    return failed;
  }
  std::vector<std::string> argList = CutList(args);
  if (argList.size() != h->params.size()) {
    RuntimeError();
    return failed;
  }

  ScopeHold scope(slot);
  VariableTable &local = *s.scopes[static_cast<size_t>(s.scopeDepth)];
  const std::vector<std::string> &names = h->names;
  std::vector<int> kinds;
  for (size_t i = 0; i < names.size(); ++i) {
    Declare(h->params[i], slot, &local);
    kinds.push_back(KindIn(local, names[i]));
    if (kinds.back() < 0) return failed; // the declaration reported its error
  }
  std::vector<ArgValue> values;
  if (!EvaluateArguments(argList, kinds, s, values)) return failed;
  for (size_t i = 0; i < names.size(); ++i) {
    if (kinds[i] == kRecord) {
      VariableTable *target = GetRecord(names[i], &local);
      if (target) CopyRecord(*target, *std::get<const VariableTable *>(values[i]));
    } else if (kinds[i] == kString) {
      StoreString(names[i], std::move(std::get<std::string>(values[i])), &local);
    } else {
      SetNumeric(names[i], std::get<double>(values[i]), &local);
    }
  }
  if (!h->valueType.empty()) Declare(std::string(name) + h->valueType, slot, &local);

  {
    PositionHold position(s);
    s.counter = h->body;
    s.ifLineFlag = 0;
    // The routine's statements take the lock one by one, as the outer loop's
    // do, so other BASIC threads run between them.
    hold.reset();
    RunLoop(slot);
    hold.emplace(e.lock);
  }
  return wantValue ? ReadValue(local, name) : std::string();
}
