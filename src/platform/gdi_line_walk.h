// The pixel walk of a GDI line (included by gdi_internal.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace platform::gdi {

namespace detail {
// floor(a / b) for b > 0.
inline __int128 FloorDiv(__int128 a, __int128 b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
// The offset along the minor axis at step I of N for a total offset of D:
// I * D / N rounded to the nearest integer, halves towards the smaller value.
inline int64_t MinorOffset(int64_t i, int64_t d, int64_t n) {
  __int128 twice = static_cast<__int128>(2) * i * d - n; // 2N(I*D/N - 1/2)
  return static_cast<int64_t>(-FloorDiv(-twice, static_cast<__int128>(2) * n));
}
} // namespace detail

// The major axis has |dx| or |dy| steps, one pixel each; the end point is not
// drawn. A line of no length draws nothing.
template <typename F>
void WalkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const RECT &clip, F &&plot) {
  int64_t dx = x1 - x0, dy = y1 - y0;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
  if (n == 0) return;
  int64_t start = xMajor ? x0 : y0;
  int64_t step = (xMajor ? dx : dy) > 0 ? 1 : -1;
  int64_t lo = xMajor ? clip.left : clip.top;
  int64_t hi = xMajor ? clip.right : clip.bottom; // exclusive
  // Steps I with start + step * I within [lo, hi).
  int64_t iFirst, iLast;
  if (step > 0) {
    iFirst = lo - start;
    iLast = hi - 1 - start;
  } else {
    iFirst = start - (hi - 1);
    iLast = start - lo;
  }
  iFirst = std::max<int64_t>(iFirst, 0);
  iLast = std::min<int64_t>(iLast, n - 1);
  int64_t minorLo = xMajor ? clip.top : clip.left;
  int64_t minorHi = xMajor ? clip.bottom : clip.right;
  int64_t minorStart = xMajor ? y0 : x0;
  int64_t d = xMajor ? dy : dx;
  for (int64_t i = iFirst; i <= iLast; ++i) {
    int64_t major = start + step * i;
    int64_t minor = minorStart + detail::MinorOffset(i, d, n);
    if (minor < minorLo || minor >= minorHi) continue;
    if (xMajor)
      plot(major, minor);
    else
      plot(minor, major);
  }
}

} // namespace platform::gdi
