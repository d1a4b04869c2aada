// Ellipses, arcs and pies. The outline is the midpoint ellipse of the box
// with its right and bottom edges left out, worked in doubled coordinates so
// that even and odd sizes share one algorithm; the brush fills the pixels
// between the outline's two sides on each row. Arcs and pies take the
// outline pixels counter-clockwise from the start ray to the end ray.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/gdi_internal.h"

namespace platform::gdi {
namespace {

// Larger boxes are not drawn: the outline walk is linear in the size.
constexpr int64_t kMaxSide = int64_t{1} << 20;

struct Point64 {
  int64_t x, y;
  bool operator==(const Point64 &) const = default;
};

// The outline points of one quadrant, in doubled coordinates from the
// centre (X right, Y up, both >= 0), from the top (X smallest) to the right
// end (Y smallest). W and H are the doubled radii.
std::vector<Point64> Quadrant(int64_t w, int64_t h) {
  std::vector<Point64> points;
  __int128 a = static_cast<__int128>(h) * h, b = static_cast<__int128>(w) * w, r = a * b;
  auto f = [&](int64_t x, int64_t y) {
    return static_cast<__int128>(x) * x * a + static_cast<__int128>(y) * y * b - r;
  };
  int64_t x = w % 2, y = h;
  // Shallow part: one step right per point; down when the midpoint below the
  // next point is on or outside the curve.
  while (a * x < b * y) {
    points.push_back({x, y});
    if (f(x + 2, y - 1) >= 0) y -= 2;
    x += 2;
  }
  // Steep part: one step down per point; right when the midpoint is inside.
  while (y >= 0) {
    points.push_back({x, y});
    if (f(x + 1, y - 2) < 0) x += 2;
    y -= 2;
  }
  return points;
}

struct Outline {
  int64_t cx2 = 0, cy2 = 0;  // doubled centre in pixel coordinates
  std::vector<Point64> ring; // pixels, counter-clockwise from the right end
};

// The outline of the box [l, r) x [t, b); empty for boxes too small or too large.
Outline MakeOutline(int64_t l, int64_t t, int64_t r, int64_t b) {
  Outline o;
  int64_t w = r - l - 1, h = b - t - 1;
  if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide) return o;
  o.cx2 = l + r - 1;
  o.cy2 = t + b - 1;
  std::vector<Point64> q = Quadrant(w, h);
  auto add = [&](int64_t X, int64_t Y) {
    Point64 p{(o.cx2 + X) / 2, (o.cy2 - Y) / 2};
    if (o.ring.empty() || !(o.ring.back() == p)) o.ring.push_back(p);
  };
  for (auto it = q.rbegin(); it != q.rend(); ++it) add(it->x, it->y);   // upper right
  for (const auto &p : q) add(-p.x, p.y);                               // upper left
  for (auto it = q.rbegin(); it != q.rend(); ++it) add(-it->x, -it->y); // lower left
  for (const auto &p : q) add(p.x, -p.y);                               // lower right
  while (o.ring.size() > 1 && o.ring.back() == o.ring.front()) o.ring.pop_back();
  return o;
}

// Angle of a pixel around the doubled centre, counter-clockwise on screen,
// in [0, 2 pi).
double AngleOf(const Outline &o, double x2, double y2) {
  double a = std::atan2(-(y2 - static_cast<double>(o.cy2)), x2 - static_cast<double>(o.cx2));
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

double PixelAngle(const Outline &o, const Point64 &p) {
  return AngleOf(o, 2.0 * static_cast<double>(p.x), 2.0 * static_cast<double>(p.y));
}

// Angle of the ray from the centre through the point (X, Y).
double RayAngle(const Outline &o, int64_t x, int64_t y) {
  return AngleOf(o, 2.0 * static_cast<double>(x), 2.0 * static_cast<double>(y));
}

// The outline pixels from the start ray counter-clockwise to the end ray;
// the last TRIM of them are left out, as GDI stops short of the end ray.
// Equal rays give the whole outline, an arc's without one pixel.
std::vector<Point64> ArcPixels(const Outline &o, double start, double end, size_t trim,
                               bool wholeWhenFull) {
  size_t n = o.ring.size();
  std::vector<std::pair<double, size_t>> order;
  order.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    double d = PixelAngle(o, o.ring[i]) - start;
    if (d < 0) d += 2 * std::numbers::pi;
    order.emplace_back(d, i);
  }
  std::sort(order.begin(), order.end());
  double sweep = end - start;
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  std::vector<Point64> out;
  bool full = start == end;
  for (size_t k = 0; k < order.size(); ++k) {
    if (full ? k + 1 == order.size() && !wholeWhenFull : order[k].first > sweep) break;
    out.push_back(o.ring[order[k].second]);
  }
  if (!full) out.resize(out.size() > trim ? out.size() - trim : 0);
  return out;
}

// Fills the rows between the outline's sides, for pixels that KEEP accepts.
template <typename Keep>
void FillInside(const PixelView &v, const Outline &o, uint32_t pixel, Keep &&keep) {
  if (o.ring.empty()) return;
  int64_t top = o.ring.front().y, bottom = top;
  for (const auto &p : o.ring) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  int64_t first = std::max<int64_t>(top, 0), last = std::min<int64_t>(bottom, v.height - 1);
  if (first > last) return;
  size_t rows = static_cast<size_t>(last - first + 1);
  std::vector<int64_t> leftMax(rows, INT64_MIN), rightMin(rows, INT64_MAX);
  for (const auto &p : o.ring) {
    if (p.y < first || p.y > last) continue;
    size_t i = static_cast<size_t>(p.y - first);
    if (2 * p.x <= o.cx2)
      leftMax[i] = std::max(leftMax[i], p.x);
    else
      rightMin[i] = std::min(rightMin[i], p.x);
  }
  for (size_t i = 0; i < rows; ++i) {
    if (leftMax[i] == INT64_MIN || rightMin[i] == INT64_MAX) continue;
    int y = static_cast<int>(first + static_cast<int64_t>(i));
    int64_t x0 = std::max<int64_t>(leftMax[i] + 1, 0);
    int64_t x1 = std::min<int64_t>(rightMin[i], v.width);
    for (int64_t x = x0; x < x1; ++x)
      if (keep(x, y)) v.Row(y)[x] = pixel;
  }
}

void StrokePixels(const PixelView &v, const std::vector<Point64> &pixels, const PenData &pen) {
  if (pen.style == PS_NULL) return;
  uint32_t pixel = PixelOf(pen.colour);
  for (const auto &p : pixels) Plot(v, p.x, p.y, pen.width, pixel);
}

enum class Figure { kEllipse, kArc, kPie };

BOOL DrawFigure(HDC hdc, Figure figure, int left, int top, int right, int bottom, int xs, int ys,
                int xe, int ye) {
  Canvas c(hdc);
  if (!c.Valid()) return FALSE;
  if (!c.Ok()) return TRUE;
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  Outline o = MakeOutline(l, t, r, b);
  if (o.ring.empty()) return TRUE;
  const PixelView &v = c.View();
  const PenData &pen = c.Pen();
  const BrushData &brush = c.Brush();
  if (figure == Figure::kEllipse) {
    if (!brush.null) FillInside(v, o, PixelOf(brush.colour), [](int64_t, int64_t) { return true; });
    StrokePixels(v, o.ring, pen);
  } else {
    double start = RayAngle(o, xs, ys), end = RayAngle(o, xe, ye);
    if (xs == xe && ys == ye) end = start;
    std::vector<Point64> arc =
        ArcPixels(o, start, end, figure == Figure::kArc ? 2 : 1, figure == Figure::kPie);
    if (figure == Figure::kPie) {
      double sweep = end - start;
      if (sweep <= 0) sweep += 2 * std::numbers::pi;
      if (!brush.null)
        FillInside(v, o, PixelOf(brush.colour), [&](int64_t x, int64_t y) {
          double d = AngleOf(o, 2.0 * static_cast<double>(x), 2.0 * static_cast<double>(y)) - start;
          if (d < 0) d += 2 * std::numbers::pi;
          return d < sweep;
        });
      StrokePixels(v, arc, pen);
      if (!arc.empty()) {
        int64_t cx = (l + r) / 2, cy = (t + b) / 2;
        DrawLine(v, arc.back().x, arc.back().y, cx, cy, pen);
        DrawLine(v, cx, cy, arc.front().x, arc.front().y, pen);
      }
    } else {
      StrokePixels(v, arc, pen);
    }
  }
  int half = pen.width / 2;
  c.Touch(BoundsOf(l - half, t - half, r + pen.width, b + pen.width));
  return TRUE;
}

} // namespace
} // namespace platform::gdi

using namespace platform::gdi;

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return DrawFigure(hdc, Figure::kEllipse, left, top, right, bottom, 0, 0, 0, 0);
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
         int yEnd) {
  return DrawFigure(hdc, Figure::kArc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
         int yEnd) {
  return DrawFigure(hdc, Figure::kPie, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}
