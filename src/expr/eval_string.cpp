// String expressions and conditions. Values stay in string text form: they
// are concatenated and compared without decoding their escapes.
#include <cstring>

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "platform/nls.h"
#include "runtime/arg_text.h"
#include "runtime/statement_cache.h"
#include "runtime/tokens.h"

namespace {

bool IsLogicalAt(const std::string &w, size_t p) {
  if (p + 1 >= w.size() || static_cast<uint8_t>(w[p]) != tok::kControl) return false;
  uint8_t c = static_cast<uint8_t>(w[p + 1]);
  return c == tok::kAnd || c == tok::kOr || c == tok::kXor || c == tok::kNot;
}

enum class Rel { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

} // namespace

std::string EvalString(std::string_view text) {
  std::string result;
  bool inQuotes = false;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    char c = i < text.size() ? text[i] : 0;
    if (i < text.size()) {
      if (c == '"') inQuotes = !inQuotes;
      if (inQuotes) continue;
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (!((c == '+' || c == '&') && depth == 0)) continue;
    }
    std::string piece(text.substr(start, i - start));
    if (!piece.empty()) {
      if (piece[0] == '"') {
        Unquote(piece);
        result += piece;
      } else if (const std::string *value = GetString(piece)) {
        // Room for what usually follows a long value, so that appending
        // to it does not copy it again.
        if (result.empty()) result.reserve(value->size() + (text.size() - i) + 16);
        result += *value;
      }
    }
    start = i + 1;
  }
  return result;
}

namespace {

// The first relational operator of TERM outside quotes: its index (npos
// when none), length and relation.
size_t FindRelation(std::string_view term, size_t &opLength, Rel &rel) {
  bool inQuotes = false;
  rel = Rel::Equal;
  opLength = 1;
  for (size_t i = 0; i < term.size(); ++i) {
    char c = term[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    char n = i + 1 < term.size() ? term[i + 1] : 0;
    if (c == '=') {
      rel = n == '<' ? Rel::LessEqual : n == '>' ? Rel::GreaterEqual : Rel::Equal;
    } else if (c == '<') {
      rel = n == '>' ? Rel::NotEqual : n == '=' ? Rel::LessEqual : Rel::Less;
    } else if (c == '>') {
      rel = n == '<' ? Rel::NotEqual : n == '=' ? Rel::GreaterEqual : Rel::Greater;
    } else {
      continue;
    }
    opLength = (rel == Rel::Equal || rel == Rel::Less || rel == Rel::Greater) ? 1 : 2;
    return i;
  }
  return std::string_view::npos;
}

// Whether a left side starting with FIRST is a number whatever its name
// would say.
bool NumericStart(char first) {
  return std::isdigit(static_cast<uint8_t>(first)) || first == '.' || first == '-' ||
         first == '+' || first == '&';
}

// -1 when the relation REL holds for ORDER (-1, 0, 1, or 2 for numbers
// that do not compare), else 0.
int32_t Holds(Rel rel, int order) {
  bool holds;
  switch (rel) {
  case Rel::Equal:
    holds = order == 0;
    break;
  case Rel::NotEqual:
    holds = order != 0;
    break;
  case Rel::Less:
    holds = order == -1;
    break;
  case Rel::LessEqual:
    holds = order == -1 || order == 0;
    break;
  case Rel::Greater:
    holds = order == 1;
    break;
  default:
    holds = order == 1 || order == 0;
  }
  return holds ? -1 : 0;
}

int NumericOrder(double a, double b) {
  return a < b ? -1 : a > b ? 1 : a == b ? 0 : 2;
}

} // namespace

int32_t EvalComparison(std::string_view term) {
  size_t opLength;
  Rel rel;
  size_t op = FindRelation(term, opLength, rel);
  std::string_view l = term.substr(0, op), r = term.substr(op + opLength);
  char first = l.empty() ? 0 : l[0];
  bool isString = first == '"' || (!NumericStart(first) && !l.empty() && KindOf(l) == kString);
  // Both kinds become an order (-1, 0, 1); numbers that do not compare
  // (NaN) are only "not equal".
  int order;
  if (isString) {
    std::string a = EvalString(l), b = EvalString(r);
    order = CompareStringA(LOCALE_SYSTEM_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
  } else {
    double a = EvalNumeric(l), b = EvalNumeric(r);
    order = NumericOrder(a, b);
  }
  return Holds(rel, order);
}

double EvalCondition(std::string_view text) {
  std::string w = StripBlanks(text);
  // Parenthesised conditions at the start or behind a logical token.
  bool inQuotes = false;
  for (size_t i = 0; i < w.size(); ++i) {
    char c = w[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    if (static_cast<uint8_t>(c) == tok::kControl) {
      ++i;
      continue;
    }
    if (c != '(' || !(i == 0 || (i >= 2 && IsLogicalAt(w, i - 2)))) continue;
    int depth = 0;
    size_t close = w.size();
    bool q = false;
    for (size_t k = i; k < w.size(); ++k) {
      if (w[k] == '"') q = !q;
      if (q) continue;
      if (w[k] == '(') ++depth;
      if (w[k] == ')' && --depth == 0) {
        close = k;
        break;
      }
    }
    int32_t v = num::TruncInt32(EvalCondition(std::string_view(w).substr(i + 1, close - i - 1)));
    std::string value = num::FormatD(v);
    w.replace(i, (close < w.size() ? close + 1 : w.size()) - i, value);
    i += value.size() - 1;
  }
  // Comparisons: each term holding a relational operator becomes -1 or 0.
  for (;;) {
    size_t op = std::string::npos;
    inQuotes = false;
    for (size_t i = 0; i < w.size(); ++i) {
      char c = w[i];
      if (c == '"') inQuotes = !inQuotes;
      if (inQuotes) continue;
      if (static_cast<uint8_t>(c) == tok::kControl) {
        ++i;
        continue;
      }
      if (c == '=' || c == '<' || c == '>') {
        op = i;
        break;
      }
    }
    if (op == std::string::npos) break;
    size_t start = 0;
    for (size_t i = 0; i + 1 < op; ++i)
      if (IsLogicalAt(w, i)) start = i + 2;
    size_t end = w.size();
    inQuotes = false;
    for (size_t i = op; i < w.size(); ++i) {
      if (w[i] == '"') inQuotes = !inQuotes;
      if (!inQuotes && IsLogicalAt(w, i)) {
        end = i;
        break;
      }
    }
    std::string value =
        num::FormatD(EvalComparison(std::string_view(w).substr(start, end - start)));
    w.replace(start, end - start, value);
  }
  return num::TruncInt32(EvalNumeric(w));
}

ConditionText PrepareCondition(std::string_view text) {
  ConditionText c;
  c.text.assign(text);
  std::string w = StripBlanks(text);
  // One comparison of two sides without quotes, tokens or a leading
  // group: the text algorithm then gives the comparison's -1 or 0.
  if (w.empty() || w[0] == '(' || w.find('"') != std::string::npos ||
      w.find(static_cast<char>(tok::kControl)) != std::string::npos)
    return c;
  size_t opLength;
  Rel rel;
  size_t op = FindRelation(w, opLength, rel);
  if (op == std::string::npos) return c;
  c.comparison = true;
  c.relation = static_cast<int>(rel);
  c.left = PrepareNumeric(std::string_view(w).substr(0, op));
  c.right = PrepareNumeric(std::string_view(w).substr(op + opLength));
  c.numericLeft = op == 0 || NumericStart(w[0]);
  return c;
}

namespace {

int LeftKind(const ConditionText &c) {
  return KindOfThrough(c.left.text, c.leftKind);
}

} // namespace

double EvalPreparedCondition(const ConditionText &c) {
  if (!c.comparison || (!c.numericLeft && LeftKind(c) == kString)) return EvalCondition(c.text);
  double a = EvalPrepared(c.left), b = EvalPrepared(c.right);
  int32_t v = Holds(static_cast<Rel>(c.relation), NumericOrder(a, b));
  if (CheckingCaches()) {
    double fresh = EvalCondition(c.text);
    if (fresh != v)
      CacheMismatch("prepared condition", 0, c.text,
                    num::FormatG15(fresh) + " for " + num::FormatG15(v));
  }
  return v;
}
