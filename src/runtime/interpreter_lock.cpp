#include "runtime/interpreter_lock.h"

namespace {
thread_local int tlsDepth = 0;
}

void InterpreterLock::Enter() {
  mutex_.lock();
  ++tlsDepth;
}

void InterpreterLock::Leave() {
  --tlsDepth;
  mutex_.unlock();
}

int InterpreterLock::LeaveAll() {
  int depth = tlsDepth;
  for (int i = 0; i < depth; ++i) Leave();
  return depth;
}

void InterpreterLock::EnterAgain(int depth) {
  for (int i = 0; i < depth; ++i) Enter();
}
