// The console font: made once at load time from the program image's
// LOGFONT, and the cell size the console lays its text out by.
#pragma once

#include <atomic>
#include <mutex>

#include "console/console_layout.h"
#include "platform/wingdi.h"

struct ConsoleFont {
  std::atomic<HFONT> handle{0}; // 0 until the loader made it
  std::mutex mutex;             // guards the two fields below
  bool measured = false;
  ConsoleMetrics metrics;
};

// Creates the console font from the engine's LOGFONT and measures it: the
// line height is tmHeight + tmExternalLeading, the cell the extent of one
// blank.
void CreateConsoleFont();
