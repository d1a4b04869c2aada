// Backing stores: one pixel buffer per window at its client size, kept while
// the window lives. Window contexts draw into it; the display driver
// presents its dirty rectangle.
#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "platform/pixels.h"
#include "platform/user_internal.h"

namespace {

// New pixels (a first store, or the band a resize adds) show the class
// background, which is white for every class the engine registers.
constexpr uint32_t kBackground = 0x00FFFFFF;

struct Stores {
  std::mutex mutex;
  std::unordered_map<HWND, std::shared_ptr<platform::WindowPixels>> byWindow;
};

Stores &St() {
  static auto *s = new Stores; // never destroyed: threads may outlive main
  return *s;
}

// Gives STORE the size WIDTH x HEIGHT, keeping the pixels of the top-left
// corner both sizes share; the whole store becomes dirty (the caller holds
// its mutex).
void Resize(platform::WindowPixels &store, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height),
                               kBackground);
  int keepW = std::min(width, store.width);
  int keepH = std::min(height, store.height);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(store.pixels.begin() + static_cast<ptrdiff_t>(y) * store.width, keepW,
                pixels.begin() + static_cast<ptrdiff_t>(y) * width);
  store.pixels.swap(pixels);
  store.width = width;
  store.height = height;
  store.dirty = RECT{0, 0, width, height};
}

} // namespace

namespace platform {

void WindowPixels::MarkDirty(const RECT &r) {
  RECT c{std::max(r.left, LONG{0}), std::max(r.top, LONG{0}), std::min(r.right, LONG(width)),
         std::min(r.bottom, LONG(height))};
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
  RECT client;
  Stores &s = St();
  if (!GetClientRect(hwnd, &client)) {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.byWindow.erase(hwnd);
    return nullptr;
  }
  int width = std::max<LONG>(0, client.right - client.left);
  int height = std::max<LONG>(0, client.bottom - client.top);
  std::shared_ptr<WindowPixels> store;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    auto &slot = s.byWindow[hwnd];
    if (!slot) slot = std::make_shared<WindowPixels>();
    store = slot;
  }
  std::lock_guard<std::mutex> lock(store->mutex);
  if (store->width != width || store->height != height ||
      store->pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    Resize(*store, width, height);
  return store;
}

} // namespace platform

namespace platform::user {

void ForgetBackingStore(HWND hwnd) {
  Stores &s = St();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.byWindow.erase(hwnd);
}

} // namespace platform::user
