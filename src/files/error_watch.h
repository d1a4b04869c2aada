// Tells a handler whether an evaluation it called reported a runtime error
// that an error trap caught (without a trap, a runtime error never returns
// to the handler), so that it can abandon the rest of its statement.
#pragma once

#include "runtime/engine.h"

class ErrorWatch {
public:
  ErrorWatch() : before_(TrapQueued()) {}
  bool Raised() const { return !before_ && TrapQueued(); }

private:
  static bool TrapQueued() {
    Engine &e = E();
    return e.errorTrap.NotEmpty() && e.pendingStatement.NotEmpty() &&
           e.pendingStatement.Text() == e.errorTrap.Text();
  }
  bool before_;
};
