// The numeric evaluator. It works on text: array elements, parenthesised
// groups, NOT operands and a leading negated variable are replaced by their
// values written back as "%.15g" number text, and the flat rest is reduced
// operator level by operator level. Every group is therefore rounded to 15
// significant digits, which programs can see.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "data/variables.h"
#include "expr/compiled_numeric.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/numeric_ops.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"
#include "runtime/tokens.h"

namespace numexpr {

namespace {
thread_local int tlsNesting = 0;
} // namespace

int &Nesting() {
  return tlsNesting;
}

} // namespace numexpr

using namespace numexpr;

namespace {

bool IsIdentChar(uint8_t c) {
  return std::isalnum(c) || c == '_' || c == '.' || c == '#' || c == '!' || c == '%' || c == '$';
}

bool IsLogicalCode(uint8_t c) {
  return c == tok::kMod || c == tok::kAnd || c == tok::kOr || c == tok::kXor || c == tok::kNot;
}

} // namespace

namespace numexpr {

bool IsOperatorAt(std::string_view w, size_t p) {
  if (p >= w.size()) return false;
  uint8_t c = static_cast<uint8_t>(w[p]);
  switch (c) {
  case '^':
  case '*':
  case '/':
  case '\\':
  case '+':
  case '-':
  case '=':
  case '<':
  case '>':
    return true;
  case tok::kControl:
    return p + 1 < w.size() && IsLogicalCode(static_cast<uint8_t>(w[p + 1]));
  default:
    return false;
  }
}

bool IsExponentSign(std::string_view w, size_t p) {
  if (p < 2 || (w[p] != '+' && w[p] != '-')) return false;
  if (w[p - 1] != 'e' && w[p - 1] != 'E') return false;
  bool digit = false;
  size_t q = p - 1;
  while (q > 0) {
    char c = w[q - 1];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c != '.') {
      break;
    }
    --q;
  }
  if (!digit) return false;
  return q == 0 || IsOperatorAt(w, q - 1) ||
         (q >= 2 && static_cast<uint8_t>(w[q - 2]) == tok::kControl && IsOperatorAt(w, q - 2));
}

size_t MatchingParen(std::string_view w, size_t open) {
  int depth = 0;
  for (size_t i = open; i < w.size(); ++i) {
    if (w[i] == '(') {
      ++depth;
    } else if (w[i] == ')' && --depth == 0) {
      return i;
    }
  }
  return std::string::npos;
}

} // namespace numexpr

namespace numexpr {

int OperatorLevel(Op op) {
  switch (op) {
  case Op::Power:
    return 0;
  case Op::Multiply:
  case Op::Divide:
  case Op::IntDivide:
    return 1;
  case Op::Mod:
    return 2;
  case Op::Plus:
  case Op::Minus:
    return 3;
  case Op::And:
    return 5;
  case Op::Or:
    return 6;
  case Op::Xor:
    return 7;
  default:
    return 4;
  }
}

} // namespace numexpr

namespace numexpr {

Op ReadOperator(std::string_view w, size_t p, size_t &length) {
  length = 1;
  char c = w[p];
  char n = p + 1 < w.size() ? w[p + 1] : 0;
  switch (c) {
  case '^':
    return Op::Power;
  case '*':
    return Op::Multiply;
  case '/':
    return Op::Divide;
  case '\\':
    return Op::IntDivide;
  case '+':
    return Op::Plus;
  case '-':
    return Op::Minus;
  case '=':
    if (n == '<') {
      length = 2;
      return Op::LessEqual;
    }
    if (n == '>') {
      length = 2;
      return Op::GreaterEqual;
    }
    return Op::Equal;
  case '<':
    if (n == '=') {
      length = 2;
      return Op::LessEqual;
    }
    if (n == '>') {
      length = 2;
      return Op::NotEqual;
    }
    return Op::Less;
  case '>':
    if (n == '=') {
      length = 2;
      return Op::GreaterEqual;
    }
    if (n == '<') {
      length = 2;
      return Op::NotEqual;
    }
    return Op::Greater;
  default:
    length = 2;
    switch (static_cast<uint8_t>(n)) {
    case tok::kMod:
      return Op::Mod;
    case tok::kAnd:
      return Op::And;
    case tok::kOr:
      return Op::Or;
    default:
      return Op::Xor;
    }
  }
}

} // namespace numexpr

namespace numexpr {

bool OperandValue(std::string_view text, double &value) {
  std::string_view s = text;
  if (s.size() > kMaxOperand) s = s.substr(0, kMaxOperand);
  if (s.empty()) {
    value = GetNumeric(s);
    return true;
  }
  char c = s[0];
  if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
    value = num::Atof(s);
    return true;
  }
  if (c == '&' && s.size() >= 2) {
    char r = s[1];
    if (r == 'h' || r == 'H' || r == 'o' || r == 'O') {
      std::string digits = (r == 'h' || r == 'H') ? "0x" : "0";
      digits.append(s.substr(2));
      value = num::Strtol(digits, 0).value;
      return true;
    }
  }
  if (s.find('"') != std::string_view::npos || s.find('$') != std::string_view::npos) {
    RuntimeError();
    return false;
  }
  value = GetNumeric(s);
  return true;
}

} // namespace numexpr

namespace numexpr {

bool Reduce(double *values, size_t nValues, Op *ops, size_t nOps, double &out) {
  unsigned present = 0;
  for (size_t i = 0; i < nOps; ++i) present |= 1u << OperatorLevel(ops[i]);
  for (int level = 0; level < 8; ++level) {
    if (!(present & (1u << level))) continue;
    size_t i = 0;
    while (i < nOps) {
      if (OperatorLevel(ops[i]) != level) {
        ++i;
        continue;
      }
      double result;
      if (!ApplyOperator(ops[i], values[i], values[i + 1], result)) return false;
      values[i] = result;
      for (size_t k = i + 1; k + 1 < nValues; ++k) values[k] = values[k + 1];
      for (size_t k = i; k + 1 < nOps; ++k) ops[k] = ops[k + 1];
      --nValues;
      --nOps;
    }
  }
  out = values[0];
  return true;
}

} // namespace numexpr

namespace {

double EvalFlat(const std::string &w) {
  if (w.empty()) return 0;
  double values[kMaxOperands];
  Op ops[kMaxOperands];
  size_t nValues = 0, nOps = 0;
  size_t start = 0;
  for (;;) {
    // An operator byte at the operand's first byte belongs to it (-2, or
    // the second minus of 3--2).
    size_t p = start;
    if (p < w.size() && IsOperatorAt(w, p) && w[p] != tok::kControl) ++p;
    while (p < w.size() && !(IsOperatorAt(w, p) && !IsExponentSign(w, p))) ++p;
    if (nValues == kMaxOperands) {
      RuntimeError();
      return 0;
    }
    if (!OperandValue(w.substr(start, p - start), values[nValues])) return 0;
    ++nValues;
    if (p >= w.size()) break;
    size_t length;
    if (nOps == kMaxOperands) {
      RuntimeError();
      return 0;
    }
    ops[nOps++] = ReadOperator(w, p, length);
    start = p + length;
  }
  double result;
  if (!Reduce(values, nValues, ops, nOps, result)) {
    RuntimeError();
    return 0;
  }
  return result;
}

bool IsNotAt(const std::string &w, size_t p) {
  return p + 1 < w.size() && static_cast<uint8_t>(w[p]) == tok::kControl &&
         static_cast<uint8_t>(w[p + 1]) == tok::kNot;
}

double EvalLevel(std::string w);

// Replaces array element references by their values.
bool SubstituteElements(std::string &w) {
  size_t runStart = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(w[i]);
    if (c == tok::kControl) {
      ++i;
      runStart = i + 1;
      continue;
    }
    if (!IsIdentChar(c)) {
      runStart = i + 1;
      continue;
    }
    if (i + 1 >= w.size() || w[i + 1] != '(') continue;
    size_t close = MatchingParen(w, i + 1);
    size_t end = close == std::string::npos ? w.size() : close + 1;
    // A record member behind the element belongs to the reference.
    while (end < w.size() && w[end] == '.') {
      int depth = 0;
      size_t q = end;
      for (; q < w.size(); ++q) {
        if (w[q] == '(') {
          ++depth;
        } else if (w[q] == ')' && --depth == 0) {
          ++q;
          break;
        } else if (depth == 0 && IsOperatorAt(w, q)) {
          break;
        }
      }
      end = q;
    }
    std::string value =
        num::FormatG15(GetNumeric(std::string_view(w).substr(runStart, end - runStart)));
    w.replace(runStart, end - runStart, value);
    i = runStart + value.size() - 1;
    runStart = i + 1;
    if (w.size() > kMaxWorkingText) return false;
  }
  return true;
}

double EvalLevel(std::string w) {
  if (w.size() > kMaxWorkingText || tlsNesting >= kMaxNesting) {
    RuntimeError();
    return 0;
  }
  struct Nest {
    Nest() { ++tlsNesting; }
    ~Nest() { --tlsNesting; }
  } nest;
  // 2. Array elements.
  if (!SubstituteElements(w)) {
    RuntimeError();
    return 0;
  }
  // 3. Parenthesised groups, left to right.
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] != '(') continue;
    size_t close = MatchingParen(w, i);
    size_t innerEnd = close == std::string::npos ? w.size() : close;
    double v = EvalLevel(w.substr(i + 1, innerEnd - i - 1));
    std::string value = num::FormatG15(v);
    w.replace(i, (close == std::string::npos ? w.size() : close + 1) - i, value);
    i += value.size() - 1;
  }
  // 4. A leading NOT applies to the rest of the text.
  if (IsNotAt(w, 0)) {
    int32_t v = num::TruncInt32(EvalLevel(w.substr(2)));
    w = num::FormatG15(static_cast<double>(~v));
  }
  // 5. An inner NOT applies to everything behind it.
  for (size_t i = 0; i < w.size(); ++i) {
    if (static_cast<uint8_t>(w[i]) == tok::kControl && i + 1 < w.size()) {
      if (IsNotAt(w, i)) {
        double v = EvalLevel(w.substr(i));
        w.replace(i, std::string::npos, num::FormatG15(v));
        break;
      }
      ++i;
    }
  }
  // 6. Sign folding: "++" and "-+" lose the plus.
  std::string s;
  s.reserve(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] == '+' && i > 0 && (w[i - 1] == '+' || w[i - 1] == '-')) continue;
    s.push_back(w[i]);
  }
  // 7. The leading sign.
  if (!s.empty() && s[0] == '+') {
    s.erase(0, 1);
  } else if (s.size() >= 2 && s[0] == '-' &&
             (std::isalpha(static_cast<uint8_t>(s[1])) || s[1] == '_')) {
    size_t end = 1;
    while (end < s.size() && !IsOperatorAt(s, end)) ++end;
    double v = -GetNumeric(std::string_view(s).substr(1, end - 1));
    s = num::FormatG15(v) + s.substr(end);
  } else if (s.size() >= 2 && s[0] == '-' && s[1] == '-') {
    s.erase(0, 2);
  }
  // 8. The flat rest.
  return EvalFlat(s);
}

} // namespace

namespace {

enum class Plain { No, Number, Name };

// Texts whose evaluation is a single operand: digits and points only (a
// number text), or a simple name. The levels then reduce to reading it.
Plain PlainForm(std::string_view text) {
  if (text.empty() || text.size() > kMaxOperand) return Plain::No;
  uint8_t first = static_cast<uint8_t>(text[0]);
  if (std::isdigit(first) || first == '.') {
    for (char c : text)
      if (!(std::isdigit(static_cast<uint8_t>(c)) || c == '.')) return Plain::No;
    return Plain::Number;
  }
  if (!(std::isalpha(first) || first == '_')) return Plain::No;
  for (char c : text)
    if (!(std::isalnum(static_cast<uint8_t>(c)) || c == '_')) return Plain::No;
  return Plain::Name;
}

Plain PlainOperand(std::string_view text) {
  return tlsNesting >= kMaxNesting ? Plain::No : PlainForm(text);
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Atof of a text of digits and points. Up to 15 digits without a point are
// an integer below 10^15, which a double holds exactly.
double NumberValue(std::string_view text) {
  if (text.size() > 15) return num::Atof(text);
  int64_t n = 0;
  for (char c : text) {
    if (c == '.') return num::Atof(text);
    n = n * 10 + (c - '0');
  }
  return static_cast<double>(n);
}

} // namespace

namespace numexpr {

double EvalText(std::string_view text) {
  return EvalLevel(StripBlanks(text));
}

} // namespace numexpr

namespace {

[[gnu::noinline]] void CheckPlain(std::string_view text, double v) {
  double full = EvalLevel(StripBlanks(text));
  if (!SameBits(v, full))
    CacheMismatch("plain operand", 0, text, num::FormatG15(full) + " for " + num::FormatG15(v));
}

// A plain operand's value V checked against the full evaluation.
inline double CheckedPlain(std::string_view text, double v) {
  if (CheckingCaches()) [[unlikely]]
    CheckPlain(text, v);
  return v;
}

} // namespace

double EvalNumeric(std::string_view text) {
  Plain plain = PlainOperand(text);
  // Names too: the compiled form reads them through their cells.
  if (plain != Plain::Number) {
    double compiled;
    if (EvalCompiled(text, compiled)) return compiled;
    if (plain == Plain::No) return EvalLevel(StripBlanks(text));
  }
  return CheckedPlain(text, plain == Plain::Number ? NumberValue(text) : GetNumeric(text));
}

NumericText PrepareNumeric(std::string_view text) {
  NumericText n;
  n.text.assign(text);
  Plain plain = PlainForm(text);
  if (plain == Plain::Number) {
    n.number = true;
    n.value = NumberValue(text);
  } else {
    n.code = CompiledFormOf(text);
    n.name = plain == Plain::Name && n.code;
  }
  return n;
}

namespace {

// EvalPrepared of a text that is neither a number nor a name.
inline double EvalForm(const NumericText &n) {
  double v;
  if (n.code && RunCompiledForm(*n.code, n.text, v)) return v;
  return EvalNumeric(n.text);
}

// EvalPrepared of a plain name: its compiled form is one level that reads
// its cell, which the cell kept here reads directly. The checking mode runs
// the form itself.
[[gnu::noinline]] double EvalName(const NumericText &n) {
  if (tlsNesting + 3 >= kMaxNesting || CheckingCaches()) return EvalForm(n);
  CellScope scope = CurrentCellScope();
  return ReadScalarIn(n.text, n.cell, scope);
}

} // namespace

double EvalPrepared(const NumericText &n) {
  // The same choices as EvalNumeric, without looking at the text again.
  if (n.number && tlsNesting < kMaxNesting) return CheckedPlain(n.text, n.value);
  if (n.name) return EvalName(n);
  return EvalForm(n);
}
