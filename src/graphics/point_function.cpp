// Point: colour numbers back from the pixels of the current window's surface.
#include "expr/number_text.h"
#include "files/error_watch.h"
#include "graphics/colour.h"
#include "graphics/drawing_statements.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

std::string PointFunction(std::string_view args, ThreadIndex) {
  std::vector<std::string> parts = gfx::SplitArguments(args);
  if (parts.size() < 2 || parts[0].empty()) {
    RuntimeError();
    return "0";
  }
  // y is the whole rest of the text after the first comma.
  std::string_view rest = args.substr(parts[0].size() + 1);
  ErrorWatch watch;
  const int32_t x = gfx::EvalInt(parts[0]), y = gfx::EvalInt(rest);
  if (watch.Raised()) return "0";
  Engine &e = E();
  const HWND window = e.windows.Current();
  HDC dc = 0;
  bool dark = true;
  if (!e.windows.PeekSurface(window, dc, dark)) {
    RuntimeError(); // the current window is no runtime window
    return "0";
  }
  // Outside the surface there is no pixel: -1, not a colour number that a
  // pixel could give back as the original's negated CLR_INVALID (1) was.
  if (x < 0 || y < 0 || x >= e.surfaceWidth || y >= e.surfaceHeight) return "-1";
  uint32_t colour = dark ? 0x000000 : 0xFFFFFF; // a surface not drawn on yet
  if (dc) colour = GetPixel(dc, x, y);
  if (colour == CLR_INVALID) return "-1";
  return num::FormatD(ColourNumberOf(colour));
}
