// Code page 932 text cut into drawing units, against the Microsoft mapping
// (not the JIS one that turns 0x5C into a yen sign).
#include "platform/font_internal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::font::Decode;
using platform::font::NoCode;
using platform::font::Unit;

std::vector<Unit> Units(std::string_view text) {
  std::vector<Unit> units;
  Decode(text, units);
  return units;
}

TEST(FontDecode, MicrosoftMappingOfSingleAndDoubleBytes) {
  struct Case {
    const char *bytes;
    uint32_t code;
  } cases[] = {
      {"A", U'A'},          {"\x5C", 0x5C},       {"\x7E", 0x7E},       {" ", 0x20},
      {"\xA1", 0xFF61},     {"\xDF", 0xFF9F},     {"\x81\x40", 0x3000}, {"\x81\x60", 0xFF5E},
      {"\x81\x7C", 0xFF0D}, {"\x82\xA0", 0x3042}, {"\x93\xFA", 0x65E5}, {"\x87\x94", 0x2211},
      {"\xF0\x40", 0xE000}, {"\xEE\xEF", 0x2170}, {"\xFA\x40", 0x2170}, {"\x88\x9F", 0x4E9C},
      {"\x81\x8F", 0xFFE5},
  };
  for (const Case &c : cases) {
    auto units = Units(c.bytes);
    ASSERT_EQ(units.size(), 1u) << c.bytes;
    EXPECT_EQ(units[0].code, c.code) << std::hex << static_cast<unsigned>(c.bytes[0] & 0xFF);
    EXPECT_EQ(units[0].bytes, std::string_view(c.bytes).size());
  }
}

TEST(FontDecode, BytesWithoutMappingKeepTheirWidth) {
  // Single bytes that no character starts with.
  for (const char *b : {"\x80", "\xA0", "\xFD", "\xFE", "\xFF"}) {
    auto units = Units(b);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].code, NoCode);
    EXPECT_EQ(units[0].bytes, 1);
  }
  // A lead byte takes the next byte whatever it is; at the end it stands alone.
  auto units = Units(std::string_view("\x81\x20"
                                      "A\x82\x00"
                                      "B\x81",
                                      7));
  ASSERT_EQ(units.size(), 5u);
  EXPECT_EQ(units[0].code, NoCode);
  EXPECT_EQ(units[0].bytes, 2);
  EXPECT_EQ(units[1].code, U'A');
  EXPECT_EQ(units[2].code, NoCode);
  EXPECT_EQ(units[2].bytes, 2);
  EXPECT_EQ(units[3].code, U'B');
  EXPECT_EQ(units[4].code, NoCode);
  EXPECT_EQ(units[4].bytes, 1);
  // The bytes of every unit add up to the text, for every lead and trail.
  std::string all;
  for (int lead = 0x80; lead < 0x100; ++lead)
    for (int trail = 0; trail < 0x100; trail += 7) {
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(trail));
    }
  size_t total = 0;
  for (const Unit &u : Units(all)) total += u.bytes;
  EXPECT_EQ(total, all.size());
}

} // namespace
