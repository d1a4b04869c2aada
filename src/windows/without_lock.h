// Calls that may wait (for the user, another thread's window, a message)
// run with the interpreter lock left and the thread's waiting flag set, so
// that other BASIC threads and program end can proceed; a thread whose
// program ended meanwhile ends at once.
#pragma once

#include "flow/threads.h"
#include "runtime/engine.h"

template <typename Call> auto WithoutLock(ThreadIndex slot, Call call) {
  Engine &e = E();
  ThreadSlot &t = e.threads.slots[slot];
  t.waiting.store(1);
  int depth = e.lock.LeaveAll();
  auto result = call();
  e.lock.EnterAgain(depth);
  t.waiting.store(0);
  if (!e.running.load()) ThreadEnd(slot);
  return result;
}
