// CIRCLE: ellipses, arcs and pies.

#include "expr/eval.h"
#include "files/error_watch.h"
#include "graphics/circle_geometry.h"
#include "graphics/colour.h"
#include "graphics/drawing_statements.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

void CIRCLE(std::string &arg, ThreadIndex) {
  std::string text = StripBlanks(arg);
  ErrorWatch watch;
  int32_t x, y;
  std::vector<std::string> args;
  // The radius and at most six more: colour, start, end, aspect, F, fill
  // colour.
  if (!gfx::ReadPointAndArguments(text, x, y, 1, 7, args)) return;
  auto real = [&](size_t i, double fallback) {
    return i < args.size() && !args[i].empty() ? EvalNumeric(args[i]) : fallback;
  };
  double r = EvalNumeric(args[0]);
  int32_t colour = args.size() > 1 ? gfx::EvalIntOr(args[1], 7) : 7;
  double start = real(2, 0), end = real(3, 0), aspect = real(4, 1);
  bool fill = false;
  int32_t fillColour = colour;
  if (args.size() > 5) {
    if (!EqualsNoCase(args[5], "f")) {
      RuntimeError();
      return;
    }
    fill = true;
    if (args.size() > 6 && !args[6].empty()) fillColour = gfx::EvalInt(args[6]);
  }
  if (watch.Raised()) return;
  gfx::CircleFigure figure;
  if (!gfx::PlanCircle(x, y, r, start, end, aspect, fill, figure)) {
    RuntimeError();
    return;
  }
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  HPEN pen = CreatePen(PS_SOLID, 1, ColourOf(colour));
  HBRUSH brush = fill ? CreateSolidBrush(ColourOf(fillColour)) : 0;
  HGDIOBJ brushToUse = fill ? brush : GetStockObject(NULL_BRUSH);
  DrawTwice(target, true, [&](HDC dc) {
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brushToUse);
    const gfx::CircleFigure &f = figure;
    switch (f.kind) {
    case gfx::CircleFigure::kEllipse:
      Ellipse(dc, f.left, f.top, f.right, f.bottom);
      break;
    case gfx::CircleFigure::kFullArc:
    case gfx::CircleFigure::kArc:
      Arc(dc, f.left, f.top, f.right, f.bottom, f.xStart, f.yStart, f.xEnd, f.yEnd);
      break;
    case gfx::CircleFigure::kPie:
      Pie(dc, f.left, f.top, f.right, f.bottom, f.xStart, f.yStart, f.xEnd, f.yEnd);
      break;
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
  });
  DeleteObject(pen);
  if (brush) DeleteObject(brush);
}
