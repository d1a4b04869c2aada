// Pixels, lines, rectangles and pattern fills.
#include <algorithm>

#include "platform/gdi_internal.h"

using namespace platform::gdi;
using platform::ColorrefOf;
using platform::PixelOf;

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
  Canvas c(hdc);
  if (!c.Valid()) return CLR_INVALID;
  colour &= 0xFFFFFF;
  const auto &v = c.View();
  // A pixel outside the bitmap sets nothing and answers 0, as recorded on
  // Windows.
  if (!c.Ok() || x < 0 || y < 0 || x >= v.width || y >= v.height) return 0;
  v.Row(y)[x] = PixelOf(colour);
  c.Touch(RECT{x, y, x + 1, y + 1});
  return colour;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  Canvas c(hdc);
  const auto &v = c.View();
  if (!c.Ok() || x < 0 || y < 0 || x >= v.width || y >= v.height) return CLR_INVALID;
  return ColorrefOf(v.Row(y)[x]);
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT *previous) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  {
    Canvas c(hdc);
    if (!c.Valid()) return FALSE;
    if (c.Ok()) {
      POINT p = c.Position();
      c.Touch(DrawLine(c.View(), p.x, p.y, x, y, c.Pen()));
    }
  }
  SetPosition(hdc, POINT{x, y});
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Canvas c(hdc);
  if (!c.Valid()) return FALSE;
  if (!c.Ok()) return TRUE;
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  // The right and bottom edges are outside; a box less than two pixels wide
  // or high draws nothing.
  if (r - l < 2 || b - t < 2) return TRUE;
  const auto &v = c.View();
  const PenData &pen = c.Pen();
  if (!c.Brush().null) {
    uint32_t fill = PixelOf(c.Brush().colour);
    if (pen.style == PS_NULL)
      FillBox(v, l, t, r - 1, b - 1, fill);
    else
      FillBox(v, l + 1, t + 1, r - 1, b - 1, fill);
  }
  if (pen.style != PS_NULL) {
    DrawLine(v, l, t, r - 1, t, pen);
    DrawLine(v, r - 1, t, r - 1, b - 1, pen);
    DrawLine(v, r - 1, b - 1, l, b - 1, pen);
    DrawLine(v, l, b - 1, l, t, pen);
  }
  int half = pen.width / 2;
  c.Touch(BoundsOf(l - half, t - half, r + pen.width, b + pen.width));
  return TRUE;
}

int FillRect(HDC hdc, const RECT *rect, HBRUSH brush) {
  if (!rect) return 0;
  BrushData data;
  {
    Table &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    Object *o = FindObject(t, brush);
    if (!o || o->type != OBJ_BRUSH) return 0;
    data = o->brush;
  }
  Canvas c(hdc);
  if (!c.Valid()) return 0;
  if (!c.Ok() || data.null) return 1;
  FillBox(c.View(), rect->left, rect->top, rect->right, rect->bottom, PixelOf(data.colour));
  c.Touch(*rect);
  return 1;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  if (rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS &&
      rop != WHITENESS)
    return FALSE;
  Canvas c(hdc, false);
  if (!c.Valid()) return FALSE;
  // A negative width or height extends to the left or upwards.
  int64_t l = x, t = y, r = int64_t{x} + width, b = int64_t{y} + height;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  const BrushData &brush = c.Brush();
  if (rop == PATCOPY && !brush.null && c.FillUniform(l, t, r, b, PixelOf(brush.colour)))
    return TRUE;
  c.Lock();
  if (!c.Ok()) return TRUE;
  const auto &v = c.View();
  l = std::max<int64_t>(l, 0);
  t = std::max<int64_t>(t, 0);
  r = std::min<int64_t>(r, v.width);
  b = std::min<int64_t>(b, v.height);
  if (l >= r || t >= b) return TRUE;
  uint32_t pattern = PixelOf(brush.colour);
  for (int64_t row = t; row < b; ++row) {
    uint32_t *p = v.Row(static_cast<int>(row));
    switch (rop) {
    case PATCOPY:
      if (!brush.null) std::fill(p + l, p + r, pattern);
      break;
    case PATINVERT:
      if (!brush.null)
        for (int64_t i = l; i < r; ++i) p[i] ^= pattern;
      break;
    case DSTINVERT:
      for (int64_t i = l; i < r; ++i) p[i] = ~p[i] & 0xFFFFFF;
      break;
    case BLACKNESS:
      std::fill(p + l, p + r, 0u);
      break;
    default:
      std::fill(p + l, p + r, 0xFFFFFFu);
      break;
    }
  }
  c.Touch(BoundsOf(l, t, r, b));
  return TRUE;
}
