// The event trap state: statements set by ON key / ON mouse(n), the KEY and
// MOUSE switches, and what happened while a switch was "stop". Written by
// BASIC threads and read by the user-interface thread, so each item is
// atomic or a shared text.
#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/shared_text.h"

struct EventTraps {
  SharedText keyStatements[12];      // F1 .. F12
  std::atomic<uint8_t> keySwitch{0}; // 0 off, 1 on, 2 stop
  SharedText deferredKeyStatement;
  SharedText mouseStatements[5];           // mouse(1) .. mouse(5)
  std::atomic<uint8_t> mouseSwitches[5]{}; // 0 off, 0xFF on, 1 stop
  std::atomic<uint8_t> mouseEventSeen[5]{};
};
