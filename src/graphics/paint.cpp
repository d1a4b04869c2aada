// PAINT: the flood fill of a region of the current window's surface.

#include "files/error_watch.h"
#include "graphics/colour.h"
#include "graphics/drawing_statements.h"
#include "graphics/flood_fill.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

// The fill works on a copy of the surface's pixels read in one piece, and
// draws each span it fills into the surface as a line in the fill pen.
class SurfaceCanvas {
public:
  SurfaceCanvas(HDC dc, SurfacePixels pixels, uint32_t fill)
      : dc_(dc), pixels_(std::move(pixels)), fill_(fill) {}
  int32_t Width() const { return pixels_.width; }
  int32_t Height() const { return pixels_.height; }
  uint32_t Get(int32_t x, int32_t y) const { return pixels_.At(x, y); }
  void Row(int32_t left, int32_t right, int32_t y) {
    uint32_t *row = pixels_.colours.data() + static_cast<size_t>(y) * pixels_.width;
    for (int32_t x = left; x <= right; ++x) row[x] = fill_;
    MoveToEx(dc_, left, y, nullptr);
    LineTo(dc_, right + 1, y);
  }

private:
  HDC dc_;
  SurfacePixels pixels_;
  uint32_t fill_;
};

} // namespace

void PAINT(std::string &arg, ThreadIndex) {
  std::string text = StripBlanks(arg);
  ErrorWatch watch;
  int32_t x, y;
  std::vector<std::string> args;
  if (!gfx::ReadPointAndArguments(text, x, y, 1, 2, args)) return;
  const uint32_t fill = ColourOf(gfx::EvalInt(args[0]));
  const uint32_t border = ColourOf(args.size() > 1 ? gfx::EvalInt(args[1]) : -1);
  if (watch.Raised()) return;
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  const Engine &e = E();
  // Pixels hold 24 bits: the fill is compared as it will read back, so that
  // every span drawn counts as filled; a border beyond 24 bits never
  // matches any pixel.
  const uint32_t fillPixel = fill & 0xFFFFFF;
  HPEN pen = CreatePen(PS_SOLID, 1, fill);
  HGDIOBJ oldPen = SelectObject(target.surface, pen);
  SurfaceCanvas canvas(target.surface,
                       ReadSurface(target.surface, target.bitmap, e.surfaceWidth, e.surfaceHeight),
                       fillPixel);
  gfx::FloodFill(canvas, x, y, fillPixel, border);
  SelectObject(target.surface, oldPen);
  DeleteObject(pen);
  PresentSurface(target.window);
  RedrawText();
}
