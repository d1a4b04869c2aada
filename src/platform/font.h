// Fonts: face matching (our table of Windows Japanese face names, then
// fontconfig), FreeType rendering with a glyph cache, GDI-style metrics and
// text drawing into pixel buffers. The GDI's font calls (CreateFontIndirectA,
// TextOutA, GetTextMetricsA, GetTextExtentPoint32A) are built on this.
#pragma once

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

} // namespace platform::font
