// The printer state of a program: the chosen printer's context, its font
// and the open job with its print position (device units).
#pragma once

#include <cstdint>

#include "platform/wingdi.h"

struct PrinterState {
  HDC dc = 0;               // 0 until a printer is chosen or first used
  HFONT font = 0;           // the console font at the printer's resolution
  HGDIOBJ previousFont = 0; // selected in the context when the job started
  uint8_t jobOpen = 0;      // between a job's first LPRINT and its form feed
  int32_t x = 10, y = 0;    // where the next text goes
};
