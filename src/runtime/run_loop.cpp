#include "runtime/run_loop.h"

#include "flow/loops.h"
#include "platform/win32.h"
#include "runtime/dispatch.h"
#include "runtime/engine.h"
#include "runtime/statement_cache.h"
#include "runtime/tokens.h"

namespace {

bool IsIfStatement(const std::string &s) {
  return s.size() >= 2 && static_cast<uint8_t>(s[0]) == tok::High(tok::kIF) &&
         static_cast<uint8_t>(s[1]) == tok::Low(tok::kIF);
}

} // namespace

void CutAtElse(std::string &statement, ThreadIndex slot) {
  if (IsIfStatement(statement)) return; // a nested IF handles its own ELSE
  size_t i = 0;
  size_t n = statement.size();
  for (; i + 1 < n; ++i) {
    if (statement[i] != tok::kControl) continue;
    if (statement[i + 1] == tok::kEscape) {
      ++i;
      continue;
    }
    if (statement[i + 1] == tok::kElse) break;
  }
  if (i + 1 >= n) return;
  Engine &e = E();
  ProgramPosition &pc = e.threads.slots[slot].counter;
  while (e.program.At(pc) != '\n' && e.program.At(pc) != 0) ++pc;
  statement.resize(i);
  while (!statement.empty() && (statement.back() == ' ' || statement.back() == '\t'))
    statement.pop_back();
}

void CutStatement(const Program &prog, ProgramPosition &counter, bool &inQuotes, std::string &out) {
  for (;;) {
    uint8_t c = prog.At(counter);
    if (c == '"') inQuotes = !inQuotes;
    if (c == '\n' || c == 0) return;
    // A single-line IF runs to the end of its line, whatever ":" it holds.
    if (c == ':' && !inQuotes && !IsIfStatement(out)) return;
    out.push_back(static_cast<char>(c));
    ++counter;
  }
}

namespace {

// The statement's entry, cut once: the cut depends only on the position,
// the quote state and the program text, which never changes.
CutEntry &EntryAt(ThreadSlot &t, const Program &prog, bool inQuotes) {
  if (!t.cache) t.cache = std::make_unique<StatementCache>();
  StatementCache &cache = *t.cache;
  if (!inQuotes && prog.Contains(t.counter)) {
    size_t index = static_cast<size_t>(static_cast<int64_t>(static_cast<int32_t>(t.counter)) + 2);
    if (cache.positions.empty()) cache.positions.resize(size_t{prog.Length()} + 10);
    if (index < cache.positions.size()) {
      std::unique_ptr<CutEntry> &slot = cache.positions[index];
      if (!slot) slot = std::make_unique<CutEntry>();
      return *slot;
    }
  }
  return cache.cuts[uint64_t{t.counter} << 1 | (inQuotes ? 1 : 0)];
}

// What the byte at P, where a statement ended, means to the run loop.
uint8_t AfterStatement(const Program &prog, ProgramPosition p) {
  uint8_t c = prog.At(p);
  uint8_t after = 0;
  if (c == '\n' || (c == 0xFF && prog.At(p - 1) == 0)) after |= kLineEnds;
  // The text has ended; so has everything outside the block, which the
  // original would have read as garbage.
  if (c == 0 && (static_cast<int32_t>(p) >= 0 || !prog.Contains(p))) after |= kRunEnds;
  return after;
}

// Whether two cuts have the same direct fields.
bool SameDirect(const CutEntry &a, const CutEntry &b) {
  return a.path == b.path && a.brief == b.brief && a.code == b.code && a.marker == b.marker &&
         a.handler == b.handler && a.arg == b.arg &&
         (a.assign != nullptr) == (b.assign != nullptr) && a.target == b.target &&
         a.condition.text == b.condition.text && a.condition.comparison == b.condition.comparison &&
         (a.loop != nullptr) == (b.loop != nullptr) && (!a.loop || SameParts(*a.loop, *b.loop)) &&
         (a.calls != nullptr) == (b.calls != nullptr) &&
         (!a.calls || SameCalls(*a.calls, *b.calls));
}

// The entry at the counter when it was not cut before, or in the checking
// mode; kept out of the run loop's body.
[[gnu::noinline]] const CutEntry &CutAgain(ThreadSlot &t, const Program &prog, bool &inQuotes) {
  CutEntry &entry = EntryAt(t, prog, inQuotes);
  bool fresh = !entry.made;
  if (fresh || CheckingCaches()) {
    CutEntry cut;
    cut.made = true;
    cut.end = t.counter;
    cut.inQuotesAfter = inQuotes;
    CutStatement(prog, cut.end, cut.inQuotesAfter, cut.text);
    cut.after = AfterStatement(prog, cut.end);
    PrepareDirect(cut);
    if (fresh) {
      entry = std::move(cut);
    } else if (cut.text != entry.text || cut.end != entry.end ||
               cut.inQuotesAfter != entry.inQuotesAfter || cut.after != entry.after ||
               !SameDirect(cut, entry)) {
      CacheMismatch("cut statement", t.counter, entry.text, cut.text);
    }
  }
  t.counter = entry.end;
  inQuotes = entry.inQuotesAfter;
  return entry;
}

inline const CutEntry &CutCached(ThreadSlot &t, const Program &prog, bool &inQuotes) {
  // Most statements start outside quotes and were cut before.
  if (!inQuotes && t.cache && !CheckingCaches()) {
    size_t index = static_cast<size_t>(static_cast<int64_t>(static_cast<int32_t>(t.counter)) + 2);
    const std::vector<std::unique_ptr<CutEntry>> &positions = t.cache->positions;
    if (index < positions.size()) {
      const CutEntry *made = positions[index].get();
      if (made && made->made) {
        t.counter = made->end;
        inQuotes = made->inQuotesAfter;
        return *made;
      }
    }
  }
  return CutAgain(t, prog, inQuotes);
}

// The statements that are not direct, kept out of the run loop's body.
[[gnu::noinline]] int RunIndirect(const CutEntry &cut, std::string &statement, ThreadIndex slot,
                                  LockRun &run) {
  switch (cut.path) {
  case CutPath::Marker:
    return RunMarker(cut, slot, run);
  case CutPath::Calls:
    RunCallStatement(*cut.calls, statement, slot, run);
    return 1;
  default:
    run.Release();
    return Dispatch(statement, slot);
  }
}

// Counts one statement against a set budget; true, with the main window
// told to close, once it is spent.
[[gnu::noinline]] bool BudgetSpent(Engine &e) {
  if (e.statementBudget.fetch_sub(1, std::memory_order_relaxed) > 0) return false;
  PostMessageA(e.mainWindow, WM_CLOSE, 0, 0);
  return true;
}

// Runs the statement queued for thread 0, then empties the queue: a
// statement queued while it runs is dropped.
[[gnu::noinline]] void RunPending(Engine &e, LockRun &run) {
  run.Release();
  std::string queued = e.pendingStatement.Text();
  Dispatch(queued, 0);
  e.pendingStatement.Clear();
}

} // namespace

void RunLoop(ThreadIndex slot, LockRun *outer) {
  Engine &e = E();
  ThreadSlot &t = e.threads.slots[slot];
  const Program &prog = e.program;
  if (prog.At(t.counter) == ':') {
    while (prog.At(t.counter + 1) == ' ' || prog.At(t.counter + 1) == '\t') ++t.counter;
  }
  // The buffer of the statements that take the text path.
  std::string statement;
  bool inQuotes = false;
  // A routine's run loop runs inside a statement of the caller's, which
  // is running again once the routine returns.
  struct KeepStart {
    ThreadSlot &t;
    ProgramPosition saved;
    ~KeepStart() { t.statementStart = saved; }
  } keep{t, t.statementStart};
  // A routine's loop goes on with its caller's hold, and gives it back.
  LockRun run(e.lock);
  struct GiveBack {
    LockRun *outer;
    LockRun &run;
    ~GiveBack() {
      if (outer) outer->Adopt(run);
    }
  } giveBack{outer, run};
  if (outer) run.Adopt(*outer);
  // The statement before, when it began outside quotes and its entry may
  // remember the one that follows.
  const CutEntry *before = nullptr;
  for (;;) {
    t.statementStart = t.counter;
    const CutEntry *next = before && before->nextAt == t.counter ? before->next : nullptr;
    if (next) {
      t.counter = next->end;
      inQuotes = next->inQuotesAfter;
    } else {
      bool quoted = inQuotes;
      next = &CutCached(t, prog, inQuotes);
      if (before && !quoted && !CheckingCaches()) {
        before->nextAt = t.statementStart;
        before->next = next;
      }
    }
    const CutEntry &cut = *next;
    before = inQuotes ? nullptr : &cut;
    // Only a statement that runs as text may have an ELSE to cut.
    if (cut.path == CutPath::Text) {
      statement = cut.text;
      if (t.ifLineFlag) CutAtElse(statement, slot);
    }
    t.waiting.store(0, std::memory_order_relaxed);
    if (!e.running.load(std::memory_order_acquire)) break;
    if (e.statementBudget.load(std::memory_order_relaxed) >= 0 && BudgetSpent(e)) break;
    if (!(cut.path == CutPath::Direct ? DispatchDirect(cut, statement, slot, run)
                                      : RunIndirect(cut, statement, slot, run)))
      break;
    if (slot == 0 && e.pendingStatement.NotEmpty()) RunPending(e, run);
    uint8_t after = t.counter == cut.end ? cut.after : AfterStatement(prog, t.counter);
    if (after & kLineEnds) t.ifLineFlag = 0;
    if (after & kRunEnds) break;
    ++t.counter;
  }
}
