// Face matching, GDI metrics and text extents of realised fonts, with the IPA
// fonts installed by the setup step.
#include "platform/font.h"
#include "platform/font_internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace platform::font;

LOGFONTA Logfont(LONG height, const char *face = "", LONG width = 0) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

TEXTMETRICA Metrics(const LOGFONTA &lf) {
  TEXTMETRICA tm;
  GetMetrics(*Realize(lf), tm);
  return tm;
}

// "ＭＳ ゴシック" and friends in code page 932.
const char MsGothicJa[] = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";
const char MsPGothicJa[] = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const char MsMinchoJa[] = "\x82\x6C\x82\x72 \x96\xBE\x92\xA9";
const char MsPMinchoJa[] = "\x82\x6C\x82\x72 \x82\x6F\x96\xBE\x92\xA9";

TEST(FontMatch, WindowsJapaneseNamesReachTheIpaFamilies) {
  struct Case {
    const char *name, *family;
  } cases[] = {
      {"MS Gothic", "IPAGothic"},   {"ms gothic", "IPAGothic"},   {MsGothicJa, "IPAGothic"},
      {"MS PGothic", "IPAPGothic"}, {MsPGothicJa, "IPAPGothic"},  {"MS Mincho", "IPAMincho"},
      {MsMinchoJa, "IPAMincho"},    {"MS PMincho", "IPAPMincho"}, {MsPMinchoJa, "IPAPMincho"},
  };
  for (const Case &c : cases) {
    FaceMatch m = MatchFace(c.name, FW_NORMAL, false);
    EXPECT_EQ(m.family, c.family) << c.name;
    EXPECT_FALSE(m.file.empty()) << c.name;
  }
}

TEST(FontMatch, IpaFamiliesAreTheirPackagedFiles) {
  // Found without asking fontconfig, for every weight and slant.
  EXPECT_EQ(MatchFace("", FW_BOLD, true).file, "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
  EXPECT_EQ(MatchFace(MsGothicJa, 0, false).file,
            "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
  EXPECT_EQ(MatchFace("ipapgothic", 0, false).file,
            "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf");
}

TEST(FontMatch, EmptyUnknownAndLatinStandInsGiveIpaGothic) {
  for (const char *name : {"", "No Such Face 123", "Arial", "Courier New", "  "}) {
    FaceMatch m = MatchFace(name, FW_NORMAL, false);
    EXPECT_EQ(m.family, "IPAGothic") << '"' << name << '"';
    EXPECT_FALSE(m.file.empty()) << name;
  }
  // Bold and italic requests still find the regular-only IPA face.
  EXPECT_EQ(MatchFace("", FW_BOLD, true).family, "IPAGothic");
  // A name ends at its first 0 byte, as in a LOGFONT.
  EXPECT_EQ(MatchFace(std::string_view("MS PGothic\0junk", 15), 0, false).family, "IPAPGothic");
  // Bytes that are no code page 932 text are no crash.
  EXPECT_EQ(MatchFace("\x81\xFF\x80", 0, false).family, "IPAGothic");
}

TEST(FontMatch, FontconfigNamesAreHonoured) {
  EXPECT_EQ(MatchFace("IPAPGothic", 0, false).family, "IPAPGothic");
  // The Japanese spelling of a family ("IPAゴシック").
  EXPECT_EQ(MatchFace("IPA\x83\x53\x83\x56\x83\x62\x83\x4E", 0, false).family, "IPAGothic");
  // A generic family answered with a face that covers Japanese.
  FaceMatch mono = MatchFace("monospace", 0, false);
  EXPECT_EQ(mono.family, "IPAGothic");
  // A Latin face that is installed and asked for by name is given as is.
  FaceMatch dejavu = MatchFace("DejaVu Sans", 0, false);
  if (dejavu.family != "IPAGothic") {
    EXPECT_EQ(dejavu.family, "DejaVu Sans");
  }
}

TEST(FontMetrics, IpaGothicAtGdiHeights) {
  struct Case {
    LONG height;
    int tmHeight, ascent, descent, internal, ave, max;
  } cases[] = {
      {-16, 17, 14, 3, 1, 8, 16}, {0, 17, 14, 3, 1, 8, 16},        {16, 16, 13, 3, 1, 8, 15},
      {-12, 13, 11, 2, 1, 6, 12}, {-100, 108, 88, 20, 8, 50, 100},
  };
  for (const Case &c : cases) {
    TEXTMETRICA tm = Metrics(Logfont(c.height, "MS Gothic"));
    EXPECT_EQ(tm.tmHeight, c.tmHeight) << c.height;
    EXPECT_EQ(tm.tmAscent, c.ascent) << c.height;
    EXPECT_EQ(tm.tmDescent, c.descent) << c.height;
    EXPECT_EQ(tm.tmInternalLeading, c.internal) << c.height;
    EXPECT_EQ(tm.tmExternalLeading, 0) << c.height;
    EXPECT_EQ(tm.tmAveCharWidth, c.ave) << c.height;
    EXPECT_EQ(tm.tmMaxCharWidth, c.max) << c.height;
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(tm.tmPitchAndFamily & 0x01, 0) << "IPAGothic is fixed pitch";
  }
  // A positive height is the whole cell, for any size.
  for (LONG h : {1, 7, 13, 20, 33, 64}) EXPECT_EQ(Metrics(Logfont(h)).tmHeight, h) << h;
}

TEST(FontMetrics, StylesAndOutOfRangeSizes) {
  LOGFONTA lf = Logfont(-16);
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  lf.lfUnderline = 1;
  TEXTMETRICA tm = Metrics(lf);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_NE(tm.tmItalic, 0);
  EXPECT_EQ(tm.tmUnderlined, 1);
  EXPECT_EQ(tm.tmHeight, 17);
  FontInfo info = Describe(*Realize(lf));
  EXPECT_TRUE(info.bold && info.fakeBold && info.italic && info.underline);
  EXPECT_EQ(Metrics(Logfont(-16)).tmWeight, FW_NORMAL);

  // Sizes no screen or printer uses are kept within bounds, not refused.
  for (LONG h : {INT32_MIN, INT32_MAX, -100000, 100000}) {
    auto font = Realize(Logfont(h, "", h));
    FontInfo fi = Describe(*font);
    EXPECT_GE(fi.emPixels, 1);
    EXPECT_LE(fi.emPixels, 2048);
    EXPECT_LE(fi.widthPixels, 2048);
  }
}

TEST(FontMetrics, EqualLogfontsShareOneFont) {
  auto a = Realize(Logfont(-16, "MS Gothic"));
  auto b = Realize(Logfont(-16, "MS Gothic"));
  EXPECT_EQ(a.get(), b.get());
  EXPECT_NE(a.get(), Realize(Logfont(-17, "MS Gothic")).get());
  // The family asked for is reported back, so it is part of what is equal.
  LOGFONTA roman = Logfont(-16, "MS Gothic");
  roman.lfPitchAndFamily = 0x10; // FF_ROMAN
  TEXTMETRICA tm = Metrics(roman);
  EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, 0x10);
  EXPECT_EQ(Metrics(Logfont(-16, "MS Gothic")).tmPitchAndFamily & 0xF0, FF_MODERN);
  // A face name filling all 32 bytes without a terminator is read safely.
  LOGFONTA lf = Logfont(-16);
  std::memset(lf.lfFaceName, 'A', LF_FACESIZE);
  EXPECT_EQ(Describe(*Realize(lf)).face.family, "IPAGothic");
}

TEST(FontExtent, AsciiKanaKanjiAndInvalidBytes) {
  auto font = Realize(Logfont(-16, "MS Gothic"));
  EXPECT_EQ(Extent(*font, "").cx, 0);
  EXPECT_EQ(Extent(*font, "").cy, 17);
  EXPECT_EQ(Extent(*font, "ABC abc\\~").cx, 9 * 8);
  EXPECT_EQ(Extent(*font, "\xB1\xB2\xB3\xDE").cx, 4 * 8);          // ｱｲｳﾞ
  EXPECT_EQ(Extent(*font, "\x93\xFA\x96\x7B\x8C\xEA").cx, 3 * 16); // 日本語
  EXPECT_EQ(Extent(*font, "\x82\xA0\x81\x40").cx, 2 * 16);         // あ and the ideographic blank
  EXPECT_EQ(Extent(*font, "A\x93\xFA"
                          "B")
                .cx,
            8 + 16 + 8);
  // Bytes without a mapping are blanks of their width: single bytes half,
  // a lead byte with its trail full, a lone lead byte at the end half.
  EXPECT_EQ(Extent(*font, "\x80\xA0\xFD\xFE\xFF").cx, 5 * 8);
  EXPECT_EQ(Extent(*font, "\x81\x20").cx, 16);
  EXPECT_EQ(Extent(*font, "A\x81").cx, 16);
  EXPECT_EQ(Extent(*font, std::string_view("\0\t\r", 3)).cx, 3 * 8);

  // Odd sizes: hinted half-width advances are rounded up.
  auto odd = Realize(Logfont(-13, "MS Gothic"));
  EXPECT_EQ(Extent(*odd, "A").cx, 7);
  EXPECT_EQ(Extent(*odd, "\x93\xFA").cx, 13);

  // lfWidth is the average character width.
  auto wide = Realize(Logfont(-16, "MS Gothic", 16));
  EXPECT_EQ(Extent(*wide, "AB").cx, 32);
  EXPECT_EQ(Extent(*wide, "\x93\xFA").cx, 32);
  TEXTMETRICA tm;
  GetMetrics(*wide, tm);
  EXPECT_EQ(tm.tmAveCharWidth, 16);
  EXPECT_EQ(tm.tmHeight, 17);

  // Synthetic bold widens every advance by a pixel.
  LOGFONTA lf = Logfont(-16, "MS Gothic");
  lf.lfWeight = FW_BOLD;
  EXPECT_EQ(Extent(*Realize(lf), "A\x93\xFA").cx, 9 + 17);
}

TEST(FontDecode, CodePointsOfSingleBytesAndPairs) {
  auto codes = [](std::string_view text) {
    std::vector<Unit> units;
    Decode(text, units);
    std::vector<uint32_t> out;
    for (const Unit &u : units) out.push_back(u.code);
    return out;
  };
  // ASCII, the half-width kana above it, bytes without a mapping, a pair.
  EXPECT_EQ(codes(std::string_view("A\\~\0\x7F", 5)),
            (std::vector<uint32_t>{'A', '\\', '~', 0, 0x7F}));
  EXPECT_EQ(codes("\xB1\xDF\xA1"), (std::vector<uint32_t>{0xFF71, 0xFF9F, 0xFF61})); // ｱﾟ｡
  EXPECT_EQ(codes("\x80\xA0\xFD"), (std::vector<uint32_t>{NoCode, NoCode, NoCode}));
  EXPECT_EQ(codes("a\x93\xFA\x81"), (std::vector<uint32_t>{'a', 0x65E5, NoCode})); // a日, lone lead
}

TEST(FontExtent, ProportionalFaceHasNarrowAndWideLetters) {
  auto font = Realize(Logfont(-16, "MS PGothic"));
  EXPECT_LT(Extent(*font, "i").cx, Extent(*font, "W").cx);
  TEXTMETRICA tm;
  GetMetrics(*font, tm);
  EXPECT_EQ(tm.tmPitchAndFamily & 0x01, 0x01) << "variable pitch";
  EXPECT_EQ(tm.tmHeight, 17);
}

} // namespace
