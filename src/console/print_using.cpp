#include "console/print_using.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "expr/eval.h"
#include "expr/number_text.h"
#include "platform/cp932.h"
#include "runtime/runtime_error.h"

namespace {

// Bounds the scaling loops of the exponent form; any finite value needs far
// fewer steps (about 650 from the smallest to the largest double).
constexpr int kMaxScaleSteps = 4000;

// The values after the format, cut at "," and ";" outside quotes and
// parentheses, handed out one per field.
class ValueList {
public:
  explicit ValueList(std::string_view text) {
    bool inQuotes = false;
    int depth = 0;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      char c = text[i];
      if (c == '"') inQuotes = !inQuotes;
      if (inQuotes) continue;
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if ((c == ',' || c == ';') && depth == 0) {
        values_.emplace_back(text.substr(begin, i - begin));
        begin = i + 1;
      }
    }
    values_.emplace_back(text.substr(begin));
  }
  // The next value's expression; empty once the list is used up.
  std::string_view Next() { return next_ < values_.size() ? values_[next_++] : std::string_view(); }

private:
  std::vector<std::string_view> values_;
  size_t next_ = 0;
};

// The end of the format expression: the first ";" outside quotes and
// parentheses.
size_t FormatEnd(std::string_view arg) {
  bool inQuotes = false;
  int depth = 0;
  for (size_t i = 0; i < arg.size(); ++i) {
    char c = arg[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ';' && depth == 0) return i;
  }
  return std::string_view::npos;
}

double NumericValue(std::string_view expr) {
  return expr.empty() ? 0.0 : EvalNumeric(expr);
}

bool IsEscapeSecond(char c) {
  return c == 0x01 || c == 'z' || c == '0' || c == 'y';
}

// VALUE (string text form) cut or padded with blanks to WIDTH bytes of
// output. An escape counts as the one byte it stands for and is never split;
// a double-byte character that does not fit whole becomes a blank.
std::string FitToWidth(std::string_view value, size_t width) {
  std::string out;
  size_t used = 0;
  size_t i = 0;
  while (used < width && i < value.size()) {
    uint8_t c = static_cast<uint8_t>(value[i]);
    size_t take = 1, cells = 1;
    if (c == 0x01 && i + 1 < value.size() && IsEscapeSecond(value[i + 1])) {
      take = 2;
    } else if (cp932::IsLeadByte(c) && i + 1 < value.size()) {
      take = 2;
      cells = 2;
    }
    if (used + cells > width) break;
    out.append(value.substr(i, take));
    used += cells;
    i += take;
  }
  out.append(width - used, ' ');
  return out;
}

struct NumericField {
  size_t integers = 0; // P: "#" positions, a leading "+" and each "," included
  size_t decimals = 0; // D
  bool sign = false;   // S: a leading "+"
  bool commas = false; // C
  bool pointOnly = false;
  size_t marks = 0;   // E: "^" marks
  size_t scanned = 0; // bytes from the field start to the first byte of no field
};

// Reads the field that starts at START (a "#", or the "." or "+" in front of
// it). S has been decided by the caller: the "+" at START counts as one
// integer position.
NumericField ScanNumericField(std::string_view text, size_t start, bool sign) {
  NumericField f;
  f.sign = sign;
  size_t i = start;
  auto at = [&](size_t k) { return k < text.size() ? text[k] : '\0'; };
  if (sign) {
    ++f.integers;
    ++i;
  }
  bool exponent = false;
  for (;;) {
    char c = at(i);
    if (c == '#') {
      ++f.integers;
      ++i;
    } else if (c == ',' && at(i + 1) == '#') {
      f.commas = true;
      ++f.integers;
      ++i;
    } else if (c == '.' && at(i + 1) == '#') {
      ++i;
      while (at(i) == '#') {
        ++f.decimals;
        ++i;
      }
      exponent = at(i) == '^';
      break;
    } else if (c == '.' && at(i + 1) == '^') {
      f.pointOnly = true;
      ++i;
      exponent = true;
      break;
    } else {
      exponent = c == '^';
      break;
    }
  }
  if (exponent)
    while (at(i) == '^') {
      ++f.marks;
      ++i;
    }
  f.scanned = i - start;
  return f;
}

bool IsSign(char c) {
  return c == '+' || c == '-';
}

// Puts a "," every three digits left of the point (or of the end), only
// where a digit stands to the left.
void InsertCommas(std::string &n) {
  size_t point = n.find('.');
  size_t end = point == std::string::npos ? n.size() : point;
  size_t digits = 0;
  for (size_t k = end; k > 0; --k) {
    if (digits > 0 && digits % 3 == 0 && std::isdigit(static_cast<uint8_t>(n[k - 1])))
      n.insert(k, 1, ',');
    ++digits;
  }
}

std::string DecimalText(double x, size_t decimals, bool plus) {
  int precision = decimals > static_cast<size_t>(num::kMaxPrecision) ? num::kMaxPrecision
                                                                     : static_cast<int>(decimals);
  std::string n = num::FormatDouble(x, {'f', precision, plus});
  if (std::isfinite(x) && decimals > static_cast<size_t>(precision))
    n.append(decimals - precision, '0');
  return n;
}

// The fixed form. The integer part is measured after rounding, so a value
// whose rounding gains a digit (9.99 in #.#) is treated as too large for
// the field rather than spilling over it.
std::string FixedText(double x, const NumericField &f) {
  if (x == 0) x = 0; // no sign for a negative zero
  std::string n = DecimalText(x, f.decimals, f.sign);
  if (f.commas) InsertCommas(n);
  size_t point = n.find('.');
  size_t intLength = point == std::string::npos ? n.size() : point;
  if (intLength <= f.integers) return std::string(f.integers - intLength, ' ') + n;
  size_t s = !n.empty() && IsSign(n[0]) ? 1 : 0;
  if (intLength == s + 1 && n[s] == '0') {
    n.erase(s, 1);
    return n;
  }
  return "%" + n;
}

// Digits of a whole number's magnitude.
std::string WholeDigits(double whole) {
  return num::FormatDouble(std::fabs(whole), {'f', 0, false});
}

class ExponentForm {
public:
  ExponentForm(double x, const NumericField &f) : x_(x), f_(f) {}

  std::string Text() {
    if (!std::isfinite(x_)) return "%" + num::FormatG15(x_);
    if (x_ == 0) {
      x_ = 0;
      std::string fraction;
      Fraction(fraction);
      return Mantissa(fraction) + Exponent();
    }
    ScaleUp();
    std::string fraction;
    // Rounding the decimals may carry into the integer part (9.996 with two
    // decimals); the carry is added and the value scaled again.
    for (int carries = 0;; ++carries) {
      ScaleDown();
      if (Fraction(fraction)) break;
      if (carries == 3) {
        fraction = "." + std::string(f_.decimals, '0');
        break;
      }
      x_ = IntPart(x_) + (x_ < 0 ? -1 : 1);
    }
    return Mantissa(fraction) + Exponent();
  }

private:
  // The integer part shown in the mantissa: with no decimals rounded half
  // away from zero, otherwise truncated.
  double IntPart(double v) const {
    if (f_.decimals > 0) return std::trunc(v);
    double a = std::fabs(v);
    double r = a - std::floor(a) >= 0.5 ? std::floor(a) + 1 : std::floor(a);
    return v < 0 ? -r : r;
  }

  size_t IntLength(double v) const {
    double ip = IntPart(v);
    return WholeDigits(ip).size() + (f_.sign || ip < 0 ? 1 : 0);
  }

  void ScaleUp() {
    for (int n = 0; n < kMaxScaleSteps && (IntLength(x_) < f_.integers || std::trunc(x_) == 0) &&
                    std::fabs(x_) <= DBL_MAX / 10;
         ++n) {
      x_ *= 10;
      --e_;
    }
  }

  void ScaleDown() {
    bool noIntegerDigits = f_.integers == 0 || (f_.integers == 1 && f_.sign);
    for (int n = 0; n < kMaxScaleSteps && IntLength(x_) > f_.integers; ++n) {
      x_ *= 0.1;
      ++e_;
      if (noIntegerDigits && std::trunc(x_) == 0) break;
    }
  }

  // The point and the decimals into OUT; false when the decimals round up
  // to a whole unit.
  bool Fraction(std::string &out) const {
    if (f_.decimals == 0) {
      out = f_.pointOnly ? "." : "";
      return true;
    }
    double fraction = std::fabs(x_ - std::trunc(x_));
    if (fraction == 0) {
      out = "." + std::string(f_.decimals, '0');
      return true;
    }
    std::string text = DecimalText(fraction, f_.decimals, false);
    if (text[0] != '0') return false;
    out = text.substr(1);
    return true;
  }

  std::string Mantissa(const std::string &fraction) const {
    if (f_.integers == 0) return fraction + "E";
    if (f_.integers == 1 && f_.sign) return (x_ < 0 ? "-" : "+") + fraction + "E";
    double ip = IntPart(x_);
    std::string text = WholeDigits(ip);
    if (f_.sign)
      text.insert(0, 1, x_ < 0 ? '-' : '+');
    else if (ip < 0)
      text.insert(0, 1, '-');
    // Shorter only for 0 and for values the largest double cannot scale up
    // to the field's size.
    if (text.size() < f_.integers) text.insert(0, f_.integers - text.size(), ' ');
    return text + fraction + "E";
  }

  std::string Exponent() const {
    std::string digits = std::to_string(e_ < 0 ? -e_ : e_);
    size_t width = f_.marks - 2;
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return (e_ < 0 ? "-" : "+") + digits;
  }

  double x_;
  const NumericField &f_;
  int e_ = 0;
};

} // namespace

std::optional<std::string> FormatUsing(std::string_view arg) {
  size_t formatEnd = FormatEnd(arg);
  if (formatEnd == std::string_view::npos) {
    RuntimeError();
    return std::nullopt;
  }
  std::string text = EvalString(arg.substr(0, formatEnd));
  ValueList values(arg.substr(formatEnd + 1));
  // Bytes before FREE were written by fields; a field never reaches back
  // into them for its "." or "+".
  size_t free = 0;
  size_t i = 0;
  while (i < text.size()) {
    uint8_t c = static_cast<uint8_t>(text[i]);
    if (cp932::IsLeadByte(c)) {
      i += 2;
      continue;
    }
    if (c == '@') {
      std::string value = EvalString(values.Next());
      text.replace(i, 1, value);
      i += value.size();
      free = i;
      continue;
    }
    if (c == '&') {
      size_t close = i + 1;
      while (close < text.size() && text[close] == ' ') ++close;
      if (close >= text.size() || text[close] != '&') {
        RuntimeError();
        return std::nullopt;
      }
      size_t width = close - i + 1;
      std::string value = FitToWidth(EvalString(values.Next()), width);
      text.replace(i, width, value);
      i += value.size();
      free = i;
      continue;
    }
    if (c != '#') {
      ++i;
      continue;
    }
    size_t start = i;
    if (start > free && text[start - 1] == '.') --start;
    bool sign = start > free && text[start - 1] == '+';
    if (sign) --start;
    NumericField f = ScanNumericField(text, start, sign);
    double x = NumericValue(values.Next());
    std::string out;
    size_t span;
    if (f.marks >= 4) {
      out = ExponentForm(x, f).Text();
      span = f.scanned;
    } else {
      out = FixedText(x, f);
      span = f.integers + (f.decimals > 0 ? f.decimals + 1 : 0);
    }
    text.replace(start, span, out);
    i = start + out.size();
    free = i;
  }
  return text;
}
