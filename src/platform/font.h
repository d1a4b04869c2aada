// Fonts: face matching (our table of Windows Japanese face names, then
// fontconfig), FreeType rendering with a glyph cache, GDI-style metrics and
// text drawing into pixel buffers. The GDI's font calls (CreateFontIndirectA,
// TextOutA, GetTextMetricsA, GetTextExtentPoint32A) are built on this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/pixels.h"
#include "platform/wingdi.h"

namespace platform::font {

// The font file chosen for a face name (code page 932), weight and slant.
struct FaceMatch {
  std::string file;   // path of the font file
  int index = 0;      // face index within the file
  std::string family; // family name as fontconfig reports it (UTF-8)
};
// An empty face and a name that no installed family answers to give
// IPAGothic, so that Japanese text always has glyphs.
FaceMatch MatchFace(std::string_view faceName, LONG weight, bool italic);

// A font realised from a LOGFONT at its pixel size (shared and cached: equal
// LOGFONTs give the same Font). Thread-safe.
class Font;
std::shared_ptr<Font> Realize(const LOGFONTA &logfont);

// GDI's numbers for the font (tmHeight from the face's win ascent and descent).
void GetMetrics(const Font &font, TEXTMETRICA &metrics);
// Width and height of TEXT (code page 932) drawn in one line.
SIZE Extent(const Font &font, std::string_view text);

// Draws TEXT (code page 932) with the top-left corner of its cell at (X, Y),
// clipped to CLIP and to TARGET. With OPAQUE the cell background is filled
// with BACK first. Colours are COLORREFs. Returns the rectangle touched.
RECT Draw(const Font &font, const PixelView &target, const RECT &clip, int x, int y,
          std::string_view text, COLORREF colour, bool opaque, COLORREF back);

// What a realised font is, for output that renders with another library
// (printing): the face, the pixel sizes used for rendering and the styles.
struct FontInfo {
  FaceMatch face;
  int emPixels = 0;      // vertical pixels per em
  int widthPixels = 0;   // horizontal pixels per em (differs with lfWidth)
  bool bold = false;     // lfWeight >= 600
  bool fakeBold = false; // the face has no bold of its own: strokes are widened
  bool italic = false;   // drawn oblique
  bool underline = false;
  bool strikeOut = false;
  bool antialiased = false; // 8-bit coverage rather than 1-bit glyphs
};
FontInfo Describe(const Font &font);

// The glyph cache, for tests and diagnostics: how many glyphs have been
// rasterised since the process started, how many bytes of glyph images are
// held, and a byte limit (the least recently used glyphs go first).
uint64_t GlyphsRendered();
size_t GlyphCacheBytes();
void SetGlyphCacheLimit(size_t bytes);
void ClearGlyphCache();

} // namespace platform::font
