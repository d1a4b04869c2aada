#include "expr/routines.h"

#include <memory>
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
#include "runtime/interpreter_lock.h"
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
  out.kinds.resize(out.params.size());
  // Plain names, each once: no AS clause, subscripts or member path, so
  // that each parameter is the only entry of its name.
  out.plain = true;
  for (size_t i = 0; i < out.params.size(); ++i) {
    const std::string &decl = out.params[i];
    if (decl.find_first_of("().\x01\"") != std::string::npos) out.plain = false;
    for (size_t j = 0; j < i; ++j)
      if (out.names[j] == out.names[i]) out.plain = false;
  }
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

// One parameter during a call: its kind, its cell when it is a plain
// numeric one (GROUP >= 0), and the argument's value.
struct Param {
  int kind = 0;
  int group = -1;
  size_t index = 0;
  ArgValue value;
};

// The parameters of one call: inline for the usual few, of which only
// the call's own are made.
class Params {
public:
  explicit Params(size_t n) : n_(n) {
    if (n > kInline) {
      more_.resize(n);
    } else {
      for (size_t i = 0; i < n; ++i) new (&inline_[i]) Param();
    }
  }
  ~Params() {
    if (n_ <= kInline)
      for (size_t i = 0; i < n_; ++i) inline_[i].~Param();
  }
  Params(const Params &) = delete;
  Params &operator=(const Params &) = delete;
  Param &operator[](size_t i) { return n_ > kInline ? more_[i] : inline_[i]; }

private:
  static constexpr size_t kInline = 8;
  size_t n_;
  union {
    Param inline_[kInline];
  };
  std::vector<Param> more_;
};

// Evaluates each argument as its parameter's kind wants, in the caller's
// scope. False after a runtime error.
bool EvaluateArguments(const std::vector<std::string> &args,
                       const std::vector<NumericText> *prepared, Params &params, ThreadSlot &s) {
  CallerScope caller(s);
  for (size_t i = 0; i < args.size(); ++i) {
    Param &p = params[i];
    if (p.kind == kRecord) {
      const VariableTable *record = GetRecord(args[i]);
      if (!record) {
        RuntimeError();
        return false;
      }
      p.value = record;
    } else if (p.kind == kString) {
      p.value = EvalString(args[i]);
    } else {
      p.value = prepared ? EvalPrepared((*prepared)[i]) : EvalNumeric(args[i]);
    }
  }
  return true;
}

// The routine's value: its local variable of its own name. CELL keeps
// where a number value was found.
void ReadValue(VariableTable &local, std::string_view name, ScalarCell &cell, RoutineResult &r) {
  if (ResolveScalar(name, cell) && cell.local) {
    // A numeric scalar of the local scope: the first entry of the name
    // there, as the search below finds it.
    r.numeric = true;
    r.number = ReadResolved(name, cell);
    return;
  }
  int found = KindIn(local, name);
  int kind = found < 0 ? ImpliedKind(name) : found;
  if (kind == kString) {
    const std::string *text = found >= 0 ? GetString(name, &local) : nullptr;
    if (text) r.text = *text;
    Quote(r.text);
    return;
  }
  r.numeric = true;
  if (found >= 0 && !ReadTableScalar(local, name, r.number)) r.number = GetNumeric(name, &local);
}

// What a call that cannot run gives.
void Failed(std::string_view name, bool wantValue, RoutineResult &r) {
  if (!wantValue) return;
  if (ImpliedKind(name) == kString) {
    r.text = "\"\"";
  } else {
    r.numeric = true;
  }
}

} // namespace

std::string RunRoutine(ProgramPosition header, std::string_view name, std::string_view args,
                       bool wantValue, ThreadIndex slot) {
  CallSite site;
  site.header = header;
  site.name.assign(name);
  site.args = CutList(args);
  RoutineResult r;
  CallRoutine(site, wantValue, slot, r);
  return r.numeric ? num::FormatG15(r.number) : std::move(r.text);
}

void CallRoutine(const CallSite &site, bool wantValue, ThreadIndex slot, RoutineResult &result,
                 LockRun *held) {
  Engine &e = E();
  std::string_view name = site.name;
  const std::vector<std::string> &args = site.args;
  DepthGuard depth(DepthKind::Call);
  LockRun own(e.lock);
  LockRun &run = held ? *held : own;
  run.Keep();
  if (!depth.Entered() || slot < 0 || slot >= kMaxThreads) {
    RuntimeError();
    return Failed(name, wantValue, result);
  }
  ThreadSlot &s = e.threads.slots[slot];
  // The thread's headers live as long as its cache, which holds the site
  // too and is dropped only when the thread's slot is used again.
  const RoutineHeader *h = site.known;
  if (!h || CheckingCaches()) {
    h = HeaderAt(s, e.program, site.header).get();
    site.known = h;
  }
  if (!h || args.size() != h->params.size()) {
    RuntimeError();
    return Failed(name, wantValue, result);
  }

  ScopeHold scope(slot);
  VariableTable &local = *s.scopes[static_cast<size_t>(s.scopeDepth)];
  const std::vector<std::string> &names = h->names;
  Params params(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    Param &p = params[i];
    if (h->plain && DeclareNumericScalar(names[i], local, p.group, p.index, h->kinds[i])) {
      p.kind = KindOfGroup(p.group);
      continue;
    }
    Declare(h->params[i], slot, &local);
    p.kind = KindIn(local, names[i]);
    // The declaration reported its error.
    if (p.kind < 0) return Failed(name, wantValue, result);
  }
  const std::vector<NumericText> *prepared =
      site.prepared.size() == args.size() && !args.empty() ? &site.prepared : nullptr;
  if (!EvaluateArguments(args, prepared, params, s)) return Failed(name, wantValue, result);
  for (size_t i = 0; i < names.size(); ++i) {
    Param &p = params[i];
    if (p.kind == kRecord) {
      VariableTable *target = GetRecord(names[i], &local);
      if (target) CopyRecord(*target, *std::get<const VariableTable *>(p.value));
    } else if (p.kind == kString) {
      StoreString(names[i], std::move(std::get<std::string>(p.value)), &local);
    } else if (p.group >= 0) {
      WriteCell(local, p.group, p.index, std::get<double>(p.value));
    } else {
      SetNumeric(names[i], std::get<double>(p.value), &local);
    }
  }
  if (!h->valueType.empty()) Declare(std::string(name) + h->valueType, slot, &local);

  {
    PositionHold position(s);
    s.counter = h->body;
    s.ifLineFlag = 0;
    // The routine's statements go on with this hold on the lock, which the
    // loop leaves for a moment every so many statements, as the outer
    // loop's do, so that other BASIC threads run between them.
    RunLoop(slot, &run);
    run.Keep();
  }
  if (wantValue) ReadValue(local, name, h->value, result);
}
