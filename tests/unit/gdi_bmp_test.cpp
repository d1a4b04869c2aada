// BMP loading: every depth and header kind from bytes written here, rows in
// both orders, and files that are cut short or lie about their sizes.
#include "platform/gdi_bmp.h"
#include "platform/wingdi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes &b, size_t at, uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes &b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// The test picture: 3 x 2 pixels, colours chosen per pixel by COLOUR(x, y).
uint32_t Colour(int x, int y) { // 0x00RRGGBB
  static const uint32_t c[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0xFFFFFF, 0x000000, 0x808080}};
  return c[y][x];
}

// A BMP of the test picture: HEADER 12, 40, 108 or 124; BPP 1, 4, 8, 16,
// 24 or 32; BITFIELDS for 16 (5-6-5) and 32; TOPDOWN for negative heights.
Bytes MakeBmp(uint32_t header, int bpp, bool topDown, bool bitfields = false) {
  const int w = 3, h = 2;
  std::vector<uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
  int entries = bpp <= 8 ? (bpp == 1 ? 2 : 6) : 0;
  size_t entrySize = header == 12 ? 3 : 4;
  size_t masks = bitfields && header == 40 ? 12 : 0;
  size_t off = 14 + header + masks + entries * entrySize;
  size_t stride = (w * bpp + 31) / 32 * 4;
  Bytes b(off + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(off));
  Put32(b, 14, header);
  if (header == 12) {
    Put16(b, 18, w);
    Put16(b, 20, h);
    Put16(b, 22, 1);
    Put16(b, 24, bpp);
  } else {
    Put32(b, 18, w);
    Put32(b, 22, topDown ? static_cast<uint32_t>(-h) : h);
    Put16(b, 26, 1);
    Put16(b, 28, bpp);
    Put32(b, 30, bitfields ? 3 : 0);
    Put32(b, 46, static_cast<uint32_t>(entries));
    if (bitfields) {
      size_t at = header == 40 ? 14 + 40 : 14 + 40;
      uint32_t m[3] = {0xF800, 0x07E0, 0x001F};
      if (bpp == 32) m[0] = 0x00FF0000, m[1] = 0x0000FF00, m[2] = 0x000000FF;
      for (int i = 0; i < 3; ++i) Put32(b, at + 4 * i, m[i]);
    }
  }
  for (int i = 0; i < entries; ++i) {
    size_t at = 14 + header + masks + i * entrySize;
    b[at] = palette[i] & 0xFF;
    b[at + 1] = (palette[i] >> 8) & 0xFF;
    b[at + 2] = (palette[i] >> 16) & 0xFF;
  }
  for (int row = 0; row < h; ++row) {
    int y = topDown ? row : h - 1 - row;
    uint8_t *p = b.data() + off + stride * row;
    for (int x = 0; x < w; ++x) {
      uint32_t c = Colour(x, y);
      int index = 0;
      while (index < entries && palette[index] != c) ++index;
      if (bpp == 1) index = (c == 0xFF0000 || c == 0xFFFFFF) ? 0 : 1; // two-colour version
      switch (bpp) {
      case 1:
        p[0] |= index << (7 - x);
        break;
      case 4:
        p[x / 2] |= index << (x % 2 ? 0 : 4);
        break;
      case 8:
        p[x] = index;
        break;
      case 16: {
        uint32_t r = c >> 16, g = (c >> 8) & 0xFF, bl = c & 0xFF, v;
        v = bitfields ? (r >> 3) << 11 | (g >> 2) << 5 | bl >> 3
                      : (r >> 3) << 10 | (g >> 3) << 5 | bl >> 3;
        p[2 * x] = v & 0xFF;
        p[2 * x + 1] = v >> 8;
        break;
      }
      case 24:
        p[3 * x] = c & 0xFF, p[3 * x + 1] = (c >> 8) & 0xFF, p[3 * x + 2] = c >> 16;
        break;
      default:
        p[4 * x] = c & 0xFF, p[4 * x + 1] = (c >> 8) & 0xFF, p[4 * x + 2] = c >> 16;
        break;
      }
    }
  }
  return b;
}

// Scaling 5- or 6-bit channels gives 0x84 for 0x80 and keeps 0 and 0xFF.
uint32_t Expected(int x, int y, int bpp) {
  uint32_t c = Colour(x, y);
  if (bpp == 1) return (c == 0xFF0000 || c == 0xFFFFFF) ? 0xFF0000 : 0x00FF00;
  if (bpp == 16 && c == 0x808080) return 0;
  return c;
}

TEST(GdiBmp, EveryDepthAndHeader) {
  struct Kind {
    uint32_t header;
    int bpp;
    bool topDown, bitfields;
  };
  for (Kind k :
       {Kind{12, 1, false, false}, Kind{12, 4, false, false}, Kind{12, 8, false, false},
        Kind{12, 24, false, false}, Kind{40, 1, false, false}, Kind{40, 4, true, false},
        Kind{40, 8, false, false}, Kind{40, 16, false, false}, Kind{40, 16, true, true},
        Kind{40, 24, true, false}, Kind{40, 32, false, false}, Kind{40, 32, false, true},
        Kind{108, 24, false, false}, Kind{124, 32, true, true}, Kind{124, 16, false, true}}) {
    SCOPED_TRACE("header " + std::to_string(k.header) + " bpp " + std::to_string(k.bpp) +
                 (k.topDown ? " top-down" : "") + (k.bitfields ? " bit fields" : ""));
    auto s = platform::gdi::DecodeBmp(MakeBmp(k.header, k.bpp, k.topDown, k.bitfields));
    ASSERT_TRUE(s);
    ASSERT_EQ(s->width, 3);
    ASSERT_EQ(s->height, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        uint32_t want = Expected(x, y, k.bpp);
        if (k.bpp == 16 && Colour(x, y) == 0x808080) want = k.bitfields ? 0x848284 : 0x848484;
        EXPECT_EQ(s->pixels[y * 3 + x], want) << x << "," << y;
      }
  }
}

TEST(GdiBmp, MalformedFilesFail) {
  Bytes good = MakeBmp(40, 24, false);
  ASSERT_TRUE(platform::gdi::DecodeBmp(good));
  // Every shorter prefix fails (never reads past the end).
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(platform::gdi::DecodeBmp(Bytes(good.begin(), good.begin() + n))) << n;
  auto with = [&](size_t at, uint32_t v, int bytes = 4) {
    Bytes b = good;
    if (bytes == 4)
      Put32(b, at, v);
    else
      Put16(b, at, v);
    return platform::gdi::DecodeBmp(b);
  };
  EXPECT_FALSE(with(0, 'X', 2));      // signature
  EXPECT_FALSE(with(10, 0xFFFFFFF0)); // pixel offset past the end
  EXPECT_FALSE(with(10, 20));         // pixel offset inside the header
  EXPECT_FALSE(with(14, 39));         // header size
  EXPECT_FALSE(with(14, 0xFFFFFF00)); // header larger than the file
  EXPECT_FALSE(with(18, 0));          // width 0
  EXPECT_FALSE(with(18, 0x80000000)); // negative width
  EXPECT_FALSE(with(18, 100));        // rows would go past the end
  EXPECT_FALSE(with(22, 0));          // height 0
  EXPECT_FALSE(with(18, 0x10000));    // 65536 x 65536: too many pixels
  EXPECT_FALSE(with(28, 7, 2));       // depth
  EXPECT_FALSE(with(30, 1));          // run-length compression
  EXPECT_FALSE(with(30, 3));          // bit fields without room for masks at 24 bpp
  // A palette count larger than the palette keeps what is there.
  Bytes pal = MakeBmp(40, 8, false);
  Put32(pal, 46, 100000);
  EXPECT_TRUE(platform::gdi::DecodeBmp(pal));
}

TEST(GdiBmp, LoadImageFromFile) {
  std::string path = testing::TempDir() + "quill_gdi_test.bmp";
  Bytes b = MakeBmp(40, 24, false);
  FILE *f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
  HANDLE h = LoadImageA(0, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  ASSERT_NE(h, 0u);
  BITMAP bm;
  ASSERT_EQ(GetObjectA(h, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  HDC dc = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(dc, h);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(128, 128, 128));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(h);
  // Scaled on request; resources, other types and missing files fail.
  h = LoadImageA(0, path.c_str(), IMAGE_BITMAP, 6, 4, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  ASSERT_NE(h, 0u);
  GetObjectA(h, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 6);
  DeleteObject(h);
  EXPECT_EQ(LoadImageA(0, path.c_str(), IMAGE_BITMAP, 0, 0, 0), 0u);
  EXPECT_EQ(LoadImageA(0, path.c_str(), 1, 0, 0, LR_LOADFROMFILE), 0u);
  EXPECT_EQ(LoadImageA(0, (path + "x").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), 0u);
  EXPECT_EQ(LoadImageA(0, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), 0u);
  unlink(path.c_str());
}

} // namespace
