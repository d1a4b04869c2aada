#include "graphics/surface_statements.h"

#include "console/console.h"
#include "console/console_buffer.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "files/error_watch.h"
#include "graphics/colour.h"
#include "graphics/drawing_statements.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

void CLS(std::string &arg, ThreadIndex) {
  Engine &e = E();
  ErrorWatch watch;
  int32_t mode = StripBlanks(arg).empty() ? 1 : num::TruncInt32(EvalNumeric(arg));
  if (watch.Raised()) return;
  const HWND window = e.windows.Current();
  if (e.windows.FindEntry(window) < 0) {
    RuntimeError(); // SETWINDOW chose a window the runtime does not own
    return;
  }
  if (mode == 1 || mode == 3) {
    std::shared_ptr<ConsoleBuffer> buffer = e.windows.Console(window);
    if (buffer) {
      // An input waiting on this window loses its caret.
      if (buffer->caretEnabled.load() && GetForegroundWindow() == window)
        SendMessageA(window, WM_KILLFOCUS, 0, 0);
      std::lock_guard<std::mutex> lock(buffer->mutex);
      buffer->Clear();
    }
  }
  if (mode == 2 || mode == 3) {
    DrawTarget target;
    if (!CurrentTarget(target)) return;
    // Black for the main window and "PROMPT" windows, white for the rest:
    // the same choice as the surface's first fill.
    HDC made = 0;
    bool dark = true;
    e.windows.PeekSurface(window, made, dark);
    dark = dark || window == e.mainWindow;
    HGDIOBJ old = SelectObject(target.surface, GetStockObject(dark ? BLACK_BRUSH : WHITE_BRUSH));
    PatBlt(target.surface, 0, 0, e.surfaceWidth, e.surfaceHeight, PATCOPY);
    SelectObject(target.surface, old);
  }
  PresentSurface(window);
  RedrawText();
}

void COLOR(std::string &arg, ThreadIndex) {
  Engine &e = E();
  std::string text = StripBlanks(arg);
  std::vector<std::string> args = gfx::SplitArguments(text);
  if (args.empty()) args.emplace_back();
  ErrorWatch watch;
  uint32_t foreground = ColourOf(gfx::EvalInt(args[0]));
  if (watch.Raised()) return;
  e.foreground = foreground;
  if (args.size() < 2) return; // the background stays as it was
  if (args.size() > 2) {
    RuntimeError(); // the foreground has already changed
    return;
  }
  int32_t n = gfx::EvalInt(args[1]);
  if (watch.Raised()) return;
  e.background = n == -1 ? kTransparentColour : ColourOf(n);
}

void SCROLL(std::string &arg, ThreadIndex) {
  std::vector<std::string> args;
  if (!gfx::ExactArguments(StripBlanks(arg), 2, args)) return;
  ErrorWatch watch;
  const int32_t dx = gfx::EvalInt(args[0]), dy = gfx::EvalInt(args[1]);
  if (watch.Raised()) return;
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  const Engine &e = E();
  const int w = e.surfaceWidth, h = e.surfaceHeight;
  HBITMAP copy = CreateCompatibleBitmap(target.surface, w, h);
  HDC memory = CreateCompatibleDC(target.surface);
  HGDIOBJ oldBitmap = SelectObject(memory, copy);
  BitBlt(memory, 0, 0, w, h, target.surface, 0, 0, SRCCOPY);
  HGDIOBJ oldBrush = SelectObject(target.surface, GetStockObject(BLACK_BRUSH));
  PatBlt(target.surface, 0, 0, w, h, PATCOPY);
  SelectObject(target.surface, oldBrush);
  // The picture moves by (dx, dy); whatever lies beyond the surface is
  // clipped, and the uncovered band stays black.
  BitBlt(target.surface, dx, dy, w, h, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  DeleteObject(copy);
  PresentSurface(target.window);
  RedrawText();
}

void SETWINDOW(std::string &arg, ThreadIndex) {
  ErrorWatch watch;
  int32_t window = gfx::EvalInt(StripBlanks(arg));
  if (watch.Raised()) return;
  E().windows.SetCurrent(static_cast<HWND>(static_cast<uint32_t>(window)));
}
