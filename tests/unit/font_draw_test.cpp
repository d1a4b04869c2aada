// Drawing text into pixel buffers: where pixels land, backgrounds, quality,
// clipping, styles and the glyph cache.
#include "platform/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

using namespace platform;
using namespace platform::font;

constexpr uint32_t White = 0xFFFFFF;
constexpr COLORREF Red = RGB(255, 0, 0); // pixel 0xFF0000
constexpr COLORREF Blue = RGB(0, 0, 255);

LOGFONTA Logfont(LONG height, BYTE quality = DEFAULT_QUALITY) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfQuality = quality;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Gothic");
  return lf;
}

// A canvas with a guard band of GUARD pixels around the view that drawing
// must never touch.
struct Canvas {
  static constexpr int Guard = 8;
  int width, height, stride;
  std::vector<uint32_t> pixels;
  Canvas(int w, int h, uint32_t fill = White)
      : width(w), height(h), stride(w + 2 * Guard),
        pixels(static_cast<size_t>(stride) * (h + 2 * Guard), fill) {
    for (int y = 0; y < h + 2 * Guard; ++y)
      for (int x = 0; x < stride; ++x)
        if (x < Guard || x >= Guard + w || y < Guard || y >= Guard + h)
          pixels[static_cast<size_t>(y) * stride + x] = 0x123456;
  }
  PixelView View() { return {pixels.data() + Guard * stride + Guard, width, height, stride}; }
  RECT All() const { return {0, 0, width, height}; }
  uint32_t At(int x, int y) const {
    return pixels[static_cast<size_t>(y + Guard) * stride + x + Guard];
  }
  bool GuardIntact() const {
    for (int y = 0; y < height + 2 * Guard; ++y)
      for (int x = 0; x < stride; ++x)
        if ((x < Guard || x >= Guard + width || y < Guard || y >= Guard + height) &&
            pixels[static_cast<size_t>(y) * stride + x] != 0x123456)
          return false;
    return true;
  }
  // The bounding box of pixels that are not FILL, and their count.
  RECT Changed(uint32_t fill, int *count = nullptr) const {
    RECT r{width, height, 0, 0};
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) != fill) {
          ++n;
          r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
               std::max<LONG>(r.bottom, y + 1)};
        }
    if (count) *count = n;
    return n ? r : RECT{};
  }
};

bool Inside(const RECT &inner, const RECT &outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(FontDraw, GlyphsStayInTheirCellInTheTextColour) {
  auto font = Realize(Logfont(-16));
  Canvas c(80, 40);
  // 日 A ｱ: 16 + 8 + 8 wide, 17 high, at (10, 5).
  RECT touched = Draw(*font, c.View(), c.All(), 10, 5,
                      "\x93\xFA"
                      "A\xB1",
                      Red, false, 0);
  int count = 0;
  RECT changed = c.Changed(White, &count);
  EXPECT_GT(count, 30);
  EXPECT_TRUE(Inside(changed, {10, 5, 10 + 32, 5 + 17}));
  EXPECT_TRUE(Inside(changed, touched));
  EXPECT_TRUE(Inside(touched, {10, 5, 10 + 32, 5 + 17}));
  // 1-bit glyphs: every pixel is either untouched or exactly the text colour.
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) ASSERT_TRUE(c.At(x, y) == White || c.At(x, y) == 0xFF0000);
  // Each character inks its own cell.
  int inFirst = 0, inSecond = 0, inThird = 0;
  for (int y = 5; y < 22; ++y) {
    for (int x = 10; x < 26; ++x) inFirst += c.At(x, y) != White;
    for (int x = 26; x < 34; ++x) inSecond += c.At(x, y) != White;
    for (int x = 34; x < 42; ++x) inThird += c.At(x, y) != White;
  }
  EXPECT_GT(inFirst, 0);
  EXPECT_GT(inSecond, 0);
  EXPECT_GT(inThird, 0);
  EXPECT_TRUE(c.GuardIntact());
}

TEST(FontDraw, OpaqueFillsTheWholeExtentTransparentKeepsTheGaps) {
  auto font = Realize(Logfont(-16));
  Canvas clear(64, 32, 0x00FF00), filled(64, 32, 0x00FF00);
  RECT t = Draw(*font, clear.View(), clear.All(), 4, 4, "Ab", Red, false, Blue);
  RECT o = Draw(*font, filled.View(), filled.All(), 4, 4, "Ab", Red, true, Blue);
  EXPECT_EQ(o.left, 4);
  EXPECT_EQ(o.top, 4);
  EXPECT_EQ(o.right, 20);
  EXPECT_EQ(o.bottom, 21);
  EXPECT_TRUE(Inside(t, o));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) {
      bool cell = x >= 4 && x < 20 && y >= 4 && y < 21;
      uint32_t t_px = clear.At(x, y), o_px = filled.At(x, y);
      if (!cell) {
        ASSERT_EQ(o_px, 0x00FF00u) << x << "," << y;
        ASSERT_EQ(t_px, 0x00FF00u) << x << "," << y;
      } else if (t_px == 0xFF0000) {
        ASSERT_EQ(o_px, 0xFF0000u); // the same glyph pixels either way
      } else {
        ASSERT_EQ(t_px, 0x00FF00u);
        ASSERT_EQ(o_px, 0x0000FFu); // the background colour between strokes
      }
    }
  // Bytes without a mapping draw nothing but their background.
  Canvas blank(40, 20);
  EXPECT_EQ(Draw(*font, blank.View(), blank.All(), 0, 0, "\x80\xFF", Red, false, 0).right, 0);
  EXPECT_EQ(blank.Changed(White).right, 0);
  RECT b = Draw(*font, blank.View(), blank.All(), 0, 0, "\x81\x20\xFD", Red, true, Blue);
  EXPECT_EQ(b.right, 24);
  EXPECT_EQ(blank.Changed(White).right, 24);
}

TEST(FontDraw, AntialiasedBlendsMonoDoesNot) {
  auto mono = Realize(Logfont(-24, NONANTIALIASED_QUALITY));
  auto smooth = Realize(Logfont(-24, ANTIALIASED_QUALITY));
  EXPECT_FALSE(Describe(*mono).antialiased);
  EXPECT_TRUE(Describe(*smooth).antialiased);
  EXPECT_TRUE(Describe(*Realize(Logfont(-24, CLEARTYPE_QUALITY))).antialiased);
  EXPECT_FALSE(Describe(*Realize(Logfont(-24, DRAFT_QUALITY))).antialiased);
  auto partial = [](const Canvas &c) {
    int n = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) n += c.At(x, y) != White && c.At(x, y) != 0;
    return n;
  };
  Canvas a(60, 30), b(60, 30);
  Draw(*mono, a.View(), a.All(), 0, 0,
       "\x89\xBD"
       "S",
       0, false, 0); // 何S in black
  Draw(*smooth, b.View(), b.All(), 0, 0,
       "\x89\xBD"
       "S",
       0, false, 0);
  EXPECT_EQ(partial(a), 0);
  EXPECT_GT(partial(b), 0);
  // Grey levels over a coloured background mix both colours.
  Canvas d(60, 30, 0x0000FF);
  Draw(*smooth, d.View(), d.All(), 0, 0, "S", Red, false, 0);
  bool mixed = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      uint32_t p = d.At(x, y);
      if ((p & 0xFF0000) && (p & 0xFF) && (p & 0xFF0000) != 0xFF0000) mixed = true;
    }
  EXPECT_TRUE(mixed);
}

TEST(FontDraw, ClippedAtTheViewAndTheClipRectangle) {
  auto font = Realize(Logfont(-16));
  const char text[] = "\x88\x9F\x88\x9F\x88\x9F"; // 亜亜亜
  for (auto [x, y] : {std::pair{-8, -9},
                      {30, 20},
                      {-40, 0},
                      {0, -16},
                      {INT32_MIN, 0},
                      {INT32_MAX - 4, INT32_MAX - 4},
                      {0, INT32_MIN}}) {
    Canvas c(40, 30);
    RECT r = Draw(*font, c.View(), c.All(), x, y, text, Red, true, Blue);
    EXPECT_TRUE(c.GuardIntact()) << x << "," << y;
    EXPECT_TRUE(Inside(r, c.All())) << x << "," << y;
    EXPECT_TRUE(Inside(c.Changed(White), r)) << x << "," << y;
  }
  // A clip rectangle inside the view; one reaching past the view.
  Canvas c(40, 30);
  RECT clip{5, 5, 20, 12};
  RECT r = Draw(*font, c.View(), clip, 0, 0, text, Red, true, Blue);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 20);
  EXPECT_EQ(r.bottom, 12);
  EXPECT_TRUE(Inside(c.Changed(White), clip));
  Canvas e(40, 30);
  Draw(*font, e.View(), {-100, -100, 1000, 1000}, 30, 25, text, Red, true, Blue);
  EXPECT_TRUE(e.GuardIntact());
  // An empty clip or an empty view draws nothing.
  Canvas f(40, 30);
  EXPECT_EQ(Draw(*font, f.View(), {10, 10, 10, 20}, 0, 0, text, Red, true, Blue).right, 0);
  EXPECT_EQ(Draw(*font, PixelView{}, f.All(), 0, 0, text, Red, true, Blue).right, 0);
  EXPECT_EQ(f.Changed(White).right, 0);
}

TEST(FontDraw, BoldItalicUnderlineAndStrikeOut) {
  auto inked = [](const LOGFONTA &lf, const char *text, RECT *box = nullptr) {
    Canvas c(60, 30);
    Draw(*Realize(lf), c.View(), c.All(), 10, 5, text, 0, false, 0);
    int n = 0;
    RECT r = c.Changed(White, &n);
    if (box) *box = r;
    return n;
  };
  LOGFONTA regular = Logfont(-16), bold = regular, italic = regular, under = regular,
           strike = regular;
  bold.lfWeight = FW_BOLD;
  italic.lfItalic = 1;
  under.lfUnderline = 1;
  strike.lfStrikeOut = 1;
  RECT rb, ib, ub;
  int plain = inked(regular, "Il");
  EXPECT_GT(inked(bold, "Il", &rb), plain);
  EXPECT_TRUE(Inside(rb, {10, 5, 10 + 18, 22}));
  EXPECT_NE(inked(italic, "Il", &ib), 0);
  EXPECT_GE(ib.right, 10 + 9) << "oblique tops lean to the right";
  // Underline and strike-out run the whole extent: at least one full row.
  EXPECT_GE(inked(under, "  ", &ub), 16);
  EXPECT_EQ(ub.left, 10);
  EXPECT_EQ(ub.right, 26);
  EXPECT_GT(ub.top, 5 + 10);
  RECT sb;
  EXPECT_GE(inked(strike, "  ", &sb), 16);
  EXPECT_LT(sb.top, ub.top);
  EXPECT_GT(sb.top, 5 + 3);
}

TEST(FontDraw, LatinFacesBorrowJapaneseCharacters) {
  LOGFONTA lf = Logfont(-16);
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  auto font = Realize(lf);
  if (Describe(*font).face.family != "DejaVu Sans") GTEST_SKIP() << "no DejaVu Sans";
  Canvas c(40, 24);
  Draw(*font, c.View(), c.All(), 0, 0, "\x93\xFA", 0, false, 0); // 日
  int n = 0;
  RECT r = c.Changed(White, &n);
  EXPECT_GT(n, 20);
  EXPECT_TRUE(Inside(r, {0, 0, 16, Extent(*font, "").cy}));
  EXPECT_EQ(Extent(*font, "\x93\xFA").cx, 16);
}

TEST(FontCache, DrawingAgainRendersNothing) {
  auto font = Realize(Logfont(-20));
  // The same settings reached through another face name share the glyphs.
  LOGFONTA other = Logfont(-20);
  std::strcpy(other.lfFaceName, "IPAGothic");
  other.lfUnderline = 1;
  auto same = Realize(other);
  auto bigger = Realize(Logfont(-21));
  ClearGlyphCache();
  Canvas c(100, 30);
  uint64_t before = GlyphsRendered();
  Draw(*font, c.View(), c.All(), 0, 0, "\x8A\xBF\x8E\x9A\x8A\xBF", 0, false, 0); // 漢字漢
  EXPECT_EQ(GlyphsRendered() - before, 2u) << "a repeated character renders once";
  before = GlyphsRendered();
  Draw(*font, c.View(), c.All(), 0, 0, "\x8A\xBF\x8E\x9A\x8A\xBF", 0, false, 0);
  Extent(*font, "\x8E\x9A\x8A\xBF");
  EXPECT_EQ(GlyphsRendered() - before, 0u);
  Draw(*same, c.View(), c.All(), 0, 0, "\x8A\xBF", 0, false, 0);
  EXPECT_EQ(GlyphsRendered() - before, 0u);
  // Another size is another glyph.
  before = GlyphsRendered();
  Draw(*bigger, c.View(), c.All(), 0, 0, "\x8A\xBF", 0, false, 0);
  EXPECT_EQ(GlyphsRendered() - before, 1u);
}

TEST(FontCache, BoundedByItsByteLimit) {
  auto font = Realize(Logfont(-48));
  ClearGlyphCache();
  SetGlyphCacheLimit(16 * 1024);
  Canvas c(60, 60);
  for (int trail = 0x40; trail < 0x7F; ++trail) { // 63 kanji of the 0x89 row
    char text[] = {'\x89', static_cast<char>(trail), 0};
    Draw(*font, c.View(), c.All(), 0, 0, text, 0, false, 0);
    EXPECT_LE(GlyphCacheBytes(), 16u * 1024 + 4096);
  }
  // Glyphs evicted are rendered again and still draw the same.
  Canvas first(60, 60), again(60, 60);
  Draw(*font, first.View(), first.All(), 0, 0, "\x89\x40", 0, false, 0);
  uint64_t before = GlyphsRendered();
  for (int trail = 0x41; trail < 0x7F; ++trail) {
    char text[] = {'\x89', static_cast<char>(trail), 0};
    Draw(*font, c.View(), c.All(), 0, 0, text, 0, false, 0);
  }
  Draw(*font, again.View(), again.All(), 0, 0, "\x89\x40", 0, false, 0);
  EXPECT_GT(GlyphsRendered() - before, 62u);
  EXPECT_EQ(first.pixels, again.pixels);
  SetGlyphCacheLimit(32u << 20);
  ClearGlyphCache();
  EXPECT_EQ(GlyphCacheBytes(), 0u);
}

TEST(FontCache, ThreadsDrawTheSameFontAtOnce) {
  auto font = Realize(Logfont(-18));
  const char text[] = "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD ABC 123"; // こんにちは
  Canvas reference(200, 24);
  Draw(*font, reference.View(), reference.All(), 0, 0, text, Red, true, Blue);
  std::vector<std::thread> threads;
  std::vector<char> same(4, 0); // not vector<bool>: threads write neighbours
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      bool ok = true;
      for (int i = 0; i < 50; ++i) {
        if (t == 0 && i % 10 == 0) ClearGlyphCache();
        Canvas c(200, 24);
        Draw(*font, c.View(), c.All(), 0, 0, text, Red, true, Blue);
        ok = ok && c.pixels == reference.pixels;
        auto other = Realize(Logfont(-18 - t)); // realising while others draw
        ok = ok && Extent(*other, "A").cx > 0;
      }
      same[t] = ok;
    });
  for (auto &th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_TRUE(same[t]) << t;
}

} // namespace
