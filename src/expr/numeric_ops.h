// The pieces of the numeric evaluator that its compiled form shares, so
// that both read operators and literals and apply operators identically.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "expr/number_text.h"

namespace numexpr {

// Limits of one evaluation level.
inline constexpr size_t kMaxWorkingText = 8191;
inline constexpr size_t kMaxOperand = 255;
inline constexpr size_t kMaxOperands = 255;
// Nesting of groups and NOT, bounded so that no text can exhaust the stack.
inline constexpr int kMaxNesting = 200;

// The evaluation levels the calling thread is inside. A function rather
// than an extern thread_local: the sanitizer build misreads the latter's
// access wrapper in inlined destructors as a null load.
int &Nesting();

enum class Op : uint8_t {
  Power,
  Multiply,
  Divide,
  IntDivide,
  Mod,
  Plus,
  Minus,
  Equal,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
  NotEqual,
  And,
  Or,
  Xor
};

// Whether an operator stands at P ("^*/\+-=<>" or an operator token).
bool IsOperatorAt(std::string_view w, size_t p);

// A "+" or "-" after the "e" of a literal such as 1e+5 or a*2.5E-3 belongs
// to the number; in x1e+5 it is an operator.
bool IsExponentSign(std::string_view w, size_t p);

// The index of the ")" matching the "(" at OPEN, or npos.
size_t MatchingParen(std::string_view w, size_t open);

// Reads the operator at P and its length.
Op ReadOperator(std::string_view w, size_t p, size_t &length);

// The value of one operand of a flat expression; false after a string
// operand (the evaluation then stops with 0).
bool OperandValue(std::string_view text, double &value);

// The precedence level of OP, 0 (power) binding tightest, up to 7.
int OperatorLevel(Op op);

// L OP R into OUT; false on a division by zero. Inline: the compiled form
// applies one per step.
[[gnu::always_inline]] inline bool ApplyOperator(Op op, double l, double r, double &out) {
  switch (op) {
  case Op::Power:
    out = std::pow(l, r);
    return true;
  case Op::Multiply:
    out = l * r;
    return true;
  case Op::Divide:
    if (r == 0) return false;
    out = l / r;
    return true;
  case Op::IntDivide:
  case Op::Mod: {
    int64_t a = num::TruncInt32(l), b = num::TruncInt32(r);
    if (b == 0) return false;
    // 64-bit arithmetic: the one overflowing case (-2147483648 by -1) gives
    // its true value instead of a processor trap.
    out = static_cast<double>(op == Op::IntDivide ? a / b : a % b);
    return true;
  }
  case Op::Plus:
    out = l + r;
    return true;
  case Op::Minus:
    out = l - r;
    return true;
  case Op::Equal:
    out = l == r ? -1 : 0;
    return true;
  case Op::Less:
    out = l < r ? -1 : 0;
    return true;
  case Op::Greater:
    out = l > r ? -1 : 0;
    return true;
  case Op::LessEqual:
    out = l <= r ? -1 : 0;
    return true;
  case Op::GreaterEqual:
    out = l >= r ? -1 : 0;
    return true;
  case Op::NotEqual:
    out = l != r ? -1 : 0;
    return true;
  case Op::And:
    out = num::TruncInt32(l) & num::TruncInt32(r);
    return true;
  case Op::Or:
    out = num::TruncInt32(l) | num::TruncInt32(r);
    return true;
  case Op::Xor:
    out = num::TruncInt32(l) ^ num::TruncInt32(r);
    return true;
  }
  return false;
}

// Applies the operators level by level, each level left to right; false on
// a division by zero (the caller reports it).
bool Reduce(double *values, size_t nValues, Op *ops, size_t nOps, double &out);

// The text algorithm on TEXT, blanks included.
double EvalText(std::string_view text);

} // namespace numexpr
