#include "graphics/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/console.h"
#include "graphics/surface.h"
#include "platform/png_write.h"
#include "platform/window_shots.h"
#include "runtime/engine.h"

namespace {

// The main window's picture as 0x00RRGGBB pixels.
std::vector<uint32_t> ComposeMainWindow(int width, int height) {
  const Engine &e = E();
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
  HBITMAP bitmap = CreateCompatibleBitmap(0, width, height);
  HDC dc = CreateCompatibleDC(0);
  if (!bitmap || !dc) {
    DeleteSurfaceObjects(dc, bitmap);
    return pixels;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  CopySurface(e.mainWindow, dc, 0, 0, width, height);
  DrawConsoleLayer(e.mainWindow, dc);
  SurfacePixels read = ReadSurface(dc, bitmap, width, height);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = platform::PixelOf(read.colours[i]);
  SelectObject(dc, old);
  DeleteSurfaceObjects(dc, bitmap);
  return pixels;
}

} // namespace

void WriteScreenshot() {
  const char *path = std::getenv("QUILLRUNNER_SCREENSHOT");
  if (!path || !*path) return;
  const Engine &e = E();
  const int width = e.surfaceWidth, height = e.surfaceHeight;
  if (width <= 0 || height <= 0) return;
  std::vector<uint32_t> pixels = ComposeMainWindow(width, height);
  platform::PixelView view{pixels.data(), width, height, width};
  std::string error;
  if (!platform::WritePng(path, view, error))
    std::fprintf(stderr, "QUILLRUNNER_SCREENSHOT: cannot write %s: %s\n", path, error.c_str());
}

void WriteWindowShots() {
  const char *dir = std::getenv("QUILLRUNNER_WINDOW_SHOTS");
  if (!dir || !*dir) return;
  std::string error;
  if (!platform::WriteWindowShots(dir, E().mainWindow, error))
    std::fprintf(stderr, "QUILLRUNNER_WINDOW_SHOTS: cannot write %s\n", error.c_str());
}
