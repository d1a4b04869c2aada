#include <algorithm>
#include <cstring>

#include "platform/bitmap_pixels.h"
#include "platform/gdi_internal.h"

namespace platform {

bool ReadBitmapPixels(HBITMAP bitmap, int width, int height, std::vector<uint32_t> &out) {
  std::shared_ptr<gdi::Surface> surface;
  {
    gdi::Table &t = gdi::T();
    std::lock_guard<std::mutex> lock(t.mutex);
    gdi::Object *o = gdi::FindObject(t, bitmap);
    if (!o || o->type != OBJ_BITMAP || !o->surface) return false;
    surface = o->surface;
  }
  width = std::max(0, width);
  height = std::max(0, height);
  out.assign(static_cast<size_t>(width) * height, 0);
  std::lock_guard<std::mutex> lock(surface->mutex);
  const int w = std::min(width, surface->width), h = std::min(height, surface->height);
  for (int y = 0; y < h; ++y)
    std::memcpy(out.data() + static_cast<size_t>(y) * width,
                surface->pixels.data() + static_cast<size_t>(y) * surface->width,
                static_cast<size_t>(w) * sizeof(uint32_t));
  return true;
}

} // namespace platform
