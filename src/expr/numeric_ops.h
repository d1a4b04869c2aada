// The pieces of the numeric evaluator that its compiled form shares, so
// that both read operators and literals and apply operators identically.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// L OP R into OUT; false on a division by zero.
bool ApplyOperator(Op op, double l, double r, double &out);

// Applies the operators level by level, each level left to right; false on
// a division by zero (the caller reports it).
bool Reduce(double *values, size_t nValues, Op *ops, size_t nOps, double &out);

// The text algorithm on TEXT, blanks included.
double EvalText(std::string_view text);

} // namespace numexpr
