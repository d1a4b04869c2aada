// Drawing text into a pixel buffer: the opaque background, the glyphs in the
// text colour (set for 1-bit coverage, blended for partial coverage), then
// underline and strike-out, all clipped to the clip rectangle and the view.
#include <algorithm>
#include <cstring>

#include "platform/font_internal.h"

namespace platform::font {
namespace {

struct Box {
  int64_t left, top, right, bottom;
  bool Empty() const { return left >= right || top >= bottom; }
  Box Intersect(const Box &o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
};

void Widen(Box &touched, const Box &b) {
  if (b.Empty()) return;
  if (touched.Empty()) {
    touched = b;
    return;
  }
  touched = {std::min(touched.left, b.left), std::min(touched.top, b.top),
             std::max(touched.right, b.right), std::max(touched.bottom, b.bottom)};
}

void Fill(const PixelView &view, const Box &b, uint32_t pixel) {
  if (b.Empty()) return;
  int left = static_cast<int>(b.left), n = static_cast<int>(b.right - b.left);
  uint64_t two = pixel | static_cast<uint64_t>(pixel) << 32;
  for (int y = static_cast<int>(b.top); y < b.bottom; ++y) {
    uint32_t *row = view.Row(y) + left;
    int i = 0;
    for (; i + 2 <= n; i += 2) std::memcpy(row + i, &two, sizeof two); // two pixels a store
    if (i < n) row[i] = pixel;
  }
}

uint32_t Blend(uint32_t dst, uint32_t src, uint32_t a) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t d = (dst >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    uint32_t v = (d * (255 - a) + s * a + 127) / 255;
    out |= v << shift;
  }
  return out;
}

} // namespace

RECT Draw(const Font &font, const PixelView &target, const RECT &clip, int x, int y,
          std::string_view text, COLORREF colour, bool opaque, COLORREF back) {
  RECT result;
  if (!target.pixels || target.width <= 0 || target.height <= 0 || text.empty()) return result;
  thread_local std::vector<Unit> units;
  thread_local std::vector<GlyphRef> glyphs;
  Decode(text, units);
  Glyphs(font, units, glyphs);

  Box area = Box{clip.left, clip.top, clip.right, clip.bottom}.Intersect(
      {0, 0, target.width, target.height});
  Box touched{0, 0, 0, 0};
  if (!area.Empty()) {
    int64_t width = 0;
    for (const GlyphRef &g : glyphs) width += g->advance;
    const TEXTMETRICA &tm = font.metrics;
    uint32_t ink = PixelOf(colour & 0xFFFFFF);
    uint64_t ink2 = ink | static_cast<uint64_t>(ink) << 32;

    if (opaque) {
      Box cell = Box{x, y, x + width, y + static_cast<int64_t>(tm.tmHeight)}.Intersect(area);
      Fill(target, cell, PixelOf(back & 0xFFFFFF));
      Widen(touched, cell);
    }

    int64_t pen = x;
    int64_t baseline = static_cast<int64_t>(y) + tm.tmAscent;
    for (const GlyphRef &ref : glyphs) {
      const Glyph &g = *ref;
      Box image{pen + g.left, baseline - g.top, pen + g.left + g.width, baseline - g.top + g.rows};
      Box visible = image.Intersect(area);
      pen += g.advance;
      if (visible.Empty()) continue;
      // Within the visible part of the image; glyph images are cut to their
      // ink, so that box is what changes.
      int skip = static_cast<int>(visible.left - image.left);
      int n = static_cast<int>(visible.right - visible.left);
      for (int64_t py = visible.top; py < visible.bottom; ++py) {
        const uint8_t *cov =
            g.coverage.data() + static_cast<size_t>(py - image.top) * g.width + skip;
        uint32_t *row = target.Row(static_cast<int>(py)) + visible.left;
        if (!font.info.antialiased) {
          // Coverage is 0 or 255: a mask select without branches.
          int i = 0;
          for (; i + 2 <= n; i += 2) { // two pixels at a time
            uint64_t mask = (0u - static_cast<uint64_t>(cov[i] >> 7)) >> 32 |
                            (0u - static_cast<uint64_t>(cov[i + 1] >> 7)) << 32;
            uint64_t pair;
            std::memcpy(&pair, row + i, sizeof pair);
            pair = (pair & ~mask) | (ink2 & mask);
            std::memcpy(row + i, &pair, sizeof pair);
          }
          if (i < n && cov[i]) row[i] = ink;
          continue;
        }
        for (int i = 0; i < n; ++i) {
          uint32_t a = cov[i];
          if (a == 255)
            row[i] = ink;
          else if (a != 0)
            row[i] = Blend(row[i], ink, a);
        }
      }
      Widen(touched, visible);
    }

    auto line = [&](int top, int size) {
      Box b = Box{x, y + static_cast<int64_t>(top), x + width, y + static_cast<int64_t>(top) + size}
                  .Intersect(area);
      Fill(target, b, ink);
      Widen(touched, b);
    };
    if (font.info.underline) line(font.underlineTop, font.underlineSize);
    if (font.info.strikeOut) line(font.strikeTop, font.strikeSize);
  }
  glyphs.clear(); // do not hold glyph images between calls
  if (!touched.Empty())
    result = {static_cast<LONG>(touched.left), static_cast<LONG>(touched.top),
              static_cast<LONG>(touched.right), static_cast<LONG>(touched.bottom)};
  return result;
}

} // namespace platform::font
