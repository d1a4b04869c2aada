#include "graphics/colour.h"

uint32_t ColourOf(int32_t number) {
  static constexpr uint32_t kBasic[8] = {0x000000, 0xFF0000, 0x0000FF, 0xFF00FF,
                                         0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
  if (number < 0) return 0u - static_cast<uint32_t>(number); // no overflow at INT32_MIN
  if (number <= 7) return kBasic[number];
  return 0x000000;
}
