#include "flow/end_statement.h"

#include <cmath>

#include "expr/eval.h"
#include "platform/win32.h"
#include "runtime/engine.h"

int END(std::string &arg, ThreadIndex slot) {
  Engine &e = E();
  double value = 1;
  if (!arg.empty()) {
    // The evaluator reports errors under the lock, as every handler does.
    LockHold hold(e.lock);
    value = EvalNumeric(arg);
  }
  double code = std::trunc(value);
  if (code == 1) {
    PostMessageA(e.mainWindow, WM_CLOSE, 0, 0);
    while (e.running.load()) Sleep(1);
    return 0;
  }
  if (code == 2) ThreadEnd(slot);
  return 1;
}
