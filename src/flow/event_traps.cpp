#include "flow/event_traps.h"

#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

enum class Switch { On, Off, Stop, Bad };

Switch ReadSwitch(std::string_view word) {
  if (EqualsNoCase(word, "on")) return Switch::On;
  if (EqualsNoCase(word, "off")) return Switch::Off;
  if (EqualsNoCase(word, "stop")) return Switch::Stop;
  return Switch::Bad;
}

constexpr uint8_t kKeyOff = 0, kKeyOn = 1, kKeyStop = 2;
constexpr uint8_t kMouseOff = 0, kMouseOn = 0xFF, kMouseStop = 1;

} // namespace

void KEY(std::string &arg, ThreadIndex) {
  Engine &e = E();
  EventTraps &traps = e.traps;
  switch (ReadSwitch(StripBlanks(arg))) {
  case Switch::On:
    traps.keySwitch.store(kKeyOn);
    if (traps.deferredKeyStatement.NotEmpty())
      e.pendingStatement.Set(traps.deferredKeyStatement.Text());
    break;
  case Switch::Off:
    traps.keySwitch.store(kKeyOff);
    break;
  case Switch::Stop:
    traps.deferredKeyStatement.Clear();
    traps.keySwitch.store(kKeyStop);
    break;
  case Switch::Bad:
    RuntimeError();
  }
}

void MOUSE(std::string &arg, ThreadIndex) {
  Engine &e = E();
  std::string s = StripBlanks(arg);
  // "(" expression ")" followed by the switch word; parentheses nest.
  size_t close = std::string::npos;
  int depth = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') ++depth;
    if (s[i] == ')' && --depth == 0) {
      close = i;
      break;
    }
  }
  if (s.empty() || s[0] != '(' || close == std::string::npos) {
    RuntimeError();
    return;
  }
  double v = EvalNumeric(std::string_view(s).substr(1, close - 1));
  int32_t n = num::TruncInt32(v);
  if (n < 1 || n > 5) {
    RuntimeError();
    return;
  }
  int i = n - 1;
  EventTraps &traps = e.traps;
  switch (ReadSwitch(std::string_view(s).substr(close + 1))) {
  case Switch::On:
    if (traps.mouseStatements[i].NotEmpty() && traps.mouseEventSeen[i].load())
      e.pendingStatement.Set(traps.mouseStatements[i].Text());
    traps.mouseSwitches[i].store(kMouseOn);
    break;
  case Switch::Off:
    traps.mouseEventSeen[i].store(0);
    traps.mouseSwitches[i].store(kMouseOff);
    break;
  case Switch::Stop:
    traps.mouseSwitches[i].store(kMouseStop);
    break;
  case Switch::Bad:
    RuntimeError();
  }
}

void FireKeyTrap(int key) {
  Engine &e = E();
  if (!e.running.load() || key < 0 || key > 11) return;
  EventTraps &traps = e.traps;
  switch (traps.keySwitch.load()) {
  case kKeyOn:
    e.pendingStatement.Set(traps.keyStatements[key].Text());
    break;
  case kKeyStop:
    traps.deferredKeyStatement.Set(traps.keyStatements[key].Text());
    break;
  default:
    break;
  }
}

void FireMouseTrap(int event) {
  Engine &e = E();
  if (event < 1 || event > 5) return;
  EventTraps &traps = e.traps;
  int i = event - 1;
  switch (traps.mouseSwitches[i].load()) {
  case kMouseOn:
    if (traps.mouseStatements[i].NotEmpty())
      e.pendingStatement.Set(traps.mouseStatements[i].Text());
    break;
  case kMouseStop:
    traps.mouseEventSeen[i].store(1);
    break;
  default:
    break;
  }
}
