// The program image layout, its validation, and the font numbers.
#include <gtest/gtest.h>

#include <random>

#include "runtime/loader.h"
#include "runtime/program_image.h"

namespace {

std::string Image(const image::Payload &p) {
  std::string tail, error;
  EXPECT_TRUE(image::EncodePayload(p, tail, error)) << error;
  return std::string("ENGINE-BYTES") + tail;
}

TEST(ProgramImage, PayloadLayoutWithNineByteFaceName) {
  image::Payload p;
  p.faceName = "ABCDEFGHI";
  p.fontNumbers = "-16 0 0 0 0 0 0 0 128 0 0 0 1 12";
  p.showFlag = 0;
  p.program = std::string("\x10\x79\n", 3);
  std::string tail, error;
  ASSERT_TRUE(image::EncodePayload(p, tail, error));
  ASSERT_EQ(tail.size(), 48u + 3 + 4);
  EXPECT_EQ(tail[0], 9);
  EXPECT_EQ(tail.substr(1, 9), "ABCDEFGHI");
  EXPECT_EQ(tail[10], 32);
  EXPECT_EQ(tail.substr(11, 32), p.fontNumbers);
  EXPECT_EQ(tail[43], 0);
  EXPECT_EQ(tail.substr(44, 4), std::string("\0\0\0\x03", 4));
  // The program is stored complemented, and the length word counts the
  // payload without itself: 7 + F + T + P.
  EXPECT_EQ(static_cast<uint8_t>(tail[48]), 0xEF);
  EXPECT_EQ(static_cast<uint8_t>(tail[49]), 0x86);
  EXPECT_EQ(static_cast<uint8_t>(tail[50]), 0xF5);
  EXPECT_EQ(tail.substr(51), std::string("\0\0\0\x33", 4));
}

TEST(ProgramImage, DecodeRoundTripsAndRestoresTheProgram) {
  image::Payload p;
  p.faceName = "X";
  p.fontNumbers = "1 2";
  p.showFlag = 1;
  p.program = std::string(300, '\xFF');
  image::Payload q;
  ASSERT_TRUE(image::DecodeImage(Image(p), q));
  EXPECT_EQ(q.faceName, "X");
  EXPECT_EQ(q.fontNumbers, "1 2");
  EXPECT_EQ(q.showFlag, 1);
  EXPECT_EQ(q.program, p.program);

  p.program.clear();
  ASSERT_TRUE(image::DecodeImage(Image(p), q));
  EXPECT_TRUE(q.program.empty());
}

TEST(ProgramImage, LengthsThatDoNotFitAreRefused) {
  image::Payload p;
  p.faceName = "Face";
  p.fontNumbers = "1";
  p.program = "abc";
  std::string good = Image(p);
  image::Payload q;
  ASSERT_TRUE(image::DecodeImage(good, q));

  auto with = [&](size_t fromEnd, uint8_t byte) {
    std::string s = good;
    s[s.size() - fromEnd] = static_cast<char>(byte);
    return s;
  };
  size_t payloadLength = good.size() - 12 - 4;
  size_t fAt = 4 + payloadLength; // distance of F from the end
  EXPECT_FALSE(image::DecodeImage(with(fAt, 32), q)) << "F above 31";
  EXPECT_FALSE(image::DecodeImage(with(fAt, 30), q)) << "F beyond the payload";
  EXPECT_FALSE(image::DecodeImage(with(fAt - 5, 128), q)) << "T above 127";
  EXPECT_FALSE(image::DecodeImage(with(4 + 3 + 4, 0x7F), q)) << "P beyond the payload";
  EXPECT_FALSE(image::DecodeImage(with(1, 0xFF), q)) << "L beyond the file";
  EXPECT_FALSE(image::DecodeImage(with(4, 0x80), q)) << "L of 2 GiB";
  EXPECT_FALSE(image::DecodeImage(std::string("\0\0\0", 3), q));
  EXPECT_FALSE(image::DecodeImage(std::string("\0\0\0\0", 4), q)) << "L = 0";

  image::Payload tooLong;
  tooLong.faceName = std::string(32, 'a');
  std::string tail, error;
  EXPECT_FALSE(image::EncodePayload(tooLong, tail, error));
  tooLong.faceName.clear();
  tooLong.fontNumbers = std::string(128, '1');
  EXPECT_FALSE(image::EncodePayload(tooLong, tail, error));
}

TEST(ProgramImage, ArbitraryBytesNeverReadOutside) {
  std::mt19937 rng(1234);
  image::Payload q;
  for (int round = 0; round < 20000; ++round) {
    size_t n = rng() % 80;
    std::string s(n, '\0');
    for (char &c : s) c = static_cast<char>(rng());
    // Make the length word plausible half of the time so decoding goes deep.
    if (n >= 4 && (round & 1)) {
      uint32_t l = static_cast<uint32_t>(rng() % n);
      s[n - 4] = 0;
      s[n - 3] = 0;
      s[n - 2] = static_cast<char>(l >> 8);
      s[n - 1] = static_cast<char>(l);
    }
    image::DecodeImage(s, q);
  }
}

TEST(ProgramImage, FontNumbersFillTheLogfont) {
  LOGFONTA f;
  int32_t points = 0;
  ReadFontNumbers("-16 0 0 0 0 0 0 0 128 0 0 0 1 12", f, points);
  EXPECT_EQ(f.lfHeight, -16);
  EXPECT_EQ(f.lfWeight, 0);
  EXPECT_EQ(f.lfCharSet, 128);
  EXPECT_EQ(f.lfPitchAndFamily, 1);
  EXPECT_EQ(points, 12);

  // Byte fields keep the low 8 bits; missing numbers leave fields alone.
  LOGFONTA g;
  g.lfQuality = 7;
  int32_t p2 = 99;
  ReadFontNumbers("1 2 3 4 700 257 -1 0 0 0 0", g, p2);
  EXPECT_EQ(g.lfWidth, 2);
  EXPECT_EQ(g.lfOrientation, 4);
  EXPECT_EQ(g.lfWeight, 700);
  EXPECT_EQ(g.lfItalic, 1);
  EXPECT_EQ(g.lfUnderline, 255);
  EXPECT_EQ(g.lfQuality, 7);
  EXPECT_EQ(p2, 99);
}

} // namespace
