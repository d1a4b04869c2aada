#include "console/key_functions.h"

#include <chrono>

#include "console/keyboard_state.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "platform/input_feeder.h"
#include "platform/winuser_input.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

// How long Inkey$ waits for scripted input to answer whether a key is ready.
constexpr auto kScriptedKeyWait = std::chrono::milliseconds(500);

// Ends Input$'s wait state also when program end interrupts the wait.
class KeyWait {
public:
  KeyWait() : window_(E().windows.Current()), console_(E().windows.Console(window_)) {
    if (console_) console_->caretEnabled.store(1);
    E().keyboard.keyWaiters.fetch_add(1);
  }
  ~KeyWait() {
    Done();
    if (console_) console_->caretEnabled.store(0);
  }
  // No more keys wanted: scripted input must not offer another one.
  void Done() {
    if (waiting_) E().keyboard.keyWaiters.fetch_sub(1);
    waiting_ = false;
    platform::NotifyInputFeeder();
  }
  // Keys are wanted again.
  void Resume() {
    if (!waiting_) E().keyboard.keyWaiters.fetch_add(1);
    waiting_ = true;
  }
  HWND Window() const { return window_; }

private:
  bool waiting_ = true;
  HWND window_;
  std::shared_ptr<ConsoleBuffer> console_;
};

} // namespace

std::string InkeyFunction(std::string_view, ThreadIndex slot) {
  KeyboardState &k = E().keyboard;
  uint64_t ticket = platform::RequestFedKey();
  BlockingWait(
      slot, [] { return false; }, std::chrono::milliseconds(1));
  if (ticket != 0)
    BlockingWait(
        slot, [ticket] { return platform::FedKeyRequestAnswered(ticket); }, kScriptedKeyWait);
  uint8_t key = k.lastKey.exchange(0);
  platform::NotifyInputFeeder();
  if (key == 0) return "\"\"";
  std::string literal = "\"";
  CharToText(static_cast<char>(key), literal);
  literal += '"';
  return literal;
}

std::string InputKeysFunction(std::string_view args, ThreadIndex slot) {
  KeyboardState &k = E().keyboard;
  int64_t n = num::TruncInt32(EvalNumeric(args));
  std::string keys;
  int64_t got = 0;
  {
    KeyWait wait;
    SendMessageA(wait.Window(), WM_SETFOCUS, 0, 0);
    if (n <= 0) wait.Done();
    platform::NotifyInputFeeder();
    BlockingWait(slot, [&] {
      while (got < n) {
        if (k.lastKey.load() == 0) break;
        // Wanting no more keys is said before the last one is taken, so
        // scripted input never sees an empty buffer and a waiter here.
        if (got + 1 == n) wait.Done();
        uint8_t key = k.lastKey.exchange(0);
        if (key == 0) { // another thread took it first
          wait.Resume();
          break;
        }
        CharToText(static_cast<char>(key), keys);
        ++got;
        platform::NotifyInputFeeder();
      }
      return got >= n;
    });
    SendMessageA(wait.Window(), WM_KILLFOCUS, 0, 0);
  }
  return "\"" + keys + "\"";
}

std::string KeyStateFunction(std::string_view args, ThreadIndex) {
  int32_t key = num::TruncInt32(EvalNumeric(args));
  switch (key) {
  case kKeyRight:
    key = VK_RIGHT;
    break;
  case kKeyLeft:
    key = VK_LEFT;
    break;
  case kKeyUp:
    key = VK_UP;
    break;
  case kKeyDown:
    key = VK_DOWN;
    break;
  default:
    break;
  }
  return num::FormatD(GetAsyncKeyState(key));
}

std::string MouseFunction(std::string_view args, ThreadIndex) {
  const KeyboardState &k = E().keyboard;
  switch (args.empty() ? '\0' : args[0]) {
  case '0':
    return num::FormatD(k.mouseX.load());
  case '1':
    return num::FormatD(k.mouseY.load());
  case '2':
    return num::FormatD(k.mouseEvent.load());
  default:
    RuntimeError();
    return "0";
  }
}
