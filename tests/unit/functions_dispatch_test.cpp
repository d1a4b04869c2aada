// Pre-evaluation of statement texts: which calls are replaced, in what
// order, and what a malformed or unavailable call does.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "expr/call_function.h"
#include "expr/pre_evaluate.h"
#include "functions_util.h"
#include "runtime/tokens.h"

namespace {

using fntest::Fn;

class PreEvaluateTest : public EngineFixture {
protected:
  std::string Pre(std::string text) {
    PreEvaluate(text, 0);
    return text;
  }
};

TEST_F(PreEvaluateTest, NestedCallsAreReplacedInnermostFirst) {
  // Left$(Mid$("abcdef", 2, 3), 2): the outer call receives a literal.
  std::string text = "a$=" + Fn(0x31c, Fn(0x31e, "\"abcdef\", 2, 3") + ",2") + "+\"!\"";
  EXPECT_EQ(Pre(text), "a$=\"bc\"+\"!\"");
  // Calls side by side, numbers written as number text.
  EXPECT_EQ(Pre("x=" + Fn(0x31d, "\"abc\"") + "*" + Fn(0x226, "-2.5")), "x=3*-3");
  EXPECT_FALSE(TakeError());
}

TEST_F(PreEvaluateTest, FunctionsWithoutArgumentsAreTheTokenAlone) {
  engine_->mainWindow = 77;
  EXPECT_EQ(Pre("h=" + Fn(0x510) + "+1"), "h=77+1");
  std::string date = Pre("d$=" + Fn(0x313));
  ASSERT_EQ(date.size(), 3u + 12u) << date; // "yyyy/mm/dd" in quotes
  EXPECT_EQ(date[3], '"');
  EXPECT_EQ(date[8], '/');
  EXPECT_EQ(date[11], '/');
}

TEST_F(PreEvaluateTest, TextInsideQuotesIsNeverScanned) {
  std::string literal = "PRINT \"" + Fn(0x31d, "\"x\"") + "\";";
  EXPECT_EQ(Pre(literal), literal);
  // A literal before the call does not hide it, and a ")" inside a literal
  // in the arguments does not end them.
  EXPECT_EQ(Pre("\"(\";" + Fn(0x31d, "\"a)b\"")), "\"(\";3");
  EXPECT_FALSE(TakeError());
}

TEST_F(PreEvaluateTest, CodeBytesThatLookLikeBlanksOrCommasStayPartOfTheToken) {
  // Abs is 0x220 (a blank as its low byte), Sin 0x22c (a comma).
  EXPECT_EQ(Pre("x=" + Fn(0x220, Fn(0x220, "-3")) + "," + Fn(0x22c, "0")), "x=3,0");
}

TEST_F(PreEvaluateTest, DeffnStatementIsLeftUnchanged) {
  std::string stmt = "\x10\x74 f(x)=" + Fn(0x220, "x");
  EXPECT_EQ(Pre(stmt), stmt);
}

TEST_F(PreEvaluateTest, MalformedCallsAbandonTheStatement) {
  EXPECT_EQ(Pre("x=" + Fn(0x220, "-3").substr(0, 6)), ""); // no ")"
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Pre("x=\x01\x61\x02"), ""); // token cut short
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Pre("\x01\x62Name(1)"), ""); // routine call without its position
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Pre("x=\x01\x61\x16\x10"
                "f"),
            ""); // DEFFN call without parentheses
  EXPECT_TRUE(TakeError());
}

TEST_F(PreEvaluateTest, DeepNestingEndsInAnErrorNotAStackOverflow) {
  std::string text = "1";
  for (int i = 0; i < 1500; ++i) text = Fn(0x220, text);
  EXPECT_EQ(Pre("x=" + text), "");
  EXPECT_TRUE(TakeError());
  text = "-1";
  for (int i = 0; i < 100; ++i) text = Fn(0x220, text);
  EXPECT_EQ(Pre("x=" + text), "x=1");
  EXPECT_FALSE(TakeError());
}

TEST_F(PreEvaluateTest, UnavailableAndUnknownFunctionsReportAnError) {
  // Point without a window (number) gives the neutral value of its form.
  EXPECT_EQ(Pre("k=" + Fn(0x615, "1,2")), "k=0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(CallFunction(0x999, "", 0), "0");
  EXPECT_TRUE(TakeError());
}

} // namespace
