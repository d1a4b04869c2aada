// Bounds on how deeply user functions and routines may call each other and
// how deeply function calls may nest inside one statement, so that runaway
// recursion ends in a runtime error rather than a stack overflow. The counts
// belong to the calling system thread (one per BASIC thread).
#pragma once

// Routine and DEFFN calls in progress on one thread. Each level costs a nested
// run loop, dispatcher and pre-evaluation on the stack; BASIC threads have
// the default 8 MiB stack, which holds this many levels with a wide margin
// even in the sanitizer build.
constexpr int kMaxCallDepth = 256;

// Argument lists being pre-evaluated inside each other on one thread: the
// calls nested in one statement, plus the few levels that every routine and
// DEFFN call in progress adds. Deep enough for any routine recursion that
// kMaxCallDepth allows, small enough for the stack together with it.
constexpr int kMaxCallNesting = 1024;

enum class DepthKind { Call, Nesting };

// Counts one level for its lifetime. Check Entered(): false means the limit
// was reached (nothing is counted then and the caller must not go deeper).
class DepthGuard {
public:
  explicit DepthGuard(DepthKind kind);
  ~DepthGuard();
  DepthGuard(const DepthGuard &) = delete;
  DepthGuard &operator=(const DepthGuard &) = delete;
  bool Entered() const { return entered_; }

private:
  int &count_;
  bool entered_;
};

// Whether one more nesting level may be entered.
bool NestingRoom();
