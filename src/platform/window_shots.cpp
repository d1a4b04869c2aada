// Composes user windows for the headless captures: a top-level window's
// client pixels, then its visible children's at their positions (later
// children over earlier ones, each child's own children over it).
#include "platform/window_shots.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/menu_paint.h"
#include "platform/pixels.h"
#include "platform/png_write.h"
#include "platform/user_internal.h"
#include "platform/winuser_window.h"

namespace platform {
namespace {

using user::Find;
using user::S;
using user::State;
using user::Window;

struct Layer {
  HWND hwnd;
  int x, y; // client origin within the top-level window's client area
};

// The visible tree under TOP in drawing order (lock held).
void CollectLayers(State &s, HWND hwnd, int x, int y, std::vector<Layer> &out, int depth) {
  Window *w = Find(s, hwnd);
  if (!w || !w->visible || depth > 64) return;
  out.push_back({hwnd, x, y});
  for (HWND child : w->children) {
    Window *c = Find(s, child);
    if (!c) continue;
    CollectLayers(s, child, x + c->rect.left, y + c->rect.top, out, depth + 1);
  }
}

void Blit(std::vector<uint32_t> &dest, int dw, int dh, WindowPixels &src, int x, int y) {
  std::lock_guard<std::mutex> lock(src.mutex);
  PixelView view = src.View();
  for (int row = 0; row < src.height; ++row) {
    const int dy = y + row;
    if (dy < 0 || dy >= dh) continue;
    for (int col = 0; col < src.width; ++col) {
      const int dx = x + col;
      if (dx < 0 || dx >= dw) continue;
      dest[static_cast<size_t>(dy) * dw + dx] = view.Row(row)[col];
    }
  }
}

} // namespace

bool WriteWindowShots(const std::string &dir, HWND excluded, std::string &error) {
  State &s = S();
  std::vector<HWND> tops;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    for (const auto &[hwnd, w] : s.windows)
      if (!w.parent && w.visible && hwnd != excluded && !w.destroying) tops.push_back(hwnd);
  }
  // Handles grow with each creation, so their order is the creation order.
  std::sort(tops.begin(), tops.end());
  bool ok = true;
  int n = 0;
  const DWORD self = GetCurrentThreadId();
  for (HWND top : tops) {
    std::vector<Layer> layers;
    std::string caption;
    HMENU menu = 0;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      if (Window *w = Find(s, top)) {
        caption = w->text;
        menu = w->menu;
      }
      // A menu bar is drawn above the client area.
      CollectLayers(s, top, 0, menu ? kMenuBarHeight : 0, layers, 0);
    }
    if (layers.empty()) continue;
    // What still waits to paint in the calling thread is painted now (a
    // window of another thread is taken as it is).
    for (const Layer &layer : layers) {
      bool paint = false;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        Window *w = Find(s, layer.hwnd);
        paint = w && w->needsPaint && w->thread == self;
      }
      if (paint) SendMessageA(layer.hwnd, WM_PAINT, 0, 0);
    }
    std::shared_ptr<WindowPixels> base = WindowBackingStore(top);
    if (!base) continue;
    int width, height;
    {
      std::lock_guard<std::mutex> lock(base->mutex);
      width = base->width;
      height = base->height + (menu ? kMenuBarHeight : 0);
    }
    ++n;
    const std::string stem = dir + "/" + std::to_string(n);
    if (width > 0 && height > 0) {
      std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFFFFFF);
      for (const Layer &layer : layers)
        if (auto store = WindowBackingStore(layer.hwnd))
          Blit(pixels, width, height, *store, layer.x, layer.y);
      PixelView view{pixels.data(), width, height, width};
      if (menu) PaintMenuBar(menu, view);
      std::string why;
      if (!WritePng(stem + ".png", view, why)) {
        ok = false;
        error = stem + ".png: " + why;
      }
    }
    if (FILE *f = std::fopen((stem + ".txt").c_str(), "wb")) {
      std::fwrite(caption.data(), 1, caption.size(), f);
      std::fputc('\n', f);
      if (std::fclose(f) != 0) {
        ok = false;
        error = stem + ".txt: cannot write";
      }
    } else {
      ok = false;
      error = stem + ".txt: cannot create";
    }
  }
  return ok;
}

} // namespace platform
