// PSET, PRESET, MOVETO and LINE.

#include "files/error_watch.h"
#include "graphics/colour.h"
#include "graphics/drawing_statements.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

int32_t Add32(int32_t a, int32_t b) { // wraps like the 32-bit original
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The point (x, y) that is the whole of TEXT; false when reading it failed
// or something follows it (the runtime error).
bool OnlyPoint(const std::string &text, int32_t &x, int32_t &y) {
  ErrorWatch watch;
  size_t pos = 0;
  if (!gfx::ReadPair(text, pos, x, y) || watch.Raised()) return false;
  if (pos == text.size()) return true;
  RuntimeError();
  return false;
}

} // namespace

void PSET(std::string &arg, ThreadIndex) {
  std::string text = StripBlanks(arg);
  ErrorWatch watch;
  size_t pos = 0;
  int32_t x, y;
  if (!gfx::ReadPair(text, pos, x, y) || watch.Raised()) return;
  E().graphics.lastX = x;
  E().graphics.lastY = y;
  int32_t colour = 7;
  if (pos < text.size()) {
    std::vector<std::string> args = gfx::SplitArguments(text.substr(pos));
    // ",colour" splits into the empty text before the comma and the colour.
    if (text[pos] != ',' || args.size() != 2) {
      RuntimeError();
      return;
    }
    colour = gfx::EvalIntOr(args[1], 7);
    if (watch.Raised()) return;
  }
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  COLORREF c = ColourOf(colour);
  DrawTwice(target, true, [&](HDC dc) { SetPixel(dc, x, y, c); });
}

void PRESET(std::string &arg, ThreadIndex) {
  int32_t x, y;
  if (!OnlyPoint(StripBlanks(arg), x, y)) return;
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  // The console background is already a COLORREF; transparent has no
  // pixel and leaves the point as it is.
  COLORREF c = E().background.load();
  if (c == kTransparentColour) return;
  DrawTwice(target, true, [&](HDC dc) { SetPixel(dc, x, y, c); });
}

void MOVETO(std::string &arg, ThreadIndex) {
  int32_t x, y;
  if (!OnlyPoint(StripBlanks(arg), x, y)) return;
  E().graphics.lastX = x;
  E().graphics.lastY = y;
}

void GraphicsLine(std::string &arg) {
  Engine &e = E();
  std::string text = StripBlanks(arg);
  ErrorWatch watch;
  size_t pos = 0;
  int32_t x1 = e.graphics.lastX, y1 = e.graphics.lastY;
  if (!text.empty() && text[0] == '(') {
    if (!gfx::ReadPair(text, pos, x1, y1) || watch.Raised()) return;
    e.graphics.lastX = x1;
    e.graphics.lastY = y1;
  }
  if (pos >= text.size() || text[pos] != '-') {
    RuntimeError();
    return;
  }
  ++pos;
  bool step = StartsWithNoCase(std::string_view(text).substr(pos), "step");
  if (step) pos += 4;
  int32_t x2, y2;
  if (!gfx::ReadPair(text, pos, x2, y2) || watch.Raised()) return;
  if (step) {
    x2 = Add32(x1, x2);
    y2 = Add32(y1, y2);
  }
  int32_t colour = 7, fill = 7;
  enum { kLine, kBox, kFilledBox } box = kLine;
  if (pos < text.size()) {
    std::vector<std::string> args = gfx::SplitArguments(text.substr(pos));
    if (text[pos] != ',' || args.size() > 4) {
      RuntimeError();
      return;
    }
    args.erase(args.begin()); // the empty text before the comma
    colour = gfx::EvalIntOr(args[0], 7);
    fill = colour;
    if (args.size() > 1) {
      if (EqualsNoCase(args[1], "b")) {
        box = kBox;
      } else if (EqualsNoCase(args[1], "bf")) {
        box = kFilledBox;
      } else if (!args[1].empty()) {
        RuntimeError();
        return;
      }
    }
    if (args.size() > 2 && box == kFilledBox && !args[2].empty()) fill = gfx::EvalInt(args[2]);
    if (watch.Raised()) return;
  }
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  const COLORREF c = ColourOf(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, c);
  HBRUSH brush = CreateSolidBrush(ColourOf(fill));
  DrawTwice(target, false, [&](HDC dc) {
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    if (box == kLine) {
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x2, y2);
      SetPixel(dc, x2, y2, c);
    } else {
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x1, y2);
      LineTo(dc, x2, y2);
      LineTo(dc, x2, y1);
      LineTo(dc, x1, y1);
      if (box == kFilledBox) Rectangle(dc, x1, y1, x2, y2);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
  });
  DeleteObject(pen);
  DeleteObject(brush);
  e.graphics.lastX = x2;
  e.graphics.lastY = y2;
}
