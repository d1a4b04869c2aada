// The string built-in functions, by bytes and by Shift-JIS characters, and
// the MID$ statement.
#include <gtest/gtest.h>

#include "data/variables.h"
#include "engine_fixture.h"
#include "expr/call_function.h"
#include "expr/function_statements.h"
#include "expr/string_text.h"
#include "runtime/runtime_error.h"

namespace {

// Two full-width characters (あい) followed by "ab".
const std::string kMixed = "\x82\xA0\x82\xA2"
                           "ab";

class StringFunctionTest : public EngineFixture {
protected:
  std::string Call(uint16_t code, const std::string &args) { return CallFunction(code, args, 0); }
  std::string Q(const std::string &s) { return "\"" + s + "\""; }
};

TEST_F(StringFunctionTest, ExtractionByBytes) {
  EXPECT_EQ(Call(0x31c, "\"abc\",5"), Q("abc"));
  EXPECT_EQ(Call(0x31c, "\"abc\",0"), Q(""));
  EXPECT_EQ(Call(0x31c, "\"abc\",-4"), Q(""));
  EXPECT_EQ(Call(0x320, "\"abc\",2"), Q("bc"));
  EXPECT_EQ(Call(0x320, "\"abc\",9"), Q("abc"));
  EXPECT_EQ(Call(0x31e, "\"abcdef\",2,3"), Q("bcd"));
  EXPECT_EQ(Call(0x31e, "\"abcdef\",5"), Q("ef"));
  EXPECT_EQ(Call(0x31e, "\"abc\",10"), Q(""));
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Call(0x31e, "\"abc\",0"), Q(""));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x31e, "\"abc\",1,-1"), Q(""));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x320, "\"abc\",-1"), Q(""));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x31c, "\"abc\""), Q(""));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x31e, "\"abc\",1,2,3"), Q(""));
  EXPECT_TRUE(TakeError());
}

TEST_F(StringFunctionTest, EscapedBytesCountAsOneAndComeBackEscaped) {
  // "a", an escaped double quote, an escaped 0x01, "b".
  std::string s = Q("a\x01z\x01\x01"
                    "b");
  EXPECT_EQ(Call(0x31d, s), "4");
  EXPECT_EQ(Call(0x31e, s + ",2,2"), Q("\x01z\x01\x01"));
  EXPECT_EQ(Call(0x311, Q("\x01"
                          "0")),
            "0")
      << "an escaped NUL is byte 0";
}

TEST_F(StringFunctionTest, MixedFullWidthAndAsciiText) {
  std::string s = Q(kMixed);
  EXPECT_EQ(Call(0x31d, s), "6");
  EXPECT_EQ(Call(0x31a, s), "4");
  EXPECT_EQ(Call(0x31b, s + ",2,2"), Q("\x82\xA2"
                                       "a"));
  EXPECT_EQ(Call(0x31b, s + ",3"), Q("ab"));
  EXPECT_EQ(Call(0x31b, s + ",9,2"), Q(""));
  EXPECT_EQ(Call(0x31e, s + ",2,2"), Q("\xA0\x82")) << "Mid$ cuts characters in half";
  // A lead byte at the very end counts as one character.
  EXPECT_EQ(Call(0x31a, Q("a\x82")), "2");
  EXPECT_EQ(Call(0x31b, Q("a\x82") + ",2,5"), Q("\x82"));
}

TEST_F(StringFunctionTest, SearchesByBytesAndByCharacters) {
  EXPECT_EQ(Call(0x317, "\"abcabc\",\"c\""), "3");
  EXPECT_EQ(Call(0x317, "4,\"abcabc\",\"c\""), "6");
  EXPECT_EQ(Call(0x317, "\"abcabc\",\"x\""), "0");
  EXPECT_EQ(Call(0x317, "\"abc\",\"\""), "1");
  EXPECT_EQ(Call(0x317, "3,\"abc\",\"\""), "3");
  EXPECT_EQ(Call(0x317, "9,\"abc\",\"c\""), "0");
  std::string s = Q("\x82\xA0"
                    "ab");
  EXPECT_EQ(Call(0x317, s + ",\"b\""), "4");
  EXPECT_EQ(Call(0x319, s + ",\"b\""), "3");
  EXPECT_EQ(Call(0x319, "2," + Q(kMixed) + ",\"a\""), "3");
  EXPECT_EQ(Call(0x319, "4," + Q(kMixed) + ",\"a\""), "0");
  EXPECT_EQ(Call(0x319, "2," + Q(kMixed) + ",\"\""), "2");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Call(0x317, "0,\"abc\",\"a\""), "0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x319, "\"abc\""), "0");
  EXPECT_TRUE(TakeError());
}

TEST_F(StringFunctionTest, BuildingStrings) {
  EXPECT_EQ(Call(0x321, "3"), Q("   "));
  EXPECT_EQ(Call(0x324, "3,\"ab\""), Q("ababab"));
  EXPECT_EQ(Call(0x324, "0,\"ab\""), Q(""));
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Call(0x321, "-1"), Q(""));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x324, "-1,\"a\""), Q(""));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Call(0x321, "2147483647"), Q("")) << "refused rather than exhausting memory";
  EXPECT_TRUE(TakeError());
}

TEST_F(StringFunctionTest, NumbersAsText) {
  EXPECT_EQ(Call(0x323, "0.5"), Q(".5"));
  EXPECT_EQ(Call(0x323, "-0.25"), Q("-.25"));
  EXPECT_EQ(Call(0x323, "12"), Q("12"));
  EXPECT_EQ(Call(0x314, "255"), Q("FF"));
  EXPECT_EQ(Call(0x314, "-1"), Q("FFFFFFFF"));
  EXPECT_EQ(Call(0x31f, "8"), Q("10"));
  EXPECT_EQ(Call(0x31f, "-8"), Q("37777777770"));
}

TEST_F(StringFunctionTest, ValForms) {
  EXPECT_EQ(Call(0x326, "\" 12.5abc\""), "12.5");
  EXPECT_EQ(Call(0x326, "\"&h1F\""), "31");
  EXPECT_EQ(Call(0x326, "\"&o17\""), "15");
  EXPECT_EQ(Call(0x326, "\"1e3\""), "1000");
  EXPECT_EQ(Call(0x326, "\"1e\""), "1");
  EXPECT_EQ(Call(0x326, "\"2.5E-2x\""), "0.025");
  EXPECT_EQ(Call(0x326, "\"-&hFF\""), "0") << "the sign belongs to the radix digits";
  EXPECT_EQ(Call(0x326, "\"abc\""), "0");
  EXPECT_EQ(Call(0x326, "\"- 1 2\""), "-12") << "blanks are dropped first";
  EXPECT_EQ(Call(0x326, "\"--3\""), "0") << "a second sign ends the number";
  EXPECT_EQ(Call(0x326, "\"&hFFFFFFFFF\""), "2147483647") << "clamped";
  EXPECT_EQ(Call(0x326, "\"&o9\""), "0");
  EXPECT_FALSE(TakeError());
}

TEST_F(StringFunctionTest, CharacterCodes) {
  EXPECT_EQ(Call(0x312, "65"), Q("A"));
  EXPECT_EQ(Call(0x312, "34"), Q("\x01z"));
  EXPECT_EQ(Call(0x312, "321"), Q("A")) << "only the low byte counts";
  EXPECT_EQ(Call(0x312, "0"), Q("\x01"
                                "0"));
  EXPECT_EQ(Call(0x312, "1"), Q("\x01\x01"));
  EXPECT_EQ(Call(0x311, "\"\""), "0");
  EXPECT_EQ(Call(0x311, Q("\x82\xA0")), "130");
}

TEST_F(StringFunctionTest, WidthConversion) {
  // "A1" and half-width katakana KA become full width; full width stays.
  EXPECT_EQ(Call(0x310, Q("A1\xB6\x82\xA0")), Q("\x82\x60\x82\x50\x83\x4A\x82\xA0"));
  // Full-width A, hiragana GA (voicing dropped) and a kanji.
  EXPECT_EQ(Call(0x318, Q("\x82\x60\x82\xAA\x88\x9F"
                          "b")),
            Q("A\xB6\x88\x9F"
              "b"));
  EXPECT_EQ(Call(0x310, Q("\x01z")), Q("\x81\x68")) << "a double quote to its typographic form";
}

TEST_F(StringFunctionTest, MidStatementOverwritesInPlace) {
  auto Mid = [&](std::string arg) { MIDS(arg, 0); };
  SetString("a$", "abcdef");
  Mid("(a$, 2) = \"XY\"");
  EXPECT_EQ(*GetString("a$"), "aXYdef");
  Mid("(a$, 5, 1) = \"123\"");
  EXPECT_EQ(*GetString("a$"), "aXYd1f");
  Mid("(a$, 5) = \"LONGER\"");
  EXPECT_EQ(*GetString("a$"), "aXYdLO") << "the length never changes";
  Mid("(a$, 1, 9) = \"z\"");
  EXPECT_EQ(*GetString("a$"), "zXYdLO") << "never more than the replacement";
  Mid("(a$, 7) = \"Q\"");
  Mid("(a$, 0) = \"Q\"");
  EXPECT_EQ(*GetString("a$"), "zXYdLO");
  EXPECT_FALSE(TakeError());
  SetString("b$", "a\x01zc");
  Mid("(b$, 3) = \"\x01\x01\"");
  EXPECT_EQ(*GetString("b$"), "a\x01z\x01\x01") << "decoded, then encoded again";
  Mid("(a$, 1) \"Q\"");
  EXPECT_TRUE(TakeError());
  Mid("(x, 1) = \"Q\"");
  EXPECT_TRUE(TakeError());
}

} // namespace

// The string text form: escapes at the ends, in runs and next to each
// other survive the round trip, and a broken escape is the runtime error.
TEST_F(StringFunctionTest, StringTextEscapesRoundTripWhereverTheyStand) {
  using namespace std::string_literals;
  const std::string raw = "\x01"
                          "ab\"\"cd\0\x01\x01"
                          "efgh\""s;
  std::string text = EncodeString(raw, false);
  EXPECT_EQ(text, "\x01\x01"
                  "ab\x01z\x01z"
                  "cd\x01"
                  "0\x01\x01\x01\x01"
                  "efgh\x01z"s);
  EXPECT_EQ(DecodeString(text, true), raw);
  EXPECT_EQ(EncodeString("plain", true), "\"plain\"");
  EXPECT_EQ(DecodeString("a\x01yb\x01"
                         "0c",
                         false),
            "a b c");
  std::string longRun(5000, 'x');
  EXPECT_EQ(DecodeString(EncodeString(longRun + "\"" + longRun, false), true),
            longRun + "\"" + longRun);
  uint64_t before = RuntimeErrorCount();
  EXPECT_EQ(DecodeString("abc\x01", true), "");
  EXPECT_EQ(DecodeString("abc\x01q", true), "");
  EXPECT_EQ(RuntimeErrorCount() - before, 2u);
}
