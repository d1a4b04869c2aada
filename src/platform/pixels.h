// Pixel buffers shared by the rasteriser, the font renderer and the display
// drivers. Pixels are 32-bit 0x00RRGGBB (the byte order of a 32-bit DIB and
// of SDL's RGB888), rows top to bottom.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/page_memory.h"
#include "platform/win32.h"

namespace platform {

// A view of pixels owned elsewhere; STRIDE counts pixels per row.
struct PixelView {
  uint32_t *pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  uint32_t *Row(int y) const { return pixels + static_cast<ptrdiff_t>(y) * stride; }
};

// Pixels of a window, in pages of their own (see page_memory.h).
using PixelBuffer = std::vector<uint32_t, PageAllocator<uint32_t>>;

// A window's client-area pixels: what the window shows. Window contexts
// (GetDC, BeginPaint) draw here and widen DIRTY; the display driver presents
// the dirty rectangle and empties it. Guard every access with MUTEX.
// What a window shows before anything is drawn into it.
inline constexpr uint32_t kBlankPixel = 0x00FFFFFF;

// Until something draws other than a fill of the whole area, the store
// is one colour and holds no pixels: a window that is only cleared never
// touches its megabytes.
struct WindowPixels {
  std::mutex mutex;
  int width = 0;
  int height = 0;
  PixelBuffer pixels; // empty while the store is all UNIFORM
  uint32_t uniform = kBlankPixel;
  RECT dirty; // empty when left >= right
  // The pixels, made from the uniform colour on first use.
  PixelView View();
  bool HasPixels() const { return !pixels.empty(); }
  // Fills the whole store with PIXEL.
  void FillAll(uint32_t pixel);
  void MarkDirty(const RECT &r);
};

// The backing store of HWND, made at its client size on first use and
// resized (keeping the top-left pixels) when the window is; null when HWND
// is no window.
std::shared_ptr<WindowPixels> WindowBackingStore(HWND hwnd);

inline uint32_t PixelOf(uint32_t colorref) { // COLORREF -> 0x00RRGGBB
  return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}
inline uint32_t ColorrefOf(uint32_t pixel) {
  return PixelOf(pixel);
} // the swap is symmetric

} // namespace platform
