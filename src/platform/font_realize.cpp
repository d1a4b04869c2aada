// Realised fonts: a LOGFONT turned into a FreeType face at a pixel size, with
// GDI's metrics worked out once.
//
// Sizes follow GDI. lfHeight < 0 is the em height in pixels; lfHeight > 0 is
// the cell height (win ascent + win descent) and the em is scaled to fit it,
// rounded to whole pixels for rendering; 0 means an em of 16 pixels. Sizes are
// kept within 1..2048 pixels whatever the LOGFONT says. lfWidth (0 = the face's
// own proportions) is the wanted average character width; the glyphs are
// scaled horizontally to reach it. lfEscapement and lfOrientation are ignored:
// text is always drawn horizontally.
//
// Metrics come from the OS/2 win ascent and descent, as GDI's do: tmAscent and
// tmDescent are the rounded scaled values (IPAGothic at em 16: 14 + 3 = 17);
// with a positive lfHeight the cell is exactly lfHeight high. The hhea or typo
// metrics would give a cell equal to the em; GDI's numbers are what programs
// were laid out with, so those are used.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <tuple>

#include "platform/font_internal.h"

namespace platform::font {

FT_Library FreeTypeLibrary() {
  // Made once and never freed: fonts may outlive static destruction.
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

std::mutex &FreeTypeMutex() {
  static auto *mutex = new std::mutex();
  return *mutex;
}

Font::~Font() {
  std::lock_guard<std::mutex> guard(FreeTypeMutex());
  if (face) FT_Done_Face(face);
  if (fallback) FT_Done_Face(fallback);
}

namespace {

constexpr int MaxPixels = 2048;
constexpr int DefaultEm = 16;

int Clamp(int64_t v, int lo, int hi) {
  return static_cast<int>(std::clamp<int64_t>(v, lo, hi));
}

int RoundDiv(double v) {
  return static_cast<int>(std::lround(v));
}

// Every LOGFONT field that changes what is drawn; equal keys share a Font.
using LogfontKey = std::tuple<LONG, LONG, LONG, BYTE, BYTE, BYTE, BYTE, BYTE, std::string>;

LogfontKey KeyOf(const LOGFONTA &lf) {
  return {lf.lfHeight,
          lf.lfWidth,
          lf.lfWeight,
          lf.lfItalic ? 1 : 0,
          lf.lfUnderline ? 1 : 0,
          lf.lfStrikeOut ? 1 : 0,
          lf.lfCharSet,
          lf.lfQuality,
          std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE))};
}

// What the glyph images depend on; equal settings share cached glyphs even
// across Fonts (a face named two ways, a font made again after deletion).
using RenderKey = std::tuple<std::string, int, int, int, bool, bool, bool>;

uint64_t RenderIdOf(const RenderKey &key) {
  static std::mutex mutex;
  static auto *ids = new std::map<RenderKey, uint64_t>();
  static uint64_t next = 1;
  std::lock_guard<std::mutex> guard(mutex);
  auto it = ids->find(key);
  if (it != ids->end()) return it->second;
  // Ids are never reused, so forgetting the table only costs re-rendering.
  if (ids->size() >= 4096) ids->clear();
  ids->emplace(key, next);
  return next++;
}

bool Antialiased(BYTE quality) {
  // GDI draws Japanese faces at screen sizes without smoothing by default;
  // 1-bit glyphs also keep drawing exact. Smoothing only when asked for.
  return quality == ANTIALIASED_QUALITY || quality == CLEARTYPE_QUALITY ||
         quality == 6 /* CLEARTYPE_NATURAL_QUALITY */;
}

struct FaceNumbers {
  double upem = 2048;
  double winAscent = 1802, winDescent = 401;
  double hheaAscent = 1802, hheaDescent = 246, lineGap = 0;
  double avgWidth = 1024;
  double underlinePos = -150, underlineSize = 100;
  double strikePos = 530, strikeSize = 100;
};

FaceNumbers NumbersOf(FT_Face face) {
  FaceNumbers n;
  if (!face) return n; // no font file: IPAGothic's proportions
  n.upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  n.hheaAscent = face->ascender;
  n.hheaDescent = -face->descender;
  n.lineGap = std::max(0, face->height - (face->ascender - face->descender));
  n.winAscent = n.hheaAscent;
  n.winDescent = n.hheaDescent;
  n.avgWidth = n.upem / 2;
  n.underlinePos = face->underline_position;
  n.underlineSize = face->underline_thickness;
  n.strikePos = n.upem * 0.26;
  n.strikeSize = n.underlineSize;
  auto *hhea = static_cast<TT_HoriHeader *>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (hhea) {
    n.hheaAscent = hhea->Ascender;
    n.hheaDescent = -hhea->Descender;
    n.lineGap = hhea->Line_Gap;
  }
  auto *os2 = static_cast<TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    n.winAscent = os2->usWinAscent;
    n.winDescent = os2->usWinDescent;
    if (os2->xAvgCharWidth > 0) n.avgWidth = os2->xAvgCharWidth;
    if (os2->yStrikeoutSize > 0) {
      n.strikePos = os2->yStrikeoutPosition;
      n.strikeSize = os2->yStrikeoutSize;
    }
  }
  if (n.underlineSize <= 0) n.underlineSize = n.upem / 20;
  return n;
}

FT_Face OpenFace(const FaceMatch &match) {
  if (match.file.empty() || !FreeTypeLibrary()) return nullptr;
  std::lock_guard<std::mutex> guard(FreeTypeMutex());
  FT_Face face = nullptr;
  if (FT_New_Face(FreeTypeLibrary(), match.file.c_str(), match.index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return face;
}

// Fixed pitch, or Japanese dual width: every single-byte character half the
// width of a full-width one, in the face's own units (hinting at odd sizes
// would break the ratio).
bool FixedPitch(FT_Face face, std::mutex &mutex) {
  if (FT_IS_FIXED_WIDTH(face)) return true;
  std::lock_guard<std::mutex> guard(mutex);
  FT_Fixed half = 0, full = 0, narrow = 0, wide = 0;
  auto advance = [&](char32_t c, FT_Fixed &out) {
    FT_UInt index = FT_Get_Char_Index(face, c);
    return index != 0 && FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &out) == 0;
  };
  return advance(U' ', half) && advance(U'\u3000', full) && advance(U'i', narrow) &&
         advance(U'W', wide) && half * 2 == full && narrow == half && wide == half;
}

std::shared_ptr<Font> Make(const LOGFONTA &lf) {
  auto font = std::make_shared<Font>();
  FontInfo &info = font->info;
  info.bold = lf.lfWeight >= 600;
  info.italic = lf.lfItalic != 0;
  info.underline = lf.lfUnderline != 0;
  info.strikeOut = lf.lfStrikeOut != 0;
  info.antialiased = Antialiased(lf.lfQuality);
  info.face = MatchFace(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)),
                        lf.lfWeight, info.italic);
  font->face = OpenFace(info.face);
  FT_Face face = font->face;
  FaceNumbers n = NumbersOf(face);
  double cell = n.winAscent + n.winDescent;

  // Em and cell in pixels.
  int64_t height = lf.lfHeight;
  int em = 0, ascent = 0, descent = 0;
  if (height > 0) {
    int cellPx = Clamp(height, 1, MaxPixels);
    em = Clamp(RoundDiv(cellPx * n.upem / cell), 1, MaxPixels);
    ascent = std::min(cellPx, RoundDiv(cellPx * n.winAscent / cell));
    descent = cellPx - ascent;
  } else {
    em = height < 0 ? Clamp(-height, 1, MaxPixels) : DefaultEm;
    ascent = RoundDiv(n.winAscent * em / n.upem);
    descent = RoundDiv(n.winDescent * em / n.upem);
  }
  info.emPixels = em;
  int64_t width = lf.lfWidth < 0 ? -static_cast<int64_t>(lf.lfWidth) : lf.lfWidth;
  info.widthPixels = width == 0 ? em : Clamp(RoundDiv(width * n.upem / n.avgWidth), 1, MaxPixels);
  info.fakeBold = info.bold && (!face || !(face->style_flags & FT_STYLE_FLAG_BOLD));

  // A face that is not the Japanese default borrows the characters it lacks
  // from it, so that Japanese text in a Latin face is not drawn blank.
  FaceMatch japanese = MatchFace("", lf.lfWeight, info.italic);
  if (face && japanese.file != info.face.file) font->fallback = OpenFace(japanese);
  if (font->fallback)
    font->fallbackFakeBold = info.bold && !(font->fallback->style_flags & FT_STYLE_FLAG_BOLD);
  {
    std::lock_guard<std::mutex> guard(font->faceMutex);
    for (FT_Face f : {face, font->fallback}) {
      if (!f) continue;
      FT_Set_Pixel_Sizes(f, info.widthPixels, em);
      if (info.italic && !(f->style_flags & FT_STYLE_FLAG_ITALIC)) {
        FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000}; // about 12 degrees
        FT_Set_Transform(f, &shear, nullptr);
      }
    }
  }
  font->renderId =
      RenderIdOf({info.face.file + '#' + std::to_string(info.face.index), em, info.widthPixels,
                  info.bold, info.fakeBold, info.italic, info.antialiased});

  double xScale = static_cast<double>(info.widthPixels) / n.upem;
  font->halfBlank = std::max(1, RoundDiv(n.avgWidth * xScale));
  font->fullBlank = std::max(1, RoundDiv(n.upem * xScale));
  int xAdvance = 0;
  if (face) {
    // The real advances of a blank, an ideographic blank and an x, through
    // the glyph cache (a console draws blanks all the time).
    std::vector<Unit> units{{U' ', 1}, {U'\u3000', 2}, {U'x', 1}};
    std::vector<GlyphRef> glyphs;
    Glyphs(*font, units, glyphs);
    if (glyphs[0]->advance > 0) font->halfBlank = glyphs[0]->advance;
    if (glyphs[1]->advance > 0) font->fullBlank = glyphs[1]->advance;
    std::lock_guard<std::mutex> guard(font->faceMutex);
    if (FT_Get_Char_Index(face, 'x') != 0) xAdvance = glyphs[2]->advance;
  }

  TEXTMETRICA &tm = font->metrics;
  tm.tmHeight = ascent + descent;
  tm.tmAscent = ascent;
  tm.tmDescent = descent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
  double external = n.lineGap - (cell - (n.hheaAscent + n.hheaDescent));
  tm.tmExternalLeading = std::max(0, RoundDiv(external * em / n.upem));
  tm.tmAveCharWidth = xAdvance > 0 ? xAdvance : font->halfBlank;
  tm.tmMaxCharWidth = std::max(tm.tmAveCharWidth, font->fullBlank);
  tm.tmWeight = lf.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(lf.lfWeight, 1000);
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFC;
  tm.tmDefaultChar = 0x20; // characters without a glyph are drawn blank
  tm.tmBreakChar = 0x20;
  tm.tmItalic = info.italic ? 255 : 0;
  tm.tmUnderlined = info.underline ? 1 : 0;
  tm.tmStruckOut = info.strikeOut ? 1 : 0;
  // TMPF_FIXED_PITCH set means variable pitch; TrueType and vector bits set.
  bool fixed = face && FixedPitch(face, font->faceMutex);
  BYTE family = lf.lfPitchAndFamily & 0xF0;
  if (family == 0) family = fixed ? FF_MODERN : 0x20 /* FF_SWISS */;
  tm.tmPitchAndFamily = family | 0x06 | (fixed ? 0 : 0x01);
  // Text is always code page 932 and the faces cover it.
  tm.tmCharSet = SHIFTJIS_CHARSET;

  // Underline and strike-out rows, from the cell top.
  double yScale = static_cast<double>(em) / n.upem;
  font->underlineSize = std::max(1, RoundDiv(n.underlineSize * yScale));
  font->underlineTop = std::clamp(ascent - RoundDiv(n.underlinePos * yScale), 0,
                                  std::max(0, tm.tmHeight - font->underlineSize));
  font->strikeSize = std::max(1, RoundDiv(n.strikeSize * yScale));
  font->strikeTop = std::clamp(ascent - RoundDiv(n.strikePos * yScale), 0,
                               std::max(0, tm.tmHeight - font->strikeSize));
  return font;
}

} // namespace

std::shared_ptr<Font> Realize(const LOGFONTA &logfont) {
  // Fonts alive anywhere are found again by their LOGFONT; the most recent
  // ones are also kept alive here, so that a font made and deleted for every
  // statement (GPRINT) is not loaded again each time.
  static std::mutex mutex;
  static auto *live = new std::map<LogfontKey, std::weak_ptr<Font>>();
  static auto *recent = new std::deque<std::shared_ptr<Font>>();
  constexpr size_t RecentFonts = 16;
  LogfontKey key = KeyOf(logfont);
  {
    std::lock_guard<std::mutex> guard(mutex);
    auto it = live->find(key);
    if (it != live->end())
      if (auto font = it->second.lock()) return font;
  }
  // Made outside the lock: loading a face takes a while. Two threads making
  // the same font at once both succeed; the later one is kept.
  std::shared_ptr<Font> font = Make(logfont);
  std::lock_guard<std::mutex> guard(mutex);
  auto it = live->find(key);
  if (it != live->end())
    if (auto existing = it->second.lock()) return existing;
  if (live->size() >= 256)
    std::erase_if(*live, [](const auto &entry) { return entry.second.expired(); });
  (*live)[key] = font;
  recent->push_back(font);
  if (recent->size() > RecentFonts) recent->pop_front();
  return font;
}

void GetMetrics(const Font &font, TEXTMETRICA &metrics) {
  metrics = font.metrics;
}

FontInfo Describe(const Font &font) {
  return font.info;
}

SIZE Extent(const Font &font, std::string_view text) {
  thread_local std::vector<Unit> units;
  thread_local std::vector<GlyphRef> glyphs;
  Decode(text, units);
  Glyphs(font, units, glyphs);
  int64_t width = 0;
  for (const GlyphRef &g : glyphs) width += g->advance;
  glyphs.clear(); // do not hold glyph images between calls
  SIZE size;
  size.cx = static_cast<LONG>(std::min<int64_t>(width, INT32_MAX));
  size.cy = font.metrics.tmHeight;
  return size;
}

} // namespace platform::font
