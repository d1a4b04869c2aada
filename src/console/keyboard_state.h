// The keyboard and mouse state that the main window's procedure writes on
// the user-interface thread and the input statements and key functions read
// on BASIC threads: the one-key buffer, the line being typed into an input
// statement, and the last mouse event. Single values are atomics; the line
// has a small mutex of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "runtime/shared_text.h"

// The input line holds this many bytes including its terminator, so at most
// kInputLineSize - 1 bytes of typed text (in string text form).
constexpr int32_t kInputLineSize = 1024;

// Arrow keys as last-key codes.
constexpr uint8_t kKeyRight = 0x1C;
constexpr uint8_t kKeyLeft = 0x1D;
constexpr uint8_t kKeyUp = 0x1E;
constexpr uint8_t kKeyDown = 0x1F;

class InputLine {
public:
  // Appends BYTES when they and RESERVE more bytes fit within the line's
  // capacity; false (nothing appended) when they do not.
  bool Append(std::string_view bytes, size_t reserve = 0);
  size_t Size() const;
  // Cuts N bytes off the end (all when there are fewer).
  void Cut(size_t n);
  void Clear();
  std::string Text() const;

private:
  mutable std::mutex mutex_;
  std::string text_;
};

struct KeyboardState {
  std::atomic<uint8_t> lastKey{0};      // 0: none; consumed by the key functions
  std::atomic<uint8_t> inputMode{0};    // 1 while INPUT or LINE INPUT waits for Enter
  std::atomic<uint32_t> inputWindow{0}; // the window whose line editor that input uses
  std::atomic<int32_t> inputLength{0};  // bytes typed into the current input
  InputLine inputLine;
  // The line editor refused a lead byte, so it refuses its trail byte too
  // (user-interface thread only).
  bool refuseTrail = false;

  // 1 move, 2 left down, 4 left up, 3 right down, 5 right up; 0 none yet.
  std::atomic<uint8_t> mouseEvent{0};
  std::atomic<int32_t> mouseX{0};
  std::atomic<int32_t> mouseY{0};

  // The assignment MM_MCINOTIFY runs ("variable=1"); empty: none.
  SharedText mciNotify;

  // For scripted input: key messages the main window has handled, and the
  // number of key functions blocked until keys come (Input$).
  std::atomic<uint64_t> keyMessages{0};
  std::atomic<int32_t> keyWaiters{0};
  // Threads waiting in GETMESSAGE with an empty queue.
  std::atomic<int32_t> messageWaiters{0};
};
