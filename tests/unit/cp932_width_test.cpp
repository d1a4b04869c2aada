// Width conversions and lead bytes against the Windows runtime's recorded
// results (mbcs932.txt).
#include "platform/cp932.h"
#include "platform/nls.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

// The records of one kind ("B", "K", ...), split at tabs.
std::vector<Fields> Records(const std::string &kind) {
  std::ifstream in(QUILL_TESTDATA_DIR "/mbcs932.txt");
  std::vector<Fields> out;
  std::string line;
  while (std::getline(in, line)) {
    Fields f;
    std::stringstream ss(line);
    for (std::string field; std::getline(ss, field, '\t');) f.push_back(field);
    if (f.size() >= 3 && f[0] == kind) out.push_back(f);
  }
  return out;
}

unsigned Hex(const std::string &s) {
  return static_cast<unsigned>(std::stoul(s, nullptr, 16));
}

class Cp932Width : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::ifstream(QUILL_TESTDATA_DIR "/mbcs932.txt")) GTEST_SKIP() << "no mbcs932.txt";
  }
};

TEST_F(Cp932Width, EveryByteConvertsToFullWidthAndBack) {
  auto lines = Records("B");
  ASSERT_EQ(lines.size(), 256u);
  for (const auto &f : lines) {
    auto b = static_cast<uint8_t>(Hex(f[1]));
    EXPECT_EQ(cp932::ToFullWidth(b), Hex(f[2])) << "byte " << f[1];
    EXPECT_EQ(cp932::ToHalfWidth(cp932::ToFullWidth(b)), Hex(f[3])) << "byte " << f[1];
  }
}

TEST_F(Cp932Width, LeadBytes) {
  auto lines = Records("K");
  ASSERT_EQ(lines.size(), 256u);
  for (const auto &f : lines) {
    EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(Hex(f[1]))), std::stoi(f[4])) << "byte " << f[1];
  }
}

// Every recorded code converts as recorded, and every other double-byte code
// is left as it is.
TEST_F(Cp932Width, HalfWidthOfEveryDoubleByteCode) {
  std::map<unsigned, unsigned> changed;
  for (const auto &f : Records("H")) changed[Hex(f[1])] = Hex(f[2]);
  ASSERT_EQ(changed.size(), 272u);
  int checked = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      auto code = static_cast<uint16_t>(lead << 8 | trail);
      auto it = changed.find(code);
      unsigned expected = it == changed.end() ? code : it->second;
      EXPECT_EQ(cp932::ToHalfWidth(code), expected) << std::hex << "code " << code;
      if (it != changed.end()) ++checked;
    }
  }
  EXPECT_EQ(checked, 272);
}

// The codes that convert to each single byte are exactly those recorded.
TEST_F(Cp932Width, CodesGroupedBySingleByte) {
  std::map<unsigned, std::vector<unsigned>> converted;
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
    unsigned half = cp932::ToHalfWidth(static_cast<uint16_t>(code));
    if (half != code) converted[half].push_back(code);
  }
  auto lines = Records("I");
  ASSERT_EQ(lines.size(), 192u);
  for (const auto &f : lines) {
    std::vector<unsigned> expected;
    std::stringstream codes(f[2]);
    for (std::string code; codes >> code;) {
      if (code != "-") expected.push_back(Hex(code));
    }
    EXPECT_EQ(converted[Hex(f[1])], expected) << "byte " << f[1];
  }
}

TEST(Cp932WidthEdges, VoicedKanaLoseTheirMarksAndKanjiStay) {
  EXPECT_EQ(cp932::ToHalfWidth(0x82AA), 0xB6);   // が -> ｶ
  EXPECT_EQ(cp932::ToHalfWidth(0x8370), 0xCA);   // パ -> ﾊ
  EXPECT_EQ(cp932::ToHalfWidth(0x82F1), 0xDD);   // ん -> ﾝ (after the katakana gap)
  EXPECT_EQ(cp932::ToHalfWidth(0x837F), 0x837F); // no character
  EXPECT_EQ(cp932::ToHalfWidth(0x889F), 0x889F); // 亜
  EXPECT_EQ(cp932::ToHalfWidth(0x0041), 0x0041);
  EXPECT_EQ(cp932::ToFullWidth(0x80), 0x80);
  EXPECT_EQ(cp932::ToFullWidth(0xE0), 0xE0);
}

} // namespace
