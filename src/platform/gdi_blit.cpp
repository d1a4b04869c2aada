// Block transfers between contexts with the raster operations programs use,
// clipped at every edge of the source and of the destination.
#include <algorithm>
#include <vector>

#include "platform/gdi_internal.h"

using namespace platform::gdi;

namespace {

bool UsesSource(DWORD rop) {
  return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT ||
         rop == NOTSRCCOPY;
}

void Combine(uint32_t *d, const uint32_t *s, int64_t n, DWORD rop) {
  switch (rop) {
  case SRCCOPY:
    std::copy_n(s, n, d);
    break;
  case SRCPAINT:
    for (int64_t i = 0; i < n; ++i) d[i] |= s[i];
    break;
  case SRCAND:
    for (int64_t i = 0; i < n; ++i) d[i] &= s[i];
    break;
  case SRCINVERT:
    for (int64_t i = 0; i < n; ++i) d[i] ^= s[i];
    break;
  default: // NOTSRCCOPY
    for (int64_t i = 0; i < n; ++i) d[i] = ~s[i] & 0xFFFFFF;
    break;
  }
}

} // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
            DWORD rop) {
  if (!UsesSource(rop)) return PatBlt(dest, x, y, width, height, rop);
  Canvas d(dest, false), s(source, false);
  if (!d.Valid() || !s.Valid()) return FALSE;
  Canvas::LockBoth(d, s);
  if (!d.Ok() || !s.Ok()) return TRUE;
  // A negative width or height takes the block to the left of or above the
  // given corners, in both contexts alike.
  int64_t dx = x, dy = y, sx = xSource, sy = ySource, w = width, h = height;
  if (w < 0) {
    dx += w;
    sx += w;
    w = -w;
  }
  if (h < 0) {
    dy += h;
    sy += h;
    h = -h;
  }
  const auto &dv = d.View();
  const auto &sv = s.View();
  // Clip the block to both surfaces, moving both corners together.
  auto clip = [&w](int64_t &a, int64_t &b, int64_t limitA, int64_t limitB) {
    int64_t shift = std::max<int64_t>({0, -a, -b});
    a += shift;
    b += shift;
    w -= shift;
    w = std::min({w, limitA - a, limitB - b});
  };
  clip(dx, sx, dv.width, sv.width);
  int64_t cols = w;
  w = h;
  clip(dy, sy, dv.height, sv.height);
  int64_t rows = w;
  if (cols <= 0 || rows <= 0) return TRUE;
  // Within one surface the block may overlap itself: copy it out first.
  std::vector<uint32_t> copy;
  const uint32_t *from = nullptr;
  int64_t fromStride = sv.stride;
  if (dv.pixels == sv.pixels) {
    copy.resize(static_cast<size_t>(cols * rows));
    for (int64_t r = 0; r < rows; ++r)
      std::copy_n(sv.Row(static_cast<int>(sy + r)) + sx, cols, copy.data() + r * cols);
    from = copy.data();
    fromStride = cols;
  } else {
    from = sv.Row(static_cast<int>(sy)) + sx;
  }
  for (int64_t r = 0; r < rows; ++r)
    Combine(dv.Row(static_cast<int>(dy + r)) + dx, from + r * fromStride, cols, rop);
  d.Touch(BoundsOf(dx, dy, dx + cols, dy + rows));
  return TRUE;
}
