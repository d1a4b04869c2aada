// Painting pieces shared by ConsoleWrite and ConsolePaint (console-internal).
#pragma once

#include <cstdint>

#include "console/console_buffer.h"
#include "platform/win32.h"

// Paints BUFFER (whose mutex the caller holds) on WINDOW: the layout walk,
// scrolling by whole logical lines, caret position and composition point.
void PaintLocked(HWND window, ConsoleBuffer &buffer, int32_t count, int32_t start);

// Hides WINDOW's caret for its lifetime while an input waits on the
// foreground window. The messages go to the window procedure, which reads
// the buffer, so the caller must not hold the buffer's mutex at
// construction or destruction.
class CaretHold {
public:
  CaretHold(HWND window, const ConsoleBuffer &buffer);
  ~CaretHold();
  CaretHold(const CaretHold &) = delete;
  CaretHold &operator=(const CaretHold &) = delete;

private:
  HWND window_;
  bool hidden_;
};
