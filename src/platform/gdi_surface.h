// Direct access to the pixels of a memory context's bitmap, for whole-surface
// work (flood fill, reading points) that would cost a GetPixel/SetPixel call
// per pixel otherwise.
#pragma once

#include <mutex>

#include "platform/pixels.h"
#include "platform/wingdi.h"

namespace platform {

// The pixels of the bitmap selected into MEMORYDC (0x00RRGGBB, rows top to
// bottom); an empty view when MEMORYDC is no memory context or has only its
// initial 1x1 bitmap. The view stays valid while the bitmap stays selected.
// Use it under the same discipline as drawing: one thread draws into a
// surface at a time. When another thread may copy from the surface at the
// same time (a window painting from it), hold a SurfaceLock instead.
PixelView SurfacePixels(HDC memoryDC);

// SurfacePixels with the bitmap's pixel lock held for the lock's lifetime:
// GDI calls on the same bitmap from other threads wait meanwhile. Do not make
// GDI calls that draw into or copy from this bitmap while holding it.
class SurfaceLock {
public:
  explicit SurfaceLock(HDC memoryDC);
  ~SurfaceLock();
  SurfaceLock(const SurfaceLock &) = delete;
  SurfaceLock &operator=(const SurfaceLock &) = delete;
  const PixelView &View() const { return view_; }

private:
  std::shared_ptr<void> keep_; // the bitmap, alive while locked
  std::unique_lock<std::mutex> lock_;
  PixelView view_;
};

} // namespace platform
