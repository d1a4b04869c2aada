// Drawing state of one running program: the last point that LINE, PSET and
// MOVETO share, and the table of the bitmaps the program made (LOADIMAGE,
// GET), which program end deletes.
#pragma once

#include <array>
#include <cstdint>

#include "platform/wingdi.h"

constexpr int kImageTableSize = 1024;

struct ImageTable {
  std::array<HBITMAP, kImageTableSize> slots{};
  int32_t count = 0; // slots 0 .. count - 1 are in use

  // Records FRESH in place of OLD (a bitmap the variable held, already
  // deleted) when OLD has a slot; otherwise FRESH takes slot count. False
  // when the table is full: the caller deletes FRESH and reports the error.
  bool Record(HBITMAP old, bool oldWasBitmap, HBITMAP fresh);
};

struct GraphicsState {
  int32_t lastX = 0, lastY = 0;
  ImageTable images;
};
