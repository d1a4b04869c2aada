#include "flow/conditionals.h"

#include <cstdio>

#include "expr/eval.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"
#include "runtime/tokens.h"

namespace {

bool IsMarker(const Program &prog, ProgramPosition p, uint8_t code) {
  return prog.At(p) == tok::kControl && prog.At(p + 1) == code;
}

BlockTargets ScanBlockTargets(const Program &prog, ProgramPosition p) {
  BlockTargets r;
  unsigned int x = 0, y = 0;
  if (std::sscanf(prog.From(p), "%x %x", &x, &y) != 2) return r;
  r.valid = true;
  r.first = x;
  r.second = y;
  return r;
}

// Reads the two block targets "%x %x" behind BLOCK at P, through the
// thread's cache (the program text does not change).
bool ReadBlockTargets(const Program &prog, ProgramPosition p, uint32_t &a, uint32_t &b,
                      ThreadSlot &t) {
  if (!t.cache) t.cache = std::make_unique<StatementCache>();
  auto [it, fresh] = t.cache->blocks.try_emplace(p);
  BlockTargets &r = it->second;
  if (fresh) {
    r = ScanBlockTargets(prog, p);
  } else if (CheckingCaches()) {
    BlockTargets again = ScanBlockTargets(prog, p);
    if (again.valid != r.valid || again.first != r.first || again.second != r.second)
      CacheMismatch("block targets", p, "cached", "different");
  }
  a = r.first;
  b = r.second;
  return r.valid;
}

// Finds the first THEN of the line from START (with BLOCK right behind it
// when BLOCK is set), passing over escaped 0x01 bytes; false at the line end.
bool FindThenOnLine(const Program &prog, ProgramPosition start, bool block, ProgramPosition &then) {
  for (ProgramPosition p = start;; ++p) {
    uint8_t c = prog.At(p);
    if (c == '\n' || c == 0) return false;
    if (IsMarker(prog, p, tok::kEscape)) {
      ++p;
      continue;
    }
    if (IsMarker(prog, p, tok::kThen) && (!block || IsMarker(prog, p + 2, tok::kBlock))) {
      then = p;
      return true;
    }
  }
}

} // namespace

namespace {

// Where the counter goes once the condition is known: a function of the
// program text and the statement's position only.
IfOutcome TrueOutcome(const Program &prog, ProgramPosition start) {
  ProgramPosition then;
  if (!FindThenOnLine(prog, start, false, then)) return {IfOutcome::Error, 0};
  ProgramPosition behind = then + 2;
  if (IsMarker(prog, behind, tok::kBlock)) return {IfOutcome::Stay, 0}; // block IF: run the block
  return {IfOutcome::Line, behind - 1};
}

// False: this IF's block target or its own ELSE; nested single-line IFs
// pair their ELSEs with their own THENs through the counter.
IfOutcome FalseOutcome(const Program &prog, ProgramPosition start, ThreadSlot &t) {
  int depth = 0;
  for (ProgramPosition p = start;; ++p) {
    uint8_t c = prog.At(p);
    if (c == '\n' || c == 0) return {IfOutcome::Stay, 0};
    if (IsMarker(prog, p, tok::kEscape)) {
      ++p;
      continue;
    }
    if (IsMarker(prog, p, tok::kThen)) {
      if (IsMarker(prog, p + 2, tok::kBlock)) {
        uint32_t a, b;
        if (!ReadBlockTargets(prog, p + 4, a, b, t)) return {IfOutcome::Error, 0};
        uint32_t target = a == 0xFFFFFFFFu ? b : a;
        if (target == 0xFFFFFFFFu) return {IfOutcome::Error, 0};
        return {IfOutcome::Jump, target};
      }
      ++depth;
      ++p;
    } else if (IsMarker(prog, p, tok::kElse)) {
      if (--depth == 0) {
        ProgramPosition q = p + 2;
        while (prog.At(q) == ' ' || prog.At(q) == '\t') ++q;
        return {IfOutcome::Line, q - 1};
      }
      ++p;
    }
  }
}

IfOutcome Outcome(bool holds, const Program &prog, ProgramPosition start, ThreadSlot &t) {
  return holds ? TrueOutcome(prog, start) : FalseOutcome(prog, start, t);
}

} // namespace

void EvalIf(const std::string &condition, ThreadIndex slot, size_t length, IfMode mode,
            const ConditionText *prepared, IfOutcomes *outcomes) {
  Engine &e = E();
  const Program &prog = e.program;
  ThreadSlot &t = e.threads.slots[slot];
  ProgramPosition start = t.counter - static_cast<ProgramPosition>(length);

  if (mode == IfMode::Skip) {
    ProgramPosition then;
    uint32_t a, b;
    if (!FindThenOnLine(prog, start, true, then) || !ReadBlockTargets(prog, then + 4, a, b, t) ||
        b == 0xFFFFFFFFu) {
      RuntimeError();
      return;
    }
    t.counter = b;
    return;
  }

  bool holds = (prepared ? EvalPreparedCondition(*prepared) : EvalCondition(condition)) != 0;
  IfOutcome o;
  if (!outcomes) {
    o = Outcome(holds, prog, start, t);
  } else {
    // Kept per statement: the same statement always starts at START.
    IfOutcomes &kept = *outcomes;
    if (!kept.known[holds]) {
      kept.branch[holds] = Outcome(holds, prog, start, t);
      kept.known[holds] = true;
    } else if (CheckingCaches()) {
      IfOutcome fresh = Outcome(holds, prog, start, t);
      if (fresh.kind != kept.branch[holds].kind || fresh.counter != kept.branch[holds].counter)
        CacheMismatch("IF outcome", start, "cached", "different");
    }
    o = kept.branch[holds];
  }
  switch (o.kind) {
  case IfOutcome::Error:
    RuntimeError();
    break;
  case IfOutcome::Stay:
    break;
  case IfOutcome::Jump:
    t.counter = o.counter;
    break;
  case IfOutcome::Line:
    t.ifLineFlag = 1;
    t.counter = o.counter;
    break;
  }
}
