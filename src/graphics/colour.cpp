#include "graphics/colour.h"

namespace {
constexpr uint32_t kBasic[8] = {0x000000, 0xFF0000, 0x0000FF, 0xFF00FF,
                                0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
}

uint32_t ColourOf(int32_t number) {
  if (number < 0) return 0u - static_cast<uint32_t>(number); // no overflow at INT32_MIN
  if (number <= 7) return kBasic[number];
  return 0x000000;
}

int32_t ColourNumberOf(uint32_t colorref) {
  for (int32_t n = 0; n < 8; ++n)
    if (kBasic[n] == colorref) return n;
  // Pixels hold 24 bits, so the negation never overflows.
  return -static_cast<int32_t>(colorref & 0xFFFFFF);
}
