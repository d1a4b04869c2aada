#include "graphics/circle_geometry.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

// The drawing layer keeps coordinates within 2^27 either way, as the
// Windows graphics engine does; the box stays inside it whatever the
// radius, so no sum overflows.
constexpr int64_t kCoordinateLimit = int64_t{1} << 27;

int32_t Coordinate(int64_t v) {
  return static_cast<int32_t>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

// A radius truncated toward zero, within the coordinate limit (NaN is 0).
int64_t Radius(double r) {
  if (!(std::fabs(r) < static_cast<double>(kCoordinateLimit)))
    return std::isnan(r) ? 0 : (r < 0 ? -kCoordinateLimit : kCoordinateLimit);
  return static_cast<int64_t>(r);
}

} // namespace

RadialOffset OffsetForAngle(double a) {
  auto t = [](double d) { return static_cast<int32_t>(d); };
  if (a <= 78.5) return {78, t(a)};
  if (a <= 235.5) return {78 - t(a - 78.5), 78};
  if (a <= 392.5) return {-78, 78 - t(a - 235.5)};
  if (a <= 549.5) return {t(a - 392.5) - 78, -78};
  return {78, t(a - 549.5) - 78};
}

bool PlanCircle(int32_t x, int32_t y, double r, double start, double end, double aspect, bool fill,
                CircleFigure &out) {
  double horizontal = r, vertical = r;
  if (aspect < 1)
    vertical = r * aspect;
  else
    horizontal = r / aspect;
  int64_t h = Radius(horizontal), v = Radius(vertical);
  out.left = Coordinate(int64_t{x} - h);
  out.right = Coordinate(int64_t{x} + h);
  out.top = Coordinate(int64_t{y} - v);
  out.bottom = Coordinate(int64_t{y} + v);
  out.xStart = out.yStart = out.xEnd = out.yEnd = 0;
  if (start == 0 && end == 0) {
    out.kind = fill ? CircleFigure::kEllipse : CircleFigure::kFullArc;
    return true;
  }
  double a = start * 100, b = end * 100;
  // Written so that NaN angles are refused too.
  if (!(a >= -628 && a <= 628 && b >= -628 && b <= 628)) return false;
  out.kind = a < 0 || b < 0 ? CircleFigure::kPie : CircleFigure::kArc;
  RadialOffset s = OffsetForAngle(std::fabs(a)), e = OffsetForAngle(std::fabs(b));
  out.xStart = Coordinate(int64_t{x} + s.dx);
  out.yStart = Coordinate(int64_t{y} - s.dy);
  out.xEnd = Coordinate(int64_t{x} + e.dx);
  out.yEnd = Coordinate(int64_t{y} - e.dy);
  return true;
}

} // namespace gfx
