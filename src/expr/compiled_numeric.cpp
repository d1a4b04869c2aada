#include "expr/compiled_numeric.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/numeric_ops.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"
#include "runtime/tokens.h"

using numexpr::Op;

namespace {

// Longer texts are left to the text algorithm: the number texts written
// into them could otherwise outgrow its working text.
constexpr size_t kMaxCompiledText = 1000;
// Texts that carry function results differ from run to run; beyond this
// many, new texts are not compiled.
constexpr size_t kMaxCachedTexts = 16384;
constexpr int kMaxCompiledDepth = 64;

// One operand of a flat level, as the text algorithm finally reads it.
struct Operand {
  enum class Kind : uint8_t { Constant, Variable, NegatedVariable, Group, Element };
  Kind kind = Kind::Constant;
  bool negate = false; // a group or element right behind a leading minus
  double constant = 0;
  uint32_t index = 0; // the group's level or the element's number
  std::string name;   // Variable, NegatedVariable
  mutable ScalarCell cell;
};

// One operator application as Reduce makes it: the operand values at LEFT
// and RIGHT (indexes of the level's operands) combine into LEFT's.
struct Step {
  Op op;
  uint8_t left, right;
};

struct Level {
  std::vector<Operand> operands;
  std::vector<Op> ops;
  std::vector<Step> steps; // Reduce's order of applications
  bool groups = false;     // an operand is a group
  // The operands that are constants, and those that are read (variables
  // and elements, in text order); groups are neither.
  std::vector<uint8_t> constants;
  std::vector<uint8_t> reads;
};

// Replays Reduce on operand indexes: the same applications in the same
// order, so that running the steps gives Reduce's result and stops at the
// same failing operator.
std::vector<Step> ReductionSteps(const std::vector<Op> &ops) {
  std::vector<uint8_t> slots(ops.size() + 1);
  for (size_t i = 0; i < slots.size(); ++i) slots[i] = static_cast<uint8_t>(i);
  std::vector<Op> left = ops;
  std::vector<Step> steps;
  for (int level = 0; level < 8; ++level) {
    size_t i = 0;
    while (i < left.size()) {
      if (numexpr::OperatorLevel(left[i]) != level) {
        ++i;
        continue;
      }
      steps.push_back(Step{left[i], slots[i], slots[i + 1]});
      slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  return steps;
}

// An array element reference "name(subscript,...)", or a hole: a call's
// value, which stands in the text as its number text, as an element's does.
struct ElementRef {
  bool hole = false;
  uint32_t holeIndex = 0;
  std::string text;
  std::string name;
  std::vector<NumericText> subscripts;
  mutable ArrayCells cells;
  mutable std::vector<int32_t> values;
};

} // namespace

struct CompiledNumeric {
  std::vector<Level> levels;        // levels[0] is the whole text
  std::vector<ElementRef> elements; // in text order
  int depth = 0;                    // levels nested at most
  uint32_t holes = 0;               // cut-out calls
  // One level of two operands, each a constant or a variable, and one
  // operator: the commonest form, run without the general loops.
  bool binary = false;
  // One level of one operand or two and an operator, each a constant, a
  // variable or a hole, with a hole: a call's value used as it is, or with
  // one more operand.
  bool brief = false;
};

namespace {

using Compiled = CompiledNumeric;

constexpr size_t kMaxCompiledSubscripts = 16;

// Splits the subscripts of an element reference at the commas outside
// inner parentheses, as the variable store does.
void SplitSubscripts(std::string_view ref, ElementRef &e) {
  size_t open = ref.find('(');
  e.name.assign(ref.substr(0, open));
  int depth = 0;
  size_t start = open + 1;
  for (size_t i = start; i < ref.size(); ++i) {
    char c = ref[i];
    if (c == '(') {
      ++depth;
      continue;
    }
    bool last = c == ')' && depth-- == 0;
    if (!last && !(c == ',' && depth == 0)) continue;
    e.subscripts.push_back(PrepareNumeric(ref.substr(start, i - start)));
    start = i + 1;
    if (last) break;
  }
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The name characters taken here: no record member "." and no "$".
bool IsNameChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '#' || c == '!' || c == '%';
}

bool IsLogical(uint8_t c) {
  return c == tok::kMod || c == tok::kAnd || c == tok::kOr || c == tok::kXor;
}

bool IsHoleAt(std::string_view s, size_t i) {
  return s.substr(i, 2) == kHoleMarker;
}

// Forms whose every step is reproduced below: no strings, no NOT, no sign
// pairs that the text algorithm folds, no bytes outside plain ASCII, and
// every 0x01 the start of an infix operator token (or, with HOLES, of a
// hole marker). The length counts each hole as its longest number text.
bool PlainText(std::string_view s, bool holes) {
  size_t length = s.size();
  for (size_t i = 0; i < s.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(s[i]);
    if (holes && IsHoleAt(s, i)) {
      length += num::kMaxG15Length;
      ++i;
      continue;
    }
    if (c == tok::kControl) {
      if (i + 1 >= s.size() || !IsLogical(static_cast<uint8_t>(s[i + 1]))) return false;
      ++i;
      continue;
    }
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '$') return false;
    if (c == '+' && i > 0 && (s[i - 1] == '+' || s[i - 1] == '-')) return false;
  }
  return !s.empty() && length <= kMaxCompiledText;
}

class Compiler {
public:
  explicit Compiler(Compiled &out) : out_(out) {}

  // Compiles one level (the whole text or a group's inside) into
  // out_.levels[index].
  bool CompileLevel(std::string_view s, int depth, uint32_t &index) {
    if (s.empty() || depth > kMaxCompiledDepth) return false;
    if (depth > out_.depth) out_.depth = depth;
    index = static_cast<uint32_t>(out_.levels.size());
    out_.levels.emplace_back();
    Level level;
    size_t pos = 0;
    for (;;) {
      Operand o;
      bool ok = level.operands.empty() ? First(s, pos, o, depth) : Next(s, pos, false, o, depth);
      if (!ok) return false;
      level.groups = level.groups || o.kind == Operand::Kind::Group;
      level.operands.push_back(std::move(o));
      if (level.operands.size() >= numexpr::kMaxOperands) return false;
      if (pos == s.size()) break;
      if (!numexpr::IsOperatorAt(s, pos) || numexpr::IsExponentSign(s, pos)) return false;
      size_t length;
      level.ops.push_back(numexpr::ReadOperator(s, pos, length));
      pos += length;
      if (pos >= s.size()) return false; // an operator without a right operand
    }
    level.steps = ReductionSteps(level.ops);
    for (size_t i = 0; i < level.operands.size(); ++i) {
      const Operand &o = level.operands[i];
      if (o.kind == Operand::Kind::Constant) {
        level.constants.push_back(static_cast<uint8_t>(i));
      } else if (o.kind != Operand::Kind::Group) {
        level.reads.push_back(static_cast<uint8_t>(i));
      }
    }
    out_.levels[index] = std::move(level);
    return true;
  }

private:
  static bool EndsOperand(std::string_view s, size_t p) {
    return p == s.size() || numexpr::IsOperatorAt(s, p);
  }

  // The first operand of a level, where the leading sign rules apply.
  bool First(std::string_view s, size_t &pos, Operand &o, int depth) {
    if (s[0] == '+') {
      // A leading plus is dropped.
      pos = 1;
      if (pos >= s.size() || s[pos] == '-' || s[pos] == '+') return false;
      return Next(s, pos, false, o, depth);
    }
    if (s[0] == '-' && s.size() > 1 && IsLetter(s[1])) {
      size_t r = 1;
      while (r < s.size() && IsNameChar(s[r])) ++r;
      if (r < s.size() && s[r] == '(') {
        // An element: its value is written behind the minus.
        pos = 1;
        return Next(s, pos, true, o, depth);
      }
      // A negated variable: its negated value is written as number text.
      if (!EndsOperand(s, r) || r - 1 > numexpr::kMaxOperand) return false;
      o.kind = Operand::Kind::NegatedVariable;
      o.name.assign(s.substr(1, r - 1));
      pos = r;
      return true;
    }
    if (s[0] == '-' && s.size() > 1 && (s[1] == '(' || IsHoleAt(s, 1))) {
      pos = 1;
      return Next(s, pos, true, o, depth);
    }
    return Next(s, pos, false, o, depth);
  }

  // An operand at POS: a group, an element, a variable or a literal. A
  // group's or element's value must stand where its number text reads back
  // as one whole operand: behind an operator or the start, and before an
  // operator or the end.
  bool Next(std::string_view s, size_t &pos, bool negate, Operand &o, int depth) {
    char c = s[pos];
    if (IsHoleAt(s, pos)) {
      // A call's value, written in as number text: like a group's.
      o.kind = Operand::Kind::Element;
      o.index = static_cast<uint32_t>(out_.elements.size());
      o.negate = negate;
      ElementRef &e = out_.elements.emplace_back();
      e.hole = true;
      e.holeIndex = out_.holes++;
      pos += 2;
      return EndsOperand(s, pos);
    }
    if (c == '(') {
      size_t close = numexpr::MatchingParen(s, pos);
      if (close == std::string_view::npos) return false;
      uint32_t child;
      if (!CompileLevel(s.substr(pos + 1, close - pos - 1), depth + 1, child)) return false;
      o.kind = Operand::Kind::Group;
      o.index = child;
      o.negate = negate;
      pos = close + 1;
      return EndsOperand(s, pos);
    }
    if (IsLetter(c)) {
      size_t r = pos;
      while (r < s.size() && IsNameChar(s[r])) ++r;
      if (r < s.size() && s[r] == '(') {
        size_t close = numexpr::MatchingParen(s, r);
        if (close == std::string_view::npos) return false;
        if (close + 1 < s.size() && s[close + 1] == '.') return false;
        // Calls in subscripts would run before the other calls are done.
        if (s.substr(pos, close + 1 - pos).find(kHoleMarker) != std::string_view::npos)
          return false;
        o.kind = Operand::Kind::Element;
        o.index = static_cast<uint32_t>(out_.elements.size());
        o.negate = negate;
        ElementRef &e = out_.elements.emplace_back();
        e.text.assign(s.substr(pos, close + 1 - pos));
        SplitSubscripts(e.text, e);
        pos = close + 1;
        return EndsOperand(s, pos);
      }
      if (negate || r - pos > numexpr::kMaxOperand) return false;
      o.kind = Operand::Kind::Variable;
      o.name.assign(s.substr(pos, r - pos));
      pos = r;
      return EndsOperand(s, pos);
    }
    if (negate) return false;
    // Literals: decimal (a leading minus belongs to it), or radix.
    size_t p = pos;
    if (c == '-') {
      if (p + 1 >= s.size() || !(IsDigit(s[p + 1]) || s[p + 1] == '.')) return false;
      ++p;
    } else if (c == '&') {
      if (p + 1 >= s.size() || !std::strchr("hHoO", s[p + 1])) return false;
    } else if (!(IsDigit(c) || c == '.')) {
      return false;
    }
    while (p < s.size() && !(numexpr::IsOperatorAt(s, p) && !numexpr::IsExponentSign(s, p))) {
      if (s[p] == '(' || s[p] == ')' || s[p] == tok::kControl) return false;
      ++p;
    }
    std::string_view text = s.substr(pos, p - pos);
    if (text.size() > numexpr::kMaxOperand) return false;
    o.kind = Operand::Kind::Constant;
    if (!numexpr::OperandValue(text, o.constant)) return false;
    pos = p;
    return true;
  }

  Compiled &out_;
};

std::unique_ptr<Compiled> Compile(std::string_view text, bool holes) {
  std::string s = StripBlanks(text);
  if (!PlainText(s, holes)) return nullptr;
  auto c = std::make_unique<Compiled>();
  Compiler compiler(*c);
  uint32_t top;
  if (!compiler.CompileLevel(s, 1, top)) return nullptr;
  const Level &l = c->levels[0];
  bool brief = c->levels.size() == 1 && !l.operands.empty() && l.operands.size() <= 2 &&
               l.steps.size() + 1 == l.operands.size();
  for (const Operand &o : l.operands)
    if (o.kind == Operand::Kind::Group) brief = false;
  for (const ElementRef &e : c->elements)
    if (!e.hole) brief = false;
  c->binary = brief && c->elements.empty() && l.operands.size() == 2;
  c->brief = brief && !c->elements.empty();
  return c;
}

// A value written back as number text and read again.
double AsText(double v, bool negate) {
  double r = num::RoundG15(v);
  return negate ? -r : r;
}

// A constant's or a variable's value, as RunLevel reads it.
[[gnu::always_inline]] inline double ValueOf(const Operand &o, CellScope &scope) {
  switch (o.kind) {
  case Operand::Kind::Variable:
    return ReadScalarIn(o.name, o.cell, scope);
  case Operand::Kind::NegatedVariable:
    return num::RoundG15(-ReadScalarIn(o.name, o.cell, scope));
  default:
    return o.constant;
  }
}

double RunLevel(const Compiled &c, uint32_t index, const double *elements) {
  const Level &l = c.levels[index];
  const size_t n = l.operands.size();
  double values[numexpr::kMaxOperands];
  for (uint8_t i : l.constants) values[i] = l.operands[i].constant;
  // The groups first, left to right, then the operands.
  if (l.groups) {
    for (size_t i = 0; i < n; ++i) {
      const Operand &o = l.operands[i];
      if (o.kind == Operand::Kind::Group)
        values[i] = AsText(RunLevel(c, o.index, elements), o.negate);
    }
  }
  CellScope scope = CurrentCellScope();
  for (uint8_t i : l.reads) {
    const Operand &o = l.operands[i];
    if (o.kind == Operand::Kind::Element) {
      values[i] = o.negate ? -elements[o.index] : elements[o.index];
    } else {
      values[i] = ValueOf(o, scope);
    }
  }
  for (const Step &step : l.steps) {
    if (!numexpr::ApplyOperator(step.op, values[step.left], values[step.right],
                                values[step.left])) {
      RuntimeError();
      return 0;
    }
  }
  return values[0];
}

// GetNumeric of the element reference: through the array's cells when the
// name is a declared array and nothing else.
double ElementValue(const ElementRef &e) {
  if (e.subscripts.size() > kMaxCompiledSubscripts || !ResolveArray(e.name, e.cells))
    return GetNumeric(e.text);
  e.values.clear();
  for (const NumericText &sub : e.subscripts) {
    int32_t n = num::TruncInt32(EvalPrepared(sub));
    if (n < 0) {
      RuntimeError();
      return 0;
    }
    e.values.push_back(n);
  }
  return ReadElement(e.cells, e.values);
}

// RunLevel of a binary form.
inline double RunBinary(const Compiled &c) {
  const Level &l = c.levels[0];
  CellScope scope = CurrentCellScope();
  double a = ValueOf(l.operands[0], scope);
  double b = ValueOf(l.operands[1], scope);
  double out;
  if (!numexpr::ApplyOperator(l.steps[0].op, a, b, out)) {
    RuntimeError();
    return 0;
  }
  return out;
}

// An operand's value in a brief form; a hole's is its number text read
// back, as an element's is.
[[gnu::always_inline]] inline double BriefOperand(const Compiled &c, const Operand &o,
                                                  CellScope &scope, const double *holes) {
  if (o.kind != Operand::Kind::Element) return ValueOf(o, scope);
  double v = num::RoundG15(holes[c.elements[o.index].holeIndex]);
  return o.negate ? -v : v;
}

// RunLevel of a brief form.
inline double RunBrief(const Compiled &c, const double *holes) {
  const Level &l = c.levels[0];
  CellScope scope = CurrentCellScope();
  double a = BriefOperand(c, l.operands[0], scope, holes);
  if (l.steps.empty()) return a;
  double b = BriefOperand(c, l.operands[1], scope, holes);
  double out;
  if (!numexpr::ApplyOperator(l.steps[0].op, a, b, out)) {
    RuntimeError();
    return 0;
  }
  return out;
}

[[gnu::always_inline]] inline double Run(const Compiled &c, const double *holes) {
  struct Nest {
    Nest() { ++numexpr::Nesting(); }
    ~Nest() { --numexpr::Nesting(); }
  } nest;
  if (c.binary) return RunBinary(c);
  if (c.elements.empty()) return RunLevel(c, 0, nullptr);
  if (c.brief) return RunBrief(c, holes);
  // Array elements are replaced first, all over the text.
  constexpr size_t kInline = 8;
  double inlineElements[kInline];
  std::vector<double> moreElements;
  double *elements = inlineElements;
  if (c.elements.size() > kInline) {
    moreElements.resize(c.elements.size());
    elements = moreElements.data();
  }
  for (size_t i = 0; i < c.elements.size(); ++i) {
    const ElementRef &e = c.elements[i];
    elements[i] = num::RoundG15(e.hole ? holes[e.holeIndex] : ElementValue(e));
  }
  return RunLevel(c, 0, elements);
}

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

using CompiledCache =
    std::unordered_map<std::string, std::unique_ptr<Compiled>, TextHash, std::equal_to<>>;

// Per system thread, so per BASIC thread; keyed by the text itself, which
// is all a compiled form depends on. Forms with holes are kept apart, so
// that no text of a program is ever read as having any.
thread_local CompiledCache tlsCache;
thread_local CompiledCache tlsHoleCache;

const Compiled *Find(std::string_view text, bool holes = false) {
  CompiledCache &cache = holes ? tlsHoleCache : tlsCache;
  auto it = cache.find(text);
  if (it != cache.end()) return it->second.get();
  // Never emptied: an outer evaluation may be running a compiled form.
  if (cache.size() >= kMaxCachedTexts) return nullptr;
  return cache.emplace(std::string(text), Compile(text, holes)).first->second.get();
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

const CompiledNumeric *CompiledFormOf(std::string_view text) {
  return Find(text);
}

const CompiledNumeric *CompiledFormWithHoles(std::string_view text) {
  return Find(text, true);
}

bool CompiledFormFits(const CompiledNumeric &c) {
  return numexpr::Nesting() + c.depth + 2 < numexpr::kMaxNesting;
}

namespace {

// Run, checked against the text in the checking mode.
bool RunChecked(const Compiled &c, std::string_view text, double &value, const double *holes) {
  if (!CompiledFormFits(c)) return false;
  if (!CheckingCaches()) {
    value = Run(c, holes);
    return true;
  }
  if (c.holes && !holes) CacheMismatch("compiled expression", 0, text, "a form without holes");
  uint64_t before = RuntimeErrorCount();
  value = Run(c, holes);
  uint64_t compiledErrors = RuntimeErrorCount() - before;
  before = RuntimeErrorCount();
  double fresh = numexpr::EvalText(text);
  uint64_t textErrors = RuntimeErrorCount() - before;
  if (!SameBits(value, fresh) || compiledErrors != textErrors) {
    std::string cached =
        num::FormatG15(value) + " with " + std::to_string(compiledErrors) + " errors";
    std::string expected =
        num::FormatG15(fresh) + " with " + std::to_string(textErrors) + " errors";
    CacheMismatch("compiled expression", 0, std::string(text) + ": " + cached, expected);
  }
  return true;
}

} // namespace

bool RunCompiledForm(const CompiledNumeric &c, std::string_view text, double &value) {
  return RunChecked(c, text, value, nullptr);
}

bool RunCompiledForm(const CompiledNumeric &c, const HoleValues &holes, double &value) {
  return RunChecked(c, holes.filled, value, holes.values);
}

bool EvalCompiled(std::string_view text, double &value) {
  const Compiled *c = Find(text);
  return c && RunCompiledForm(*c, text, value);
}
