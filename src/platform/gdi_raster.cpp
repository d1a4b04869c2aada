// Spans, boxes, pen stamps and lines on a locked pixel view, clipped to it.
#include <algorithm>

#include "platform/gdi_internal.h"

namespace platform::gdi {

RECT BoundsOf(int64_t l, int64_t t, int64_t r, int64_t b) {
  auto c = [](int64_t v) {
    return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return RECT{c(l), c(t), c(r), c(b)};
}

void FillSpan(const PixelView &v, int y, int64_t x0, int64_t x1, uint32_t pixel) {
  if (y < 0 || y >= v.height) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, v.width);
  if (x0 >= x1) return;
  std::fill(v.Row(y) + x0, v.Row(y) + x1, pixel);
}

void FillBox(const PixelView &v, int64_t l, int64_t t, int64_t r, int64_t b, uint32_t pixel) {
  t = std::max<int64_t>(t, 0);
  b = std::min<int64_t>(b, v.height);
  for (int64_t y = t; y < b; ++y) FillSpan(v, static_cast<int>(y), l, r, pixel);
}

void Plot(const PixelView &v, int64_t x, int64_t y, int width, uint32_t pixel) {
  if (width <= 1) {
    if (x >= 0 && y >= 0 && x < v.width && y < v.height) v.Row(static_cast<int>(y))[x] = pixel;
    return;
  }
  int64_t half = width / 2;
  FillBox(v, x - half, y - half, x - half + width, y - half + width, pixel);
}

RECT DrawLine(const PixelView &v, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
              const PenData &pen) {
  if (pen.style == PS_NULL) return RECT{};
  uint32_t pixel = PixelOf(pen.colour);
  int width = std::max(pen.width, 1);
  int64_t half = width / 2;
  // Steps whose stamp can reach the view.
  RECT clip = BoundsOf(-(width - half) + 1, -(width - half) + 1, v.width + half, v.height + half);
  WalkLine(x0, y0, x1, y1, clip, [&](int64_t x, int64_t y) { Plot(v, x, y, width, pixel); });
  return BoundsOf(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + width - half,
                  std::max(y0, y1) + width - half);
}

} // namespace platform::gdi
