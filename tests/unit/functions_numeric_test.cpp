// The numeric built-in functions and the random generator.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "expr/call_function.h"
#include "expr/function_statements.h"

namespace {

class NumericFunctionTest : public EngineFixture {
protected:
  std::string Call(uint16_t code, const std::string &args = "") {
    return CallFunction(code, args, 0);
  }
  void Randomize(std::string arg) { RANDOMIZE(arg, 0); }
};

TEST_F(NumericFunctionTest, RoundingFunctionsKeepTheirSigns) {
  EXPECT_EQ(Call(0x211, "2.5"), "3");
  EXPECT_EQ(Call(0x211, "-2.5"), "-2") << "halves round up, also below 0";
  EXPECT_EQ(Call(0x211, "-2.6"), "-3");
  EXPECT_EQ(Call(0x211, "2.4999"), "2");
  EXPECT_EQ(Call(0x225, "-2.7"), "-2");
  EXPECT_EQ(Call(0x225, "2.7"), "2");
  EXPECT_EQ(Call(0x226, "-2.7"), "-3");
  EXPECT_EQ(Call(0x226, "2.7"), "2");
  EXPECT_EQ(Call(0x22b, "-0.0001"), "-1");
  EXPECT_EQ(Call(0x22b, "0"), "0");
  EXPECT_EQ(Call(0x220, "-1.5"), "1.5");
}

TEST_F(NumericFunctionTest, ResultFormsFollowTheFunction) {
  EXPECT_EQ(Call(0x212, "1/3"), "0.333333");
  EXPECT_EQ(Call(0x210, "1/3"), "0.333333333333333");
  EXPECT_EQ(Call(0x22d, "2"), "1.4142135623731");
  EXPECT_EQ(Call(0x224, "100"), "2.68811714181614e+043");
  EXPECT_FALSE(TakeError());
}

TEST_F(NumericFunctionTest, LogAndSqrOutsideTheirDomainReportAnError) {
  EXPECT_EQ(Call(0x227, "0"), "0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x227, "-1"), "0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x22d, "-1"), "0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x22d, "0"), "0");
  EXPECT_FALSE(TakeError());
}

TEST_F(NumericFunctionTest, WordsAreUnsignedHalvesOfThe32BitValue) {
  EXPECT_EQ(Call(0x22f, "-1"), "65535");
  EXPECT_EQ(Call(0x230, "-1"), "65535");
  EXPECT_EQ(Call(0x230, "65536"), "1");
  EXPECT_EQ(Call(0x231, "1,2"), "131073");
  EXPECT_EQ(Call(0x231, "65535,65535"), "-1");
  EXPECT_EQ(Call(0x231, "(1,2)"), "0") << "the comma inside parentheses does not count";
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x231, "7"), "0");
  EXPECT_TRUE(TakeError());
}

TEST_F(NumericFunctionTest, RgbIsTheNegatedColourValue) {
  EXPECT_EQ(Call(0x616, "255,0,0"), "-255");
  EXPECT_EQ(Call(0x616, "0,0,0"), "0");
  EXPECT_EQ(Call(0x616, "1,2,3"), "-197121");
  EXPECT_EQ(Call(0x616, "256+1,0,0"), "-1") << "each component keeps its low byte";
  EXPECT_EQ(Call(0x616, "1,2"), "0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x616, "1,2,3,4"), "0");
  EXPECT_TRUE(TakeError());
}

// The generator's first values from srand(1) are 41, 18467, 6334, 26500,
// 19169, 15724, 11478, 29358: each Rnd value is the product of two of them
// modulo 100000, times 0.00001.
TEST_F(NumericFunctionTest, FirstRndWithoutRandomizeStartsFromStateOne) {
  EXPECT_EQ(Call(0x22a), "0.57147");   // 41 * 18467
  EXPECT_EQ(Call(0x22a, "1"), "0.51"); // 6334 * 26500
  EXPECT_EQ(Call(0x22a, "0"), "0.51") << "0 repeats the last value";
  // Rnd(0) drew 19169 * 15724 meanwhile; the next value comes after it.
  EXPECT_EQ(Call(0x22a), "0.71124"); // 11478 * 29358
}

TEST_F(NumericFunctionTest, RandomizeRepeatsTheSequenceOfItsSeed) {
  Randomize("1");
  // RANDOMIZE itself draws the first value.
  EXPECT_EQ(Call(0x22a), "0.51");
  EXPECT_EQ(Call(0x22a), "0.13356"); // 19169 * 15724
  Randomize("1");
  EXPECT_EQ(Call(0x22a), "0.51");
  Randomize("12345");
  std::string first = Call(0x22a), second = Call(0x22a), third = Call(0x22a);
  EXPECT_EQ(Call(0x22a, "-1"), first) << "a negative argument restarts the stored seed";
  EXPECT_EQ(Call(0x22a), second);
  EXPECT_EQ(Call(0x22a), third);
  EXPECT_NE(first, second);
  EXPECT_FALSE(TakeError());
}

TEST_F(NumericFunctionTest, NegativeSeedIsRefused) {
  Randomize("3");
  std::string expected = Call(0x22a);
  Randomize("3");
  Randomize("-5");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x22a), expected) << "the refused seed changed nothing";
  EXPECT_EQ(Call(0x22a, "-1"), expected) << "the stored seed is still 3";
}

} // namespace
