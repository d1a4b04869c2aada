// Numbers as text and text as numbers, exactly as the 32-bit Windows C runtime
// writes and reads them (not as glibc does): printf-style formatting of
// doubles and integers, atof/strtod and strtol.
//
// Formatting rules of that runtime:
// - at most 17 significant digits are generated (correctly rounded, exact
//   ties rounded up); that digit string is then rounded half up to the
//   requested precision, and positions beyond the 17th digit print as 0;
// - exponents have a sign and at least three digits (1e+020, 2.5e-007);
// - infinities and NaNs are the texts 1.#INF, -1.#INF, 1.#QNAN, -1.#IND,
//   cut and "rounded" like a digit string to the precision (%.2f of an
//   infinity is 1.#J).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace num {

// One floating conversion of printf: %.<precision><conversion>, with the '+'
// flag when `plus` is set.
struct FloatFormat {
  char conversion = 'g'; // 'f', 'e', 'E', 'g' or 'G'
  int precision = 6;     // negative: 6; above kMaxPrecision: kMaxPrecision
  bool plus = false;     // sign also for positive values
};

inline constexpr int kMaxPrecision = 512;
// Enough for any FormatDouble text (sign, 309 integer digits, point, the
// largest precision, exponent).
inline constexpr size_t kMaxFormattedLength = 840;
// Enough for any "%.15g" text ("-1.23456789012346e-308" is 22 bytes).
inline constexpr size_t kMaxG15Length = 24;

// Writes the text of `value` to out (no NUL), at most `capacity` bytes, and
// returns the number of bytes written. kMaxFormattedLength always suffices.
size_t FormatDouble(double value, const FloatFormat &format, char *out, size_t capacity);
std::string FormatDouble(double value, const FloatFormat &format);
void AppendDouble(std::string &out, double value, const FloatFormat &format);

// "%.15g": the number text of program values. WriteG15 needs kMaxG15Length
// bytes at out and returns the length.
size_t WriteG15(double value, char *out);
std::string FormatG15(double value);
void AppendG15(std::string &out, double value);

// The value that the "%.15g" text of `value` reads back as through Atof:
// Atof(FormatG15(value)), without building the text where that can be done
// exactly in double arithmetic.
double RoundG15Fraction(double value);
inline double RoundG15(double value) {
  // Integers print whole (0 and -0 too); trunc is exact, so the test is too.
  const double a = value < 0 ? -value : value;
  if (a < 1e15 && a == static_cast<double>(static_cast<int64_t>(a))) return value;
  return RoundG15Fraction(value);
}

// "%g".
std::string FormatG(double value);

// "%d", "%X" and "%o" of a 32-bit integer (the last two of its two's
// complement bits).
std::string FormatD(int32_t value);
std::string FormatX(int32_t value);
std::string FormatO(int32_t value);

// Display form of a number text: a leading "0." or "-0." loses its 0
// (0.25 -> .25, -0.5 -> -.5). Changes the text in place.
void DisplayNumber(std::string &numberText);
// Display form of the "%.15g" text of value.
std::string DisplayNumber(double value);

// Conversion of a double to a signed 32-bit integer toward zero; NaN and
// values outside the range give INT32_MIN, as the processor's conversion does.
int32_t TruncInt32(double value);

struct ParsedDouble {
  double value = 0;
  size_t length = 0;         // bytes consumed, leading white space included; 0: no number
  bool out_of_range = false; // overflow to infinity or underflow to 0 (ERANGE)
};

// strtod: white space, optional sign, digits with an optional point, and an
// optional exponent whose letter may be e, E, d or D. No hexadecimal, inf or
// nan. Correctly rounded. Stops at NUL or the end of the view.
ParsedDouble Strtod(std::string_view text);
// atof: the value of Strtod.
double Atof(std::string_view text);

struct ParsedLong {
  int32_t value = 0;
  size_t length = 0;         // bytes consumed; 0 when there are no digits ("0x", "0xg")
  bool out_of_range = false; // clamped to INT32_MIN or INT32_MAX (ERANGE)
};

// strtol with a 32-bit long. Base 0 takes "0x"/"0X" as hexadecimal and a
// leading 0 as octal; base 2 to 36 as in C; any other base reads nothing.
ParsedLong Strtol(std::string_view text, int base = 0);

} // namespace num
