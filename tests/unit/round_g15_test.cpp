// RoundG15 must equal reading back the "%.15g" text for every double.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "expr/number_text.h"

namespace {

double ThroughText(double x) {
  return num::Atof(num::FormatG15(x));
}

// Compares bit patterns, so that -0 and 0 differ.
void ExpectSame(double x) {
  double fast = num::RoundG15(x);
  double slow = ThroughText(x);
  ASSERT_EQ(std::bit_cast<uint64_t>(fast), std::bit_cast<uint64_t>(slow))
      << "x=" << num::FormatDouble(x, {'e', 20}) << " text " << num::FormatG15(x);
}

TEST(RoundG15, EdgeValues) {
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -1.0,
                                0.1,
                                1.0 / 3,
                                2.0 / 3,
                                999999999999999.5,
                                999999999999999.0,
                                1e15,
                                1e15 + 1,
                                1e16,
                                1e17,
                                99999999999999999.0,
                                1e-6,
                                9.99999999999999e-7,
                                1e-7,
                                0.5,
                                123456789012345.5,
                                1234567890123456.0,
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::epsilon(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(),
                                -std::numeric_limits<double>::quiet_NaN()};
  for (int k = -30; k <= 30; ++k) {
    double p = std::pow(10.0, k);
    values.push_back(p);
    values.push_back(std::nextafter(p, 0));
    values.push_back(std::nextafter(p, 1e300));
    values.push_back(-p);
    // Decimals that end in 5 at the 16th and 18th digit: the ties of both
    // roundings.
    values.push_back(1.234567890123455 * p);
    values.push_back(1.23456789012345549 * p);
    values.push_back(1.2345678901234565 * p);
    values.push_back(9.999999999999995 * p);
    values.push_back(9.9999999999999949 * p);
  }
  for (double v : values) ExpectSame(v);
}

TEST(RoundG15, RandomBitPatterns) {
  std::mt19937_64 rng(1234);
  for (int i = 0; i < 1000000; ++i) ExpectSame(std::bit_cast<double>(rng()));
}

TEST(RoundG15, RandomValuesInTheFastRange) {
  std::mt19937_64 rng(99);
  std::uniform_real_distribution<double> exponent(-7.5, 17.5);
  std::uniform_real_distribution<double> unit(1.0, 10.0);
  for (int i = 0; i < 3000000; ++i) {
    double x = unit(rng) * std::pow(10.0, std::floor(exponent(rng)));
    if (i & 1) x = -x;
    ExpectSame(x);
  }
}

// Values next to the midpoints of 15-digit decimals, and results of the
// arithmetic programs do (quotients, sums of fractions).
TEST(RoundG15, NearHalfwayAndArithmetic) {
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int64_t> digits(100000000000000, 999999999999999);
  std::uniform_int_distribution<int> scale(-6, 16);
  for (int i = 0; i < 1000000; ++i) {
    double mid = (static_cast<double>(digits(rng)) + 0.5) * std::pow(10.0, scale(rng) - 14);
    ExpectSame(mid);
    ExpectSame(std::nextafter(mid, 0));
    ExpectSame(std::nextafter(mid, 1e300));
  }
  for (int i = 1; i < 300000; ++i) {
    ExpectSame(i * 2 / 3.0);
    ExpectSame(1.0 / i);
    ExpectSame(i / 7.0 + 0.1);
  }
}

} // namespace
