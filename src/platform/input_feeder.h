// Headless input: a feeder thread types the events file (QUILLRUNNER_EVENTS)
// and then the bytes of stdin into a window as the messages a keyboard and a
// mouse would post. Keys are paced: the next one is offered only when the
// program wants one (a line being typed, a key function waiting or asking)
// and every key message posted before has been handled. When everything is
// typed and the program waits for a line or for keys, the window is sent
// WM_CLOSE. The format of the events file is in docs/events.md.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win32.h"

namespace platform {

// What the program waits for, as the engine sees it now.
struct InputDemand {
  bool line = false;     // a line is being typed (Enter ends it)
  bool keys = false;     // a key function blocks until keys come
  uint8_t lastKey = 0;   // the one-key buffer (0: empty)
  uint64_t handled = 0;  // key messages (WM_KEYDOWN, WM_CHAR) the window handled
  bool messages = false; // a thread waits for a window message (GETMESSAGE)
};

struct InputFeederHooks {
  std::function<InputDemand()> demand; // must be quick; called without locks
  std::function<void()> wake;          // a key request was answered
  // The window that keys go to directly (sent, each awaited), or 0 when
  // they go to the target window paced; may be empty.
  std::function<HWND()> keyTarget;
  // The window that paced keys go to instead of the target window (the
  // one whose line editor a console input uses), or 0; may be empty.
  std::function<HWND()> lineTarget;
  // False once the program has ended (a wait for a window gives up).
  std::function<bool()> alive;
};

// Starts the feeder for TARGET in headless mode (nothing otherwise). Errors
// of the events file go to stderr. STDIN: also type the bytes of stdin.
void StartInputFeeder(HWND target, InputFeederHooks hooks, bool stdinKeys = true);
// Ends the feeder thread and waits for it.
void StopInputFeeder();
// The program's demand changed: the feeder looks at it again.
void NotifyInputFeeder();

// A key function asking for one key now (Inkey$): returns a ticket, 0 when
// no feeder runs. The request is answered once a key has been delivered
// and handled, or when the feeder has no key ready.
uint64_t RequestFedKey();
bool FedKeyRequestAnswered(uint64_t ticket);

} // namespace platform
