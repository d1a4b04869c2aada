// The numeric evaluator: precedence, the text round trips of groups, the
// sign rules, literals and errors.
#include "engine_fixture.h"

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data/variables.h"
#include "expr/compiled_numeric.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/numeric_ops.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"

namespace {

class EvalNumericTest : public EngineFixture {
protected:
  double Eval(const std::string &text) { return EvalNumeric(text); }
};

const std::string MOD = "\x01\x31", AND = "\x01\x26", OR = "\x01\x33", XOR = "\x01\x34",
                  NOT = "\x01\x35";

TEST_F(EvalNumericTest, GroupsAreRoundedTo15Digits) {
  EXPECT_EQ(num::FormatG15(Eval("(1/3)*3")), "0.999999999999999");
  EXPECT_EQ(Eval("1/3*3"), 1);
  EXPECT_EQ(Eval("((2))"), 2);
}

TEST_F(EvalNumericTest, PrecedenceAndAssociativity) {
  EXPECT_EQ(Eval("2^3^2"), 64);
  EXPECT_EQ(Eval("-2^2"), 4);
  SetNumeric("a", 2);
  EXPECT_EQ(Eval("-a^2"), 4);
  EXPECT_EQ(Eval("1+2*3"), 7);
  EXPECT_EQ(Eval("7" + MOD + "2*3"), 1);
  EXPECT_EQ(Eval("5" + AND + "3" + OR + "8"), 9);
  EXPECT_EQ(Eval("6" + XOR + "3"), 5);
}

TEST_F(EvalNumericTest, IntegerDivisionAndModSigns) {
  EXPECT_EQ(Eval("7\\2"), 3);
  EXPECT_EQ(Eval("-7\\2"), -3);
  EXPECT_EQ(Eval("-7" + MOD + "2"), -1);
  EXPECT_EQ(Eval("7.9\\2.9"), 3);
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Eval("7\\0.5"), 0);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Eval("10/0"), 0);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Eval("(1/0)+5"), 5) << "the failed group counts as 0";
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Eval("-2147483648\\-1"), 2147483648.0) << "no processor trap";
}

TEST_F(EvalNumericTest, RelationsChainLeftToRight) {
  EXPECT_EQ(Eval("1+2=3"), -1);
  EXPECT_EQ(Eval("1<2=-1"), -1);
  EXPECT_EQ(Eval("2<=2"), -1);
  EXPECT_EQ(Eval("2=<1"), 0);
  EXPECT_EQ(Eval("3=>3"), -1);
  EXPECT_EQ(Eval("3<>3"), 0);
  EXPECT_EQ(Eval("3><4"), -1);
}

TEST_F(EvalNumericTest, NotBindsToTheRestOfItsGroup) {
  EXPECT_EQ(Eval(NOT + "0"), -1);
  EXPECT_EQ(Eval(NOT + "1+1"), -3);
  EXPECT_EQ(Eval("1+" + NOT + "0"), 0);
  EXPECT_EQ(Eval("(" + NOT + "0)+5"), 4);
}

TEST_F(EvalNumericTest, RadixLiteralsAndTheirClamp) {
  EXPECT_EQ(Eval("&hFF"), 255);
  EXPECT_EQ(Eval("&HfF"), 255);
  EXPECT_EQ(Eval("&o17"), 15);
  EXPECT_EQ(Eval("&h1E+5"), 35);
  EXPECT_EQ(Eval("&hFFFFFFFF"), 2147483647);
  EXPECT_EQ(Eval("&hFG"), 15);
}

TEST_F(EvalNumericTest, ExponentSigns) {
  EXPECT_EQ(Eval("1e+3"), 1000);
  EXPECT_EQ(Eval("1E3+1"), 1001);
  EXPECT_EQ(Eval("2.5E-3*2"), 0.005);
  SetNumeric("x1e", 7);
  EXPECT_EQ(Eval("x1e+5"), 12);
  EXPECT_EQ(Eval("3-(-2)"), 5);
  EXPECT_EQ(Eval("3-+2"), 1);
  EXPECT_EQ(Eval("1e+020*1"), 1e20);
}

TEST_F(EvalNumericTest, EmptyAndStringOperands) {
  EXPECT_EQ(Eval(""), 0);
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Eval("\"a\"+1"), 0);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Eval("a$"), 0);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Eval(" 1 + 2 "), 3);
}

TEST_F(EvalNumericTest, VariablesAndElements) {
  EXPECT_EQ(Eval("undefined+1"), 1);
  SetNumeric("b(2)", 5);
  EXPECT_EQ(Eval("b(1+1)*2"), 10);
  EXPECT_EQ(Eval("-b(2)"), -5) << "the element's value is inserted first";
}

TEST_F(EvalNumericTest, LimitsNeverOverrun) {
  std::string deep(5000, '(');
  deep += "1" + std::string(5000, ')');
  EXPECT_EQ(Eval(deep), 0);
  EXPECT_TRUE(TakeError());
  std::string many;
  for (int i = 0; i < 400; ++i) many += "1+";
  many += "1";
  Eval(many);
  EXPECT_TRUE(TakeError()) << "more than 255 operands";
  EXPECT_EQ(Eval(std::string(300, '1') + "+1"), Eval(std::string(255, '1') + "+1"))
      << "an operand is cut at 255 bytes";
  Eval(std::string(9000, '1'));
  EXPECT_TRUE(TakeError());
}

TEST_F(EvalNumericTest, NumberTextsAcrossExponentLimits) {
  EXPECT_EQ(num::FormatG15(Eval("1e20")), "1e+020");
  EXPECT_EQ(num::FormatG15(Eval("0.0001")), "0.0001");
  EXPECT_EQ(num::FormatG15(Eval("0.00001")), "1e-005");
  EXPECT_EQ(num::FormatG15(Eval("123456789012345")), "123456789012345");
  EXPECT_EQ(num::FormatG15(Eval("1234567890123456")), "1.23456789012346e+015");
}

} // namespace

namespace {

// A single number or name is read directly; "+" in front sends the same
// operand through every level, which must give the same bits.
TEST_F(EvalNumericTest, SingleOperandsReadAsTheLevelsReadThem) {
  SetNumeric("x1", 0.1 + 0.2);
  SetNumeric("_a", -7.25);
  std::vector<std::string> texts = {"0",
                                    "007",
                                    ".5",
                                    "1.2.3",
                                    "0.1",
                                    "1.",
                                    "x1",
                                    "_a",
                                    "none",
                                    "X1",
                                    "12345678901234567890",
                                    std::string(255, '9'),
                                    std::string(256, '7'),
                                    "3" + std::string(300, '0')};
  for (const std::string &t : texts) {
    double direct = Eval(t), levels = Eval("+" + t);
    EXPECT_EQ(num::FormatG15(direct), num::FormatG15(levels)) << t;
    EXPECT_EQ(std::memcmp(&direct, &levels, sizeof direct), 0) << t;
  }
  EXPECT_FALSE(TakeError());
}

} // namespace

namespace {

// A random expression of literals, variables, operators and groups; with
// HOLES, some operands are hole markers.
std::string RandomExpression(std::mt19937 &rng, int depth, bool holes = false) {
  static const std::vector<std::string> operands = {"0", "1", "2",  "3",  "0.1", "7.5", "1e3", "x",
                                                    "y", "z", "-x", "-2", "i%",  "s!",  "1e-7"};
  auto operand = [&] {
    if (holes && rng() % 3 == 0) return std::string(rng() % 4 == 0 ? "-" : "") + kHoleMarker;
    return operands[rng() % operands.size()];
  };
  static const std::vector<std::string> operators = {"+", "-",  "*",  "/",  "\\", "^", "=", "<",
                                                     ">", "<=", ">=", "<>", MOD,  AND, OR,  XOR};
  std::string out;
  int count = 1 + static_cast<int>(rng() % 5);
  for (int k = 0; k < count; ++k) {
    if (k > 0) out += operators[rng() % operators.size()];
    if (depth < 3 && rng() % 4 == 0) {
      out +=
          (rng() % 3 == 0 && k == 0 ? "-(" : "(") + RandomExpression(rng, depth + 1, holes) + ")";
    } else {
      out += operand();
    }
  }
  return out;
}

// Runs FORM (false: it did not run) and then the text algorithm on TEXT,
// and expects the same bits and the same errors; true when FORM ran.
template <typename Form> bool ExpectLikeText(const std::string &text, Form form) {
  double viaForm;
  uint64_t before = RuntimeErrorCount();
  if (!form(viaForm)) return false;
  uint64_t formErrors = RuntimeErrorCount() - before;
  before = RuntimeErrorCount();
  double viaText = numexpr::EvalText(text);
  uint64_t textErrors = RuntimeErrorCount() - before;
  EXPECT_EQ(0, std::memcmp(&viaForm, &viaText, sizeof viaForm))
      << text << ": " << viaForm << " against " << viaText;
  // The checking mode runs the text algorithm inside the form's run too.
  EXPECT_EQ(formErrors, textErrors * (CheckingCaches() ? 2 : 1)) << text;
  return true;
}

} // namespace

TEST_F(EvalNumericTest, CompiledFormsGiveTheTextAlgorithmsBitsAndErrors) {
  SetNumeric("x", 2.5);
  SetNumeric("y", -3);
  SetNumeric("z", 0);
  SetNumeric("i%", 7);
  SetNumeric("s!", 0.3);
  std::mt19937 rng(12345);
  int compiled = 0;
  for (int n = 0; n < 3000; ++n) {
    std::string text = RandomExpression(rng, 0);
    if (ExpectLikeText(text, [&](double &v) { return EvalCompiled(text, v); })) ++compiled;
  }
  EXPECT_GT(compiled, 2000) << "most of these forms compile";
}

// A call's value stands where its number text would be written in: the
// form with holes gives the bits and errors of the text with those number
// texts, whatever their signs, fractions and exponents.
TEST_F(EvalNumericTest, HolesReadAsTheNumberTextsWrittenIn) {
  SetNumeric("x", 2.5);
  SetNumeric("y", -3);
  SetNumeric("z", 0);
  static const double values[] = {0,       1,        -1,   2.5,    -7,
                                  1.0 / 3, -2.0 / 3, 1e20, -1e-20, 123456789.125};
  std::mt19937 rng(4321);
  int compiled = 0;
  for (int n = 0; n < 3000; ++n) {
    std::string text = RandomExpression(rng, 0, true);
    const CompiledNumeric *c = CompiledFormWithHoles(text);
    if (!c) continue;
    std::vector<double> holes;
    std::string filled;
    for (size_t at = 0; at < text.size();) {
      if (text.compare(at, 2, kHoleMarker) == 0) {
        holes.push_back(values[rng() % std::size(values)]);
        filled += num::FormatG15(holes.back());
        at += 2;
      } else {
        filled += text[at++];
      }
    }
    bool ran = ExpectLikeText(filled, [&](double &v) {
      return RunCompiledForm(*c, HoleValues{holes.data(), filled}, v);
    });
    EXPECT_TRUE(ran) << filled;
    ++compiled;
  }
  EXPECT_GT(compiled, 1500) << "most of these forms compile";
  // A marker in a text of the program is never taken for a hole.
  double v;
  EXPECT_FALSE(EvalCompiled(std::string("1+") + kHoleMarker, v));
  EXPECT_EQ(CompiledFormWithHoles(std::string("a(") + kHoleMarker + ")+1"), nullptr);
}
