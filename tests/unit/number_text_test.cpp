#include "expr/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One record of the Windows reference file: its line number and TAB fields.
struct Record {
  int line = 0;
  std::vector<std::string> field;
};

const std::string kVectorFile = QUILL_TESTDATA_DIR "/crt_numbers.txt";

std::vector<Record> LoadRecords(const std::string &kind) {
  std::vector<Record> records;
  std::ifstream in(kVectorFile);
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (text.empty() || text[0] == '#') continue;
    Record r;
    r.line = line;
    std::stringstream ss(text);
    for (std::string f; std::getline(ss, f, '\t');) r.field.push_back(f);
    if (r.field[0] == kind) records.push_back(std::move(r));
  }
  return records;
}

bool HaveVectors() {
  return std::ifstream(kVectorFile).good();
}

double FromBits(const std::string &hex) {
  return std::bit_cast<double>(static_cast<uint64_t>(std::stoull(hex, nullptr, 16)));
}

std::string Bits(double v) {
  char buf[20];
  std::snprintf(buf, sizeof buf, "%016llx",
                static_cast<unsigned long long>(std::bit_cast<uint64_t>(v)));
  return buf;
}

// "-" stands for the empty text.
std::string FromHex(const std::string &hex) {
  std::string out;
  if (hex == "-") return out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

// Formats as the printf format of a P line does ("%.15g%s" gets "x").
std::string FormatLike(double v, const std::string &format) {
  num::FloatFormat f;
  size_t i = 1;
  if (format[i] == '+') {
    f.plus = true;
    ++i;
  }
  if (format[i] == '.') {
    size_t used = 0;
    f.precision = std::stoi(format.substr(i + 1), &used);
    i += 1 + used;
  }
  f.conversion = format[i];
  std::string out = num::FormatDouble(v, f);
  if (format.ends_with("%s")) out += "x";
  return out;
}

TEST(NumberTextWindows, EveryFormattedDouble) {
  if (!HaveVectors()) GTEST_SKIP() << kVectorFile << " missing";
  const auto records = LoadRecords("P");
  ASSERT_GT(records.size(), 1000u);
  for (const auto &r : records) {
    const double v = FromBits(r.field[1]);
    const std::string &format = r.field[3];
    const std::string &want = r.field[4];
    EXPECT_EQ(FormatLike(v, format), want)
        << "line " << r.line << ": " << format << " of " << r.field[2];
    if (format == "%.15g") {
      EXPECT_EQ(num::FormatG15(v), want) << "line " << r.line;
      std::string appended = "x=";
      num::AppendG15(appended, v);
      EXPECT_EQ(appended, "x=" + want) << "line " << r.line;
    }
    if (format == "%g") {
      EXPECT_EQ(num::FormatG(v), want) << "line " << r.line;
    }
  }
}

TEST(NumberTextWindows, EveryIntegerConversion) {
  if (!HaveVectors()) GTEST_SKIP() << kVectorFile << " missing";
  const auto records = LoadRecords("I");
  ASSERT_GT(records.size(), 1000u);
  for (const auto &r : records) {
    const double v = FromBits(r.field[1]);
    int32_t n;
    if (r.field[3] == "sse32") {
      n = num::TruncInt32(v);
    } else {
      // Low 32 bits of a 64-bit truncation (out of range gives INT64_MIN).
      const bool fits = v >= -9223372036854775808.0 && v < 9223372036854775808.0;
      const int64_t wide = fits ? static_cast<int64_t>(v) : INT64_MIN;
      n = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
    }
    EXPECT_EQ(num::FormatD(n), r.field[4]) << "line " << r.line << ": integer of " << r.field[2];
    const std::string &format = r.field[5];
    const std::string got = format == "%d"   ? num::FormatD(n)
                            : format == "%X" ? num::FormatX(n)
                                             : num::FormatO(n);
    EXPECT_EQ(got, r.field[6]) << "line " << r.line << ": " << format << " of " << r.field[4];
  }
}

TEST(NumberTextWindows, EveryAtof) {
  if (!HaveVectors()) GTEST_SKIP() << kVectorFile << " missing";
  const auto records = LoadRecords("A");
  ASSERT_GT(records.size(), 50u);
  for (const auto &r : records) {
    EXPECT_EQ(Bits(num::Atof(FromHex(r.field[1]))), r.field[3])
        << "line " << r.line << ": atof " << r.field[2];
  }
}

TEST(NumberTextWindows, EveryStrtod) {
  if (!HaveVectors()) GTEST_SKIP() << kVectorFile << " missing";
  const auto records = LoadRecords("D");
  ASSERT_GT(records.size(), 50u);
  for (const auto &r : records) {
    const num::ParsedDouble p = num::Strtod(FromHex(r.field[1]));
    EXPECT_EQ(Bits(p.value), r.field[3]) << "line " << r.line << ": strtod " << r.field[2];
    EXPECT_EQ(std::to_string(p.length), r.field[5]) << "line " << r.line << ": consumed";
    EXPECT_EQ(p.out_of_range, r.field[6] == "34") << "line " << r.line << ": ERANGE";
  }
}

TEST(NumberTextWindows, EveryStrtol) {
  if (!HaveVectors()) GTEST_SKIP() << kVectorFile << " missing";
  const auto records = LoadRecords("L");
  ASSERT_GT(records.size(), 40u);
  for (const auto &r : records) {
    const num::ParsedLong p = num::Strtol(FromHex(r.field[1]));
    EXPECT_EQ(std::to_string(p.value), r.field[3]) << "line " << r.line << ": " << r.field[2];
    EXPECT_EQ(std::to_string(p.length), r.field[4]) << "line " << r.line << ": consumed";
    EXPECT_EQ(p.out_of_range, r.field[5] == "34") << "line " << r.line << ": ERANGE";
  }
}

TEST(NumberText, NumberTextAcrossExponentLimits) {
  const struct {
    double value;
    const char *text;
  } cases[] = {
      {1e20, "1e+020"},
      {0.00000025, "2.5e-007"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346e+015"},
      {999999999999999.0, "999999999999999"},
      {1.0 / 3.0, "0.333333333333333"},
      {0.333333333333333 * 3, "0.999999999999999"},
      {-1e-300, "-1e-300"},
      {1e100, "1e+100"},
  };
  for (const auto &c : cases) EXPECT_EQ(num::FormatG15(c.value), c.text) << c.text;
}

TEST(NumberText, DisplayForm) {
  const struct {
    const char *text;
    const char *shown;
  } cases[] = {
      {"0.5", ".5"}, {"-0.5", "-.5"}, {"10.5", "10.5"},     {"0", "0"},
      {"-0", "-0"},  {"0.25", ".25"}, {"5e-005", "5e-005"},
  };
  for (const auto &c : cases) {
    std::string text = c.text;
    num::DisplayNumber(text);
    EXPECT_EQ(text, c.shown) << c.text;
  }
  EXPECT_EQ(num::DisplayNumber(0.25), ".25");
  EXPECT_EQ(num::DisplayNumber(-1.0 / 3.0), "-.333333333333333");
  EXPECT_EQ(num::DisplayNumber(1e21), "1e+021");
}

// A value exactly halfway between two 17-digit numbers is rounded up before
// the second rounding (std::to_chars alone would round it to even).
TEST(NumberText, ExactTieAtSeventeenDigitsRoundsUp) {
  const double tie = 2251799813685247.25; // exactly 225179981368524725e-2
  EXPECT_EQ(num::FormatDouble(tie, {'f', 2, false}), "2251799813685247.30");
  EXPECT_EQ(num::FormatDouble(tie, {'e', 16, false}), "2.2517998136852473e+015");
  EXPECT_EQ(num::FormatDouble(-tie, {'g', 17, false}), "-2251799813685247.3");
  // Odd last digit: to_chars already rounded the tie up.
  EXPECT_EQ(num::FormatDouble(2251799813685246.75, {'f', 2, false}), "2251799813685246.80");
}

TEST(NumberText, OtherConversionsAndLimits) {
  EXPECT_EQ(num::FormatDouble(1234.5, {'e', 2, false}), "1.23e+003");
  EXPECT_EQ(num::FormatDouble(0.0, {'E', 1, true}), "+0.0E+000");
  EXPECT_EQ(num::FormatDouble(1e-5, {'G', 3, false}), "1E-005");
  EXPECT_EQ(num::FormatDouble(0.5, {'g', 0, false}), "0.5");
  EXPECT_EQ(num::FormatDouble(0.25, {'f', -1, false}), "0.250000");
  EXPECT_EQ(num::FormatDouble(HUGE_VAL, {'e', 2, false}), "1.#Je+000");
  EXPECT_EQ(num::FormatDouble(HUGE_VAL, {'f', 7, false}), "1.#INF000");
  // Precision is capped, and the longest texts fit their buffers.
  EXPECT_EQ(num::FormatDouble(1.0, {'f', 100000, false}).size(), 2u + num::kMaxPrecision);
  EXPECT_LE(num::FormatDouble(-1.7976931348623157e308, {'f', 100000, true}).size(),
            num::kMaxFormattedLength);
  for (double v : {-1.2345678901234567e-308, -0.00012345678901234567, -4.9e-324}) {
    char buf[num::kMaxG15Length];
    EXPECT_LE(num::WriteG15(v, buf), num::kMaxG15Length);
  }
  char small[4] = {'.', '.', '.', '!'};
  EXPECT_EQ(num::FormatDouble(123456.0, {'f', 2, false}, small, 3), 3u);
  EXPECT_EQ(std::string(small, 4), "123!");
  EXPECT_EQ(num::TruncInt32(-2.9), -2);
  EXPECT_EQ(num::TruncInt32(2147483647.9), 2147483647);
  EXPECT_EQ(num::TruncInt32(-2147483648.9), INT32_MIN);
  EXPECT_EQ(num::TruncInt32(2147483648.0), INT32_MIN);
  EXPECT_EQ(num::TruncInt32(std::nan("")), INT32_MIN);
}

TEST(NumberText, ParsingEdges) {
  // Stops at the end of the view even without a NUL.
  const std::string_view cut = std::string_view("12345", 3);
  EXPECT_EQ(num::Atof(cut), 123.0);
  EXPECT_EQ(num::Strtol(cut).value, 123);
  // Long mantissas and huge exponents are read without overflow.
  const std::string longDigits = "0." + std::string(5000, '0') + "1e5010";
  EXPECT_EQ(num::Atof(longDigits), 1e9);
  const num::ParsedDouble big = num::Strtod("-1d99999999999999999999");
  EXPECT_TRUE(big.out_of_range);
  EXPECT_EQ(big.value, -HUGE_VAL);
  const num::ParsedDouble tiny = num::Strtod("-0.000001e-99999999999");
  EXPECT_TRUE(tiny.out_of_range);
  EXPECT_TRUE(tiny.value == 0 && std::signbit(tiny.value));
  EXPECT_EQ(num::Atof("0e99999999999"), 0.0);
  EXPECT_EQ(num::Atof("2.5D-1x"), 0.25);
  // Other bases.
  EXPECT_EQ(num::Strtol("0x1f", 16).value, 31);
  EXPECT_EQ(num::Strtol("0x", 16).length, 0u);
  EXPECT_EQ(num::Strtol("-101", 2).value, -5);
  EXPECT_EQ(num::Strtol("zz", 36).value, 1295);
  EXPECT_EQ(num::Strtol("17", 1).length, 0u);
  EXPECT_EQ(num::Strtol("17", 37).length, 0u);
}

} // namespace

// Whole numbers take a shorter path; it must print what "%.15g" prints on
// both sides of the 10^15 limit (with the runtime's three exponent digits),
// for -0 and for fractions next to wholes.
TEST(NumberText, WholeNumbersPrintAsG15) {
  const std::vector<std::pair<double, std::string>> cases = {{0.0, "0"},
                                                             {-0.0, "-0"},
                                                             {1.0, "1"},
                                                             {-1.0, "-1"},
                                                             {-2147483648.0, "-2147483648"},
                                                             {1e14, "100000000000000"},
                                                             {1e15 - 1, "999999999999999"},
                                                             {-(1e15 - 1), "-999999999999999"},
                                                             {123456789012345.0, "123456789012345"},
                                                             {1e15, "1e+015"},
                                                             {-1e15, "-1e+015"},
                                                             {1e15 + 2, "1e+015"},
                                                             {4.5, "4.5"},
                                                             {-0.5, "-0.5"},
                                                             {1e16, "1e+016"}};
  for (const auto &[value, text] : cases) EXPECT_EQ(num::FormatG15(value), text) << value;
}
