// String comparison against the order recorded from Windows (collate.txt),
// plus the properties the engine relies on: only identical texts are equal,
// any bytes compare deterministically, and comparisons may run in parallel.
#include "platform/nls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> Records(const std::string &kind) {
  std::ifstream in(QUILL_TESTDATA_DIR "/collate.txt");
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

// "-" is the empty text.
std::string Unhex(const std::string &hex) {
  std::string s;
  for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
    s += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return s;
}

char Compare(const std::string &a, const std::string &b, LCID locale = LOCALE_JAPANESE) {
  switch (CompareStringA(locale, 0, a.data(), static_cast<int>(a.size()), b.data(),
                         static_cast<int>(b.size()))) {
  case CSTR_LESS_THAN:
    return '<';
  case CSTR_EQUAL:
    return '=';
  case CSTR_GREATER_THAN:
    return '>';
  default:
    return '?';
  }
}

// The recording has the half-width and the full-width prolonged sound mark
// (ｰ, ー) equal; here only identical texts are equal, and ｰ sorts first.
const std::set<std::pair<std::string, std::string>> kKnownDifferences = {{"b0", "815b"},
                                                                         {"815b", "b0"}};

class Collation : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::ifstream(QUILL_TESTDATA_DIR "/collate.txt")) GTEST_SKIP() << "no collate.txt";
  }
};

TEST_F(Collation, FullMatrix) {
  auto strings = Records("S");
  auto rows = Records("M");
  ASSERT_EQ(strings.size(), 92u);
  ASSERT_EQ(rows.size(), strings.size());
  std::set<std::pair<std::string, std::string>> differences;
  int agree = 0;
  for (size_t i = 0; i < strings.size(); ++i) {
    ASSERT_EQ(rows[i][2].size(), strings.size());
    for (size_t j = 0; j < strings.size(); ++j) {
      char got = Compare(Unhex(strings[i][2]), Unhex(strings[j][2]));
      if (got == rows[i][2][j]) {
        ++agree;
      } else {
        differences.insert({strings[i][2], strings[j][2]});
        EXPECT_TRUE(kKnownDifferences.count({strings[i][2], strings[j][2]}))
            << strings[i][3] << " " << got << " " << strings[j][3] << ", recorded "
            << rows[i][2][j];
      }
    }
  }
  EXPECT_EQ(differences, kKnownDifferences);
  std::printf("collation matrix: %d of %zu cells agree\n", agree, strings.size() * strings.size());
}

// The chosen pairs, for the Japanese locale and for the system default.
TEST_F(Collation, ChosenPairs) {
  int lines = 0, agree = 0;
  for (auto [kind, locale] : {std::pair{"Q", LOCALE_JAPANESE}, {"Q0800", LOCALE_SYSTEM_DEFAULT}}) {
    for (const auto &f : Records(kind)) {
      ++lines;
      char got = Compare(Unhex(f[1]), Unhex(f[2]), locale);
      bool known = kKnownDifferences.count({f[1], f[2]}) > 0;
      agree += got == f[3][0];
      EXPECT_EQ(got == f[3][0], !known) << f[4] << " " << got << " " << f[5];
    }
  }
  EXPECT_EQ(lines, 122);
  std::printf("collation pairs: %d of %d agree\n", agree, lines);
}

TEST(CollationEdges, LengthsAndArguments) {
  EXPECT_EQ(CompareStringA(LOCALE_JAPANESE, 0, "abc", 2, "ab", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(LOCALE_JAPANESE, 0, "ab", -1, "abc", -1), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_JAPANESE, 0, "a\0c", 3, "a\0b", 3), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_JAPANESE, 0, "", 0, "", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(LOCALE_JAPANESE, 1, "a", -1, "b", -1), 0);
  EXPECT_EQ(CompareStringA(LOCALE_JAPANESE, 0, nullptr, -1, "b", -1), 0);
  std::string a(20000, 'x'), b = a + "B";
  a += "a";
  EXPECT_EQ(Compare(a, b), '<');
  EXPECT_EQ(Compare(b + "-", b), '>');
}

// Control bytes, bytes without a character and cut double-byte characters
// are ignored by the collation order but still make texts unequal.
TEST(CollationEdges, AnyBytesCompareDeterministically) {
  const std::vector<std::string> texts = {"a",
                                          "a\x80",
                                          "a\xFF",
                                          "a\x81",
                                          "\x81"
                                          "a",
                                          "a\x01",
                                          "a\x1A",
                                          "\x80\x80",
                                          "\xFD\xFE",
                                          "\x82\xA0",
                                          "\x82",
                                          "\x82\x7F",
                                          "\xA0",
                                          "\x81\x20",
                                          "\xF0\x40",
                                          "",
                                          std::string("\0", 1)};
  for (const auto &x : texts) {
    for (const auto &y : texts) {
      char xy = Compare(x, y), yx = Compare(y, x);
      EXPECT_EQ(xy == '=', x == y);
      EXPECT_EQ(xy, yx == '<' ? '>' : yx == '>' ? '<' : '=');
    }
  }
}

// Full-width symbols sort with their ASCII forms, after them.
TEST(CollationEdges, FullWidthSymbols) {
  EXPECT_EQ(Compare("!", "\x81\x49"), '<');  // ！
  EXPECT_EQ(Compare("\x81\x49", "\""), '<'); // ！ < "
  EXPECT_EQ(Compare("\\", "\x81\x5F"), '<'); // ＼
  EXPECT_EQ(Compare("\x81\x5F", "+"), '<');
}

TEST(CollationEdges, SameResultsFromSeveralThreads) {
  const std::vector<std::string> texts = {
      "a", "B", "co-op", "coop", "\x82\xAA", "\xB6\xDE", "\x93\xFA\x96\x7B", "10", "9", "\x81\x5B"};
  std::vector<char> expected;
  for (const auto &x : texts)
    for (const auto &y : texts) expected.push_back(Compare(x, y));
  std::vector<int> mismatches(8, 0);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        size_t k = 0;
        for (const auto &x : texts)
          for (const auto &y : texts) mismatches[t] += Compare(x, y) != expected[k++];
      }
    });
  }
  for (auto &th : threads) th.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}

} // namespace
