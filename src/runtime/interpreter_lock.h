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
