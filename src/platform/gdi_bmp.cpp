// Reading BMP files into bitmaps: the core (12-byte) and info (40 bytes and
// later) headers, 1, 4 and 8 bits per pixel with palettes, 16 bits (5-5-5
// or bit fields), 24 and 32 bits, bottom-up and top-down rows. Run-length
// compressed files are refused. Every size and offset is checked against
// the file, so a truncated or inconsistent file is a failed load.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/gdi_bmp.h"
#include "platform/gdi_internal.h"
#include "platform/paths.h"

namespace platform::gdi {
namespace {

constexpr int64_t kMaxPixels = int64_t{64} << 20;
constexpr uint32_t kRgb = 0, kBitfields = 3;

uint32_t U16(const std::vector<uint8_t> &b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}
uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

// One channel of a bit-field pixel, scaled to 0..255.
uint32_t Channel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  uint32_t bits = static_cast<uint32_t>(std::popcount(mask));
  uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  uint32_t max = (1u << bits) - 1;
  return (v * 255 + max / 2) / max;
}

} // namespace

std::shared_ptr<Surface> DecodeBmp(const std::vector<uint8_t> &file) {
  const size_t size = file.size();
  if (size < 14 + 12 || file[0] != 'B' || file[1] != 'M') return nullptr;
  const uint64_t offBits = U32(file, 10);
  const uint32_t headerSize = U32(file, 14);
  if (headerSize != 12 && headerSize < 40) return nullptr;
  if (14 + static_cast<uint64_t>(headerSize) > size) return nullptr;
  int64_t width, height;
  uint32_t bpp, compression = kRgb, colours = 0;
  bool topDown = false;
  if (headerSize == 12) {
    width = U16(file, 18);
    height = U16(file, 20);
    bpp = U16(file, 24);
  } else {
    width = static_cast<int32_t>(U32(file, 18));
    height = static_cast<int32_t>(U32(file, 22));
    bpp = U16(file, 28);
    compression = U32(file, 30);
    colours = U32(file, 46);
    if (height < 0) {
      topDown = true;
      height = -height;
    }
  }
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) return nullptr;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  if (compression != kRgb && !(compression == kBitfields && (bpp == 16 || bpp == 32)))
    return nullptr;

  // Bit-field masks: after a 40-byte header, inside later ones.
  uint64_t tableAt = 14 + static_cast<uint64_t>(headerSize);
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  if (compression == kBitfields) {
    uint64_t at = headerSize == 40 ? tableAt : 14 + 40;
    if (at + 12 > size) return nullptr;
    for (int i = 0; i < 3; ++i) masks[i] = U32(file, static_cast<size_t>(at + 4 * i));
    if (headerSize == 40) tableAt += 12;
  }

  // The palette.
  std::vector<uint32_t> palette;
  if (bpp <= 8) {
    uint64_t most = uint64_t{1} << bpp;
    uint64_t count = colours == 0 || colours > most ? most : colours;
    uint64_t entry = headerSize == 12 ? 3 : 4;
    // A palette cut short by the pixel data or the file end keeps what fits.
    uint64_t end = std::min<uint64_t>(offBits > tableAt ? offBits : size, size);
    count = std::min<uint64_t>(count, end > tableAt ? (end - tableAt) / entry : 0);
    for (uint64_t i = 0; i < count; ++i) {
      size_t at = static_cast<size_t>(tableAt + i * entry);
      palette.push_back(static_cast<uint32_t>(file[at + 2]) << 16 |
                        static_cast<uint32_t>(file[at + 1]) << 8 | file[at]);
    }
    if (palette.empty()) return nullptr;
  }

  // The pixel rows must lie entirely within the file, after the headers.
  uint64_t stride = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
  if (offBits < tableAt || offBits > size) return nullptr;
  if (stride * static_cast<uint64_t>(height) > size - offBits) return nullptr;

  auto surface = MakeSurface(static_cast<int>(width), static_cast<int>(height));
  if (!surface) return nullptr;
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t *src = file.data() + offBits + stride * static_cast<uint64_t>(row);
    int64_t y = topDown ? row : height - 1 - row;
    uint32_t *dst = surface->pixels.data() + y * width;
    for (int64_t x = 0; x < width; ++x) {
      uint32_t p;
      switch (bpp) {
      case 1:
      case 4:
      case 8: {
        uint64_t bit = static_cast<uint64_t>(x) * bpp;
        uint32_t index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        p = index < palette.size() ? palette[index] : 0;
        break;
      }
      case 16: {
        uint32_t v = src[2 * x] | static_cast<uint32_t>(src[2 * x + 1]) << 8;
        p = Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
        break;
      }
      case 24:
        p = static_cast<uint32_t>(src[3 * x + 2]) << 16 |
            static_cast<uint32_t>(src[3 * x + 1]) << 8 | src[3 * x];
        break;
      default: {
        uint32_t v = src[4 * x] | static_cast<uint32_t>(src[4 * x + 1]) << 8 |
                     static_cast<uint32_t>(src[4 * x + 2]) << 16 |
                     static_cast<uint32_t>(src[4 * x + 3]) << 24;
        p = Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
        break;
      }
      }
      dst[x] = p;
    }
  }
  return surface;
}

// Nearest-neighbour scaling to WIDTH x HEIGHT.
std::shared_ptr<Surface> Scale(const Surface &from, int width, int height) {
  auto to = MakeSurface(width, height);
  if (!to) return nullptr;
  for (int y = 0; y < to->height; ++y) {
    int64_t sy = static_cast<int64_t>(y) * from.height / to->height;
    for (int x = 0; x < to->width; ++x) {
      int64_t sx = static_cast<int64_t>(x) * from.width / to->width;
      to->pixels[static_cast<size_t>(y) * to->width + x] =
          from.pixels[static_cast<size_t>(sy * from.width + sx)];
    }
  }
  return to;
}

} // namespace platform::gdi

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || cx < 0 || cy < 0) return 0;
  std::string path = platform::ToUnixPath(name);
  if (path.empty()) return 0;
  std::unique_ptr<FILE, int (*)(FILE *)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) return 0;
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (static_cast<int64_t>(bytes.size()) > platform::gdi::kMaxBmpFileBytes) return 0;
  }
  auto surface = platform::gdi::DecodeBmp(bytes);
  if (!surface) return 0;
  // A requested size other than the natural one scales the picture.
  int w = cx ? cx : surface->width, h = cy ? cy : surface->height;
  if (w != surface->width || h != surface->height) surface = platform::gdi::Scale(*surface, w, h);
  return platform::gdi::AddBitmap(std::move(surface));
}
