#include "expr/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace num {
namespace {

constexpr int kGeneratedDigits = 17;

// A decimal digit string: digit[0].digit[1]... x 10^exponent. Digits at and
// beyond `count` are 0. Infinities and NaNs use the same form with the
// characters of "1#INF" and so on as digits, which is how the runtime cuts
// and rounds them.
struct Decimal {
  char digit[kGeneratedDigits];
  int count = 0;
  int exponent = 0;
  bool zero = false;

  char At(int i) const { return i >= 0 && i < count ? digit[i] : '0'; }
};

constexpr uint64_t kPow5[] = {1ULL,
                              5ULL,
                              25ULL,
                              125ULL,
                              625ULL,
                              3125ULL,
                              15625ULL,
                              78125ULL,
                              390625ULL,
                              1953125ULL,
                              9765625ULL,
                              48828125ULL,
                              244140625ULL,
                              1220703125ULL,
                              6103515625ULL,
                              30517578125ULL,
                              152587890625ULL,
                              762939453125ULL,
                              3814697265625ULL,
                              19073486328125ULL,
                              95367431640625ULL,
                              476837158203125ULL,
                              2384185791015625ULL,
                              11920928955078125ULL,
                              59604644775390625ULL,
                              298023223876953125ULL};

void SetDigits(Decimal &d, uint64_t value) {
  for (int i = kGeneratedDigits - 1; i >= 0; --i) {
    d.digit[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// std::to_chars rounds a value that lies exactly halfway between two 17-digit
// numbers to the even one; the runtime rounds it up. Such a value has exactly
// 18 significant digits, the last one 5: v * 10^k = D with k = 17 - exponent.
void RoundExactTieUp(double a, Decimal &d) {
  if ((d.digit[kGeneratedDigits - 1] - '0') & 1) return; // not a tie rounded to even
  const int k = kGeneratedDigits - d.exponent;
  if (k < 1 || k > 25) return; // 5^k must stay below 10^18
  const double w = std::ldexp(a, k);
  if (!(w < 9007199254740992.0) || w != std::floor(w)) return;
  const uint64_t wi = static_cast<uint64_t>(w);
  if ((wi & 1) == 0 || wi > UINT64_MAX / kPow5[k]) return;
  const uint64_t exact = wi * kPow5[k];
  if (exact < 100000000000000000ULL || exact >= 1000000000000000000ULL) return;
  const uint64_t up = exact / 10 + 1;
  if (up == 100000000000000000ULL) {
    SetDigits(d, 10000000000000000ULL);
    ++d.exponent;
  } else {
    SetDigits(d, up);
  }
}

// 17 significant digits of a finite a > 0, correctly rounded.
void Generate(double a, Decimal &d) {
  char buf[32];
  const auto r =
      std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, kGeneratedDigits - 1);
  // buf holds "d.dddddddddddddddde+XX" (two or three exponent digits).
  d.digit[0] = buf[0];
  std::memcpy(d.digit + 1, buf + 2, kGeneratedDigits - 1);
  const char *e = buf + kGeneratedDigits + 1;
  int ex = 0;
  for (const char *p = e + 2; p < r.ptr; ++p) ex = ex * 10 + (*p - '0');
  d.exponent = e[1] == '-' ? -ex : ex;
  d.count = kGeneratedDigits;
  d.zero = false;
  RoundExactTieUp(a, d);
}

// Keeps `keep` significant digits, rounding half up on the digit string.
void Round(Decimal &d, int keep) {
  if (d.zero || keep >= d.count) return;
  if (keep < 0) {
    d.zero = true;
    return;
  }
  const bool up = d.digit[keep] >= '5';
  d.count = keep;
  if (!up) {
    if (keep == 0) d.zero = true;
    return;
  }
  for (int i = keep - 1; i >= 0; --i) {
    if (d.digit[i] != '9') {
      ++d.digit[i];
      return;
    }
    d.digit[i] = '0';
  }
  // Carried out of the first digit (or keep was 0): the next power of ten.
  d.digit[0] = '1';
  d.count = 1;
  ++d.exponent;
}

// Sign and digits of v; an infinity or NaN gets the digits of its special
// text (1.#INF, 1.#QNAN, and 1.#IND for the negative default NaN).
void Decompose(double v, Decimal &d, bool &negative) {
  negative = std::signbit(v);
  if (std::isfinite(v)) {
    if (v == 0) {
      d.zero = true;
      d.count = 0;
      d.exponent = 0;
    } else {
      Generate(std::fabs(v), d);
    }
    return;
  }
  const char *text = "1#QNAN";
  if (std::isinf(v)) {
    text = "1#INF";
  } else if (negative && std::bit_cast<uint64_t>(v) == 0xFFF8000000000000ULL) {
    text = "1#IND";
  }
  d.count = static_cast<int>(std::strlen(text));
  std::memcpy(d.digit, text, static_cast<size_t>(d.count));
  d.exponent = 0;
  d.zero = false;
}

char *WriteFill(char *p, char c, int n) {
  if (n <= 0) return p;
  std::memset(p, c, static_cast<size_t>(n));
  return p + n;
}

// Digits first..last-1 of d (positions before the first digit are 0).
char *WriteDigits(char *p, const Decimal &d, int first, int last) {
  for (int i = first; i < last; ++i) *p++ = d.At(i);
  return p;
}

char *WriteFixed(char *p, Decimal d, int precision) {
  Round(d, d.exponent + 1 + precision);
  if (d.zero) {
    *p++ = '0';
  } else if (d.exponent >= 0) {
    p = WriteDigits(p, d, 0, d.exponent + 1);
  } else {
    *p++ = '0';
  }
  if (precision > 0) {
    *p++ = '.';
    if (d.zero) return WriteFill(p, '0', precision);
    const int leadingZeros = std::min(precision, std::max(0, -d.exponent - 1));
    p = WriteFill(p, '0', leadingZeros);
    p = WriteDigits(p, d, d.exponent + 1 + leadingZeros, d.exponent + 1 + precision);
  }
  return p;
}

char *WriteExponent(char *p, int exponent, char letter) {
  *p++ = letter;
  *p++ = exponent < 0 ? '-' : '+';
  const int e = std::abs(exponent);
  char digits[8];
  int n = 0;
  for (int x = e; x > 0 || n < 3; x /= 10) digits[n++] = static_cast<char>('0' + x % 10);
  while (n > 0) *p++ = digits[--n];
  return p;
}

char *WriteScientific(char *p, Decimal d, int precision, char letter) {
  Round(d, precision + 1);
  if (d.zero) d.exponent = 0;
  *p++ = d.zero ? '0' : d.At(0);
  if (precision > 0) {
    *p++ = '.';
    p = d.zero ? WriteFill(p, '0', precision) : WriteDigits(p, d, 1, precision + 1);
  }
  return WriteExponent(p, d.exponent, letter);
}

char *TrimFraction(char *begin, char *p) {
  if (std::memchr(begin, '.', static_cast<size_t>(p - begin)) == nullptr) return p;
  while (p[-1] == '0') --p;
  if (p[-1] == '.') --p;
  return p;
}

char *WriteGeneral(char *p, Decimal d, int precision, char letter) {
  if (precision == 0) precision = 1;
  Round(d, precision);
  if (d.zero) {
    *p++ = '0';
    return p;
  }
  const int x = d.exponent;
  char *begin = p;
  if (x < -4 || x >= precision) {
    *p++ = d.At(0);
    if (precision > 1) {
      *p++ = '.';
      p = WriteDigits(p, d, 1, precision);
      p = TrimFraction(begin, p);
    }
    return WriteExponent(p, x, letter);
  }
  p = x >= 0 ? WriteDigits(p, d, 0, x + 1) : WriteFill(p, '0', 1);
  const int decimals = precision - 1 - x;
  if (decimals > 0) {
    *p++ = '.';
    p = WriteDigits(p, d, x + 1, x + 1 + decimals);
    p = TrimFraction(begin, p);
  }
  return p;
}

// Formats into buf, which holds kMaxFormattedLength bytes; returns the end.
char *Format(double value, const FloatFormat &format, char *buf) {
  int precision = format.precision < 0 ? 6 : std::min(format.precision, kMaxPrecision);
  Decimal d;
  bool negative;
  Decompose(value, d, negative);
  char *p = buf;
  if (negative) {
    *p++ = '-';
  } else if (format.plus) {
    *p++ = '+';
  }
  switch (format.conversion) {
  case 'f':
  case 'F':
    return WriteFixed(p, d, precision);
  case 'e':
  case 'E':
    return WriteScientific(p, d, precision, format.conversion);
  case 'G':
    return WriteGeneral(p, d, precision, 'E');
  default:
    return WriteGeneral(p, d, precision, 'e');
  }
}

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Value of c as a digit in any base up to 36, or 99.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

std::string ToText(uint32_t value, int base, bool upper) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, base);
  if (upper) {
    for (char *p = buf; p < r.ptr; ++p) {
      if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    }
  }
  return std::string(buf, r.ptr);
}

} // namespace

size_t FormatDouble(double value, const FloatFormat &format, char *out, size_t capacity) {
  char buf[kMaxFormattedLength];
  const size_t n = std::min(static_cast<size_t>(Format(value, format, buf) - buf), capacity);
  std::memcpy(out, buf, n);
  return n;
}

std::string FormatDouble(double value, const FloatFormat &format) {
  char buf[kMaxFormattedLength];
  return std::string(buf, Format(value, format, buf));
}

void AppendDouble(std::string &out, double value, const FloatFormat &format) {
  char buf[kMaxFormattedLength];
  out.append(buf, Format(value, format, buf));
}

size_t WriteG15(double value, char *out) {
  // Whole numbers below 10^15 print every digit, as an integer prints (-0
  // keeps its sign through the general path).
  if (std::fabs(value) < 1e15 && value == std::trunc(value) &&
      !(value == 0 && std::signbit(value))) {
    auto r = std::to_chars(out, out + kMaxG15Length, static_cast<int64_t>(value));
    return static_cast<size_t>(r.ptr - out);
  }
  return FormatDouble(value, FloatFormat{'g', 15, false}, out, kMaxG15Length);
}

std::string FormatG15(double value) {
  char buf[kMaxG15Length];
  return std::string(buf, WriteG15(value, buf));
}

void AppendG15(std::string &out, double value) {
  char buf[kMaxG15Length];
  out.append(buf, WriteG15(value, buf));
}

std::string FormatG(double value) {
  return FormatDouble(value, FloatFormat{});
}

std::string FormatD(int32_t value) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string FormatX(int32_t value) {
  return ToText(static_cast<uint32_t>(value), 16, true);
}
std::string FormatO(int32_t value) {
  return ToText(static_cast<uint32_t>(value), 8, false);
}

void DisplayNumber(std::string &numberText) {
  if (numberText.starts_with("0.")) {
    numberText.erase(0, 1);
  } else if (numberText.starts_with("-0.")) {
    numberText.erase(1, 1);
  }
}

std::string DisplayNumber(double value) {
  std::string text = FormatG15(value);
  DisplayNumber(text);
  return text;
}

int32_t TruncInt32(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

ParsedDouble Strtod(std::string_view text) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t begin = i;
  while (i < n && IsDigit(text[i])) ++i;
  const size_t intEnd = i;
  size_t fracBegin = i;
  if (i < n && text[i] == '.') {
    fracBegin = ++i;
    while (i < n && IsDigit(text[i])) ++i;
  }
  if (intEnd == begin && i == fracBegin) return {}; // no digit at all
  size_t end = i;
  int64_t exponent = 0;
  char letter = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
    if (j < n && IsDigit(text[j])) {
      letter = text[i];
      while (j < n && IsDigit(text[j])) {
        if (exponent < 100000000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (expNegative) exponent = -exponent;
      end = j;
    }
  }

  // std::from_chars reads the same syntax with "e" as the only exponent letter.
  double value = 0;
  std::from_chars_result r;
  if (letter == 'd' || letter == 'D') {
    std::string copy(text.substr(begin, end - begin));
    copy[i - begin] = 'e';
    r = std::from_chars(copy.data(), copy.data() + copy.size(), value);
  } else {
    r = std::from_chars(text.data() + begin, text.data() + end, value);
  }
  ParsedDouble result;
  result.length = end;
  if (r.ec == std::errc::result_out_of_range) {
    // Decimal exponent of the first non-zero digit tells overflow from underflow.
    int64_t lead = exponent;
    size_t k = begin;
    while (k < intEnd && text[k] == '0') ++k;
    if (k < intEnd) {
      lead += static_cast<int64_t>(intEnd - k) - 1;
    } else {
      k = fracBegin;
      while (k < n && text[k] == '0') ++k;
      lead -= static_cast<int64_t>(k - fracBegin) + 1;
    }
    value = lead >= 0 ? HUGE_VAL : 0.0;
    result.out_of_range = true;
  }
  result.value = negative ? -value : value;
  return result;
}

double Atof(std::string_view text) {
  return Strtod(text).value;
}

ParsedLong Strtol(std::string_view text, int base) {
  ParsedLong result;
  if (base < 0 || base == 1 || base > 36) return result;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const bool hexPrefix = i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X');
  if (base == 0) base = hexPrefix ? 16 : (i < n && text[i] == '0' ? 8 : 10);
  if (base == 16 && hexPrefix) i += 2;
  const size_t digitsBegin = i;
  uint32_t value = 0;
  bool overflow = false;
  for (; i < n; ++i) {
    const int digit = DigitValue(text[i]);
    if (digit >= base) break;
    const uint64_t next =
        static_cast<uint64_t>(value) * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    if (next > UINT32_MAX) overflow = true;
    value = static_cast<uint32_t>(next);
  }
  if (i == digitsBegin) return result; // no digits: nothing read, "0x" included
  result.length = i;
  if (overflow || value > (negative ? 0x80000000U : 0x7FFFFFFFU)) {
    result.out_of_range = true;
    result.value = negative ? INT32_MIN : INT32_MAX;
  } else {
    result.value = negative ? static_cast<int32_t>(0U - value) : static_cast<int32_t>(value);
  }
  return result;
}

} // namespace num

namespace num {
namespace {

constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

// "%.15g" takes 17 correctly rounded digits (exact ties up) and rounds that
// digit string half up to 15; Atof then rounds the 15-digit decimal
// correctly. For 1e-6 <= |value| < 1e17 the 17 digits are the integer
// nearest to |value| * 10^(16-e), whose exact value fma gives as hi + lo,
// and the decimal D * 10^(e-14) is one correctly rounded multiplication or
// division, because D and the power of ten are exact doubles.
double RoundG15Fraction(double value) {
  const double a = std::fabs(value);
  if (!(a >= 1e-6 && a < 1e17)) return Atof(FormatG15(value));
  int e = static_cast<int>(std::floor(std::log10(a)));
  for (int tries = 0; tries < 3; ++tries) {
    const int k = 16 - e;
    if (k < 0 || k > 22) break;
    const double hi = a * kExactPow10[k];
    const double lo = std::fma(a, kExactPow10[k], -hi);
    // The exact product must lie in [1e16, 1e17); rounding is monotonic,
    // so hi decides except where it equals a bound.
    if (hi < 1e16 || (hi == 1e16 && lo < 0)) {
      --e;
      continue;
    }
    if (hi > 1e17 || (hi == 1e17 && lo >= 0)) {
      ++e;
      continue;
    }
    // hi is an integer here (above 2^53); lo is the exact rest, |lo| <= 8.
    const double whole = std::floor(lo);
    int64_t n = static_cast<int64_t>(hi) + static_cast<int64_t>(whole);
    if (lo >= whole + 0.5) ++n;
    const int64_t digits15 = (n + 50) / 100;
    const double d = static_cast<double>(digits15);
    const double r = e >= 14 ? d * kExactPow10[e - 14] : d / kExactPow10[14 - e];
    return std::signbit(value) ? -r : r;
  }
  return Atof(FormatG15(value));
}

} // namespace num
