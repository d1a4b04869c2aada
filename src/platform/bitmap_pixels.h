// Reading a bitmap's pixels in one piece, for work that looks at every
// pixel (flood fill, screenshots) where a GetPixel per pixel would cost a
// context lookup each.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wingdi.h"

namespace platform {

// Copies WIDTH x HEIGHT pixels (0x00RRGGBB, rows top to bottom) from the
// top left of BITMAP into OUT; pixels beyond the bitmap read as 0. False
// when BITMAP is no bitmap.
bool ReadBitmapPixels(HBITMAP bitmap, int width, int height, std::vector<uint32_t> &out);

} // namespace platform
