// The one recursive lock that BASIC threads hold around each statement
// handler. It counts how deep the calling thread holds it, so that a handler
// that waits can leave it completely and take it again as deep as before.
#pragma once

#include <mutex>

class InterpreterLock {
public:
  void Enter();
  void Leave();
  // Leaves every level the calling thread holds; returns how many.
  int LeaveAll();
  // Takes the lock again DEPTH times (after LeaveAll).
  void EnterAgain(int depth);

private:
  std::recursive_mutex mutex_;
};

// Holds the lock for a scope.
class LockHold {
public:
  explicit LockHold(InterpreterLock &lock) : lock_(lock) { lock_.Enter(); }
  ~LockHold() { lock_.Leave(); }
  LockHold(const LockHold &) = delete;
  LockHold &operator=(const LockHold &) = delete;

private:
  InterpreterLock &lock_;
};

// Holds the lock across a run of short statements that neither wait nor
// call anything, so that each does not take and leave it again; every so
// many statements it is left for a moment, for the other threads.
class LockRun {
public:
  explicit LockRun(InterpreterLock &lock) : lock_(lock) {}
  ~LockRun() { Release(); }
  LockRun(const LockRun &) = delete;
  LockRun &operator=(const LockRun &) = delete;

  void Hold() {
    if (held_ == kStatements) Release();
    if (held_++ == 0) lock_.Enter();
  }
  void Release() {
    if (held_ > 0) lock_.Leave();
    held_ = 0;
  }
  // Takes over OTHER's hold (on the same lock), which holds nothing then.
  void Adopt(LockRun &other) {
    held_ = other.held_;
    other.held_ = 0;
  }
  // Makes sure the lock is held, without counting a statement.
  void Keep() {
    if (held_ == 0) {
      lock_.Enter();
      held_ = 1;
    }
  }

private:
  static constexpr int kStatements = 64;
  InterpreterLock &lock_;
  int held_ = 0;
};
