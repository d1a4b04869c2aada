#include "graphics/surface.h"

#include <algorithm>

#include "console/console.h"
#include "platform/bitmap_pixels.h"
#include "platform/pixels.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

// Fills the rectangle of DC with a surface's first colour.
void FillFirst(HDC dc, int x, int y, int w, int h, bool dark) {
  HGDIOBJ old = SelectObject(dc, GetStockObject(dark ? BLACK_BRUSH : WHITE_BRUSH));
  PatBlt(dc, x, y, w, h, PATCOPY);
  SelectObject(dc, old);
}

} // namespace

HDC WindowTable::Surface(HWND window, HBITMAP *bitmapOut) {
  std::lock_guard<std::mutex> lock(mutex_);
  int i = FindLocked(window);
  if (i < 0) return 0;
  WindowEntry &entry = entries_[i];
  if (bitmapOut) *bitmapOut = entry.bitmap;
  if (entry.dc) return entry.dc;
  const Engine &e = E();
  HDC screen = GetDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, e.surfaceWidth, e.surfaceHeight);
  HDC dc = CreateCompatibleDC(screen);
  if (screen) ReleaseDC(window, screen);
  if (!bitmap || !dc) {
    DeleteSurfaceObjects(dc, bitmap);
    return 0;
  }
  SelectObject(dc, bitmap);
  FillFirst(dc, 0, 0, e.surfaceWidth, e.surfaceHeight, entry.dark);
  entry.bitmap = bitmap;
  entry.dc = dc;
  if (bitmapOut) *bitmapOut = bitmap;
  return dc;
}

bool WindowTable::PeekSurface(HWND window, HDC &dc, bool &dark) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int i = FindLocked(window);
  if (i < 0) return false;
  dc = entries_[i].dc;
  dark = entries_[i].dark;
  return true;
}

void DeleteSurfaceObjects(HDC dc, HBITMAP bitmap) {
  if (dc) DeleteDC(dc);
  if (bitmap) DeleteObject(bitmap);
}

bool CurrentTarget(DrawTarget &target) {
  Engine &e = E();
  target.window = e.windows.Current();
  target.surface = e.windows.Surface(target.window, &target.bitmap);
  if (target.surface) return true;
  RuntimeError();
  return false;
}

void CopySurface(HWND window, HDC dest, int x, int y, int w, int h) {
  HDC dc = 0;
  bool dark = true;
  if (!E().windows.PeekSurface(window, dc, dark)) return;
  if (dc)
    BitBlt(dest, x, y, w, h, dc, x, y, SRCCOPY);
  else
    FillFirst(dest, x, y, w, h, dark);
}

SurfacePixels ReadSurface(HDC dc, HBITMAP bitmap, int width, int height) {
  SurfacePixels out;
  out.width = std::max(0, width);
  out.height = std::max(0, height);
  out.colours.assign(static_cast<size_t>(out.width) * out.height, 0);
  std::vector<uint32_t> pixels;
  if (platform::ReadBitmapPixels(bitmap, out.width, out.height, pixels)) {
    for (size_t i = 0; i < pixels.size(); ++i)
      out.colours[i] = platform::ColorrefOf(pixels[i] & 0xFFFFFF);
    return out;
  }
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.colours[static_cast<size_t>(y) * out.width + x] = GetPixel(dc, x, y) & 0xFFFFFF;
  return out;
}

void PresentSurface(HWND window) {
  const Engine &e = E();
  HDC dc = GetDC(window);
  if (!dc) return;
  CopySurface(window, dc, 0, 0, e.surfaceWidth, e.surfaceHeight);
  ReleaseDC(window, dc);
}

void PaintSurface(HWND window) {
  const Engine &e = E();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc) CopySurface(window, dc, 0, 0, e.surfaceWidth, e.surfaceHeight);
  EndPaint(window, &ps);
}

void RedrawText() {
  ConsoleWrite("");
}
