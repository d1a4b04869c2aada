// The backing store of each window: its client-area pixels, kept with the
// window in the window manager and sized to the client area.
#include <algorithm>

#include "platform/pixels.h"
#include "platform/user_internal.h"

namespace platform {
namespace {

// Gives STORE the size WIDTH x HEIGHT, keeping the top-left pixels.
void Resize(WindowPixels &store, int width, int height) {
  std::lock_guard<std::mutex> lock(store.mutex);
  if (store.width == width && store.height == height) return;
  // A store of one colour stays one while what it gains is of that colour.
  if (!store.HasPixels() &&
      (store.uniform == kBlankPixel || (width <= store.width && height <= store.height))) {
    store.width = width;
    store.height = height;
    store.dirty = RECT{0, 0, width, height};
    return;
  }
  store.View(); // the one colour made into pixels, to be kept below
  PixelBuffer pixels(static_cast<size_t>(width) * static_cast<size_t>(height), kBlankPixel);
  int keepW = std::min(width, store.width), keepH = std::min(height, store.height);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(store.pixels.begin() + static_cast<ptrdiff_t>(y) * store.width, keepW,
                pixels.begin() + static_cast<ptrdiff_t>(y) * width);
  store.pixels = std::move(pixels);
  store.width = width;
  store.height = height;
  store.dirty = RECT{0, 0, width, height};
}

} // namespace

PixelView WindowPixels::View() {
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (pixels.empty() && count > 0) pixels.assign(count, uniform);
  return {pixels.data(), width, height, width};
}

void WindowPixels::FillAll(uint32_t pixel) {
  if (pixels.empty()) {
    uniform = pixel;
  } else {
    std::fill(pixels.begin(), pixels.end(), pixel);
  }
  MarkDirty(RECT{0, 0, width, height});
}

void WindowPixels::MarkDirty(const RECT &r) {
  RECT c{std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, width),
         std::min<LONG>(r.bottom, height)};
  if (c.left >= c.right || c.top >= c.bottom) return;
  if (dirty.left >= dirty.right || dirty.top >= dirty.bottom) {
    dirty = c;
    return;
  }
  dirty.left = std::min(dirty.left, c.left);
  dirty.top = std::min(dirty.top, c.top);
  dirty.right = std::max(dirty.right, c.right);
  dirty.bottom = std::max(dirty.bottom, c.bottom);
}

std::shared_ptr<WindowPixels> WindowBackingStore(HWND hwnd) {
  std::shared_ptr<WindowPixels> store;
  int width, height;
  {
    user::State &s = user::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    user::Window *w = user::Find(s, hwnd);
    if (!w) return nullptr;
    if (!w->pixels) w->pixels = std::make_shared<WindowPixels>();
    store = w->pixels;
    // Client sizes are limited to what a screen can hold.
    width = std::clamp<LONG>(w->rect.right - w->rect.left, 0, 16384);
    height = std::clamp<LONG>(w->rect.bottom - w->rect.top, 0, 16384);
  }
  // The window manager's mutex is never held while a store is locked.
  Resize(*store, width, height);
  return store;
}

} // namespace platform
