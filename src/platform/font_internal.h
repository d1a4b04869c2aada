// Shared by the font files: the realised font, its glyph images and the
// decoding of code page 932 text into drawing units.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/font.h"

typedef struct FT_FaceRec_ *FT_Face;

namespace platform::font {

// One rasterised character: 8-bit coverage (0 or 255 for 1-bit fonts),
// placed relative to the pen on the baseline.
struct Glyph {
  int left = 0;                  // from the pen to the image's first column
  int top = 0;                   // from the baseline up to the image's first row
  int width = 0;                 // image columns
  int rows = 0;                  // image rows
  int advance = 0;               // pen movement in pixels
  std::vector<uint8_t> coverage; // rows * width
  size_t Bytes() const { return sizeof(Glyph) + coverage.size(); }
};
using GlyphRef = std::shared_ptr<const Glyph>;

// A character of the text: its code point (NoCode when the bytes have no
// mapping) and how many bytes it took.
constexpr uint32_t NoCode = 0xFFFFFFFF;
struct Unit {
  uint32_t code = NoCode;
  uint8_t bytes = 1;
};
// Cuts code page 932 text into units: a lead byte takes the next byte with
// it; a lead byte at the end stands alone.
void Decode(std::string_view text, std::vector<Unit> &units);

class Font {
public:
  ~Font();

  FontInfo info;
  TEXTMETRICA metrics;
  uint64_t renderId = 0;                   // names the glyph images of equal render settings
  int halfBlank = 0;                       // advance of a single-byte character without a glyph
  int fullBlank = 0;                       // advance of a double-byte character without a glyph
  int underlineTop = 0, underlineSize = 0; // rows from the cell top
  int strikeTop = 0, strikeSize = 0;

  // Rasterises CODE (which took BYTES bytes); called by the glyph cache.
  GlyphRef Render(uint32_t code, int bytes) const;

  FT_Face face = nullptr;     // null: no font file at all; everything is blank
  FT_Face fallback = nullptr; // the Japanese default, for characters FACE lacks
  bool fallbackFakeBold = false;
  mutable std::mutex faceMutex; // FreeType faces are not thread-safe
};

// Looks up (rendering when missing) the glyphs of UNITS in FONT, taking the
// cache lock once for the whole text.
void Glyphs(const Font &font, const std::vector<Unit> &units, std::vector<GlyphRef> &out);

// The FreeType library, shared by all faces; FreeTypeMutex guards face
// creation and destruction.
struct FT_LibraryRec_ *FreeTypeLibrary();
std::mutex &FreeTypeMutex();

} // namespace platform::font
