// The argument-text helpers that every handler uses.
#include <gtest/gtest.h>

#include "runtime/arg_text.h"

namespace {

TEST(ArgText, StripBlanksKeepsQuotedText) {
  EXPECT_EQ(StripBlanks(" a , \t\"x y\" , b "), "a,\"x y\",b");
  // An unclosed quote keeps everything behind it.
  EXPECT_EQ(StripBlanks("a \"b c"), "a\"b c");
}

TEST(ArgText, NextArgumentCutsAtTopLevelCommas) {
  std::string text = "a(1,2),\"x,y\",(c),";
  std::string out;
  size_t at = NextArgument(text, 0, out);
  EXPECT_EQ(out, "a(1,2)");
  at = NextArgument(text, at, out);
  EXPECT_EQ(out, "\"x,y\"");
  at = NextArgument(text, at, out);
  EXPECT_EQ(out, "(c)");
  EXPECT_EQ(at, text.size());
  at = NextArgument(text, at, out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(at, text.size());
  // Parentheses inside quotes do not count.
  NextArgument("\"(\",b", 0, out);
  EXPECT_EQ(out, "\"(\"");
}

TEST(ArgText, QuoteAndUnquote) {
  std::string s = "abc";
  Quote(s);
  EXPECT_EQ(s, "\"abc\"");
  Quote(s);
  EXPECT_EQ(s, "\"abc\"");
  Unquote(s);
  EXPECT_EQ(s, "abc");
  s = "\"ab\"cd";
  Unquote(s);
  EXPECT_EQ(s, "ab");
  s = "\"open";
  Unquote(s);
  EXPECT_EQ(s, "open");
  s = "plain";
  Unquote(s);
  EXPECT_EQ(s, "plain");
}

TEST(ArgText, ShiftTextBothWays) {
  std::string s = "abcdef";
  ShiftText(s, 2, 3);
  EXPECT_EQ(s, "abcdecdef");
  s = "abcdef";
  ShiftText(s, 4, -2);
  EXPECT_EQ(s, "abef");
  s = "abc";
  ShiftText(s, 1, 0);
  EXPECT_EQ(s, "abc");
}

TEST(ArgText, ReadHexAsScanfReadsIt) {
  EXPECT_EQ(ReadHex("ffffffff"), 0xFFFFFFFFu);
  EXPECT_EQ(ReadHex("0000001d rest"), 0x1Du);
  EXPECT_EQ(ReadHex("  1D"), 0x1Du);
  EXPECT_EQ(ReadHex("0x10"), 0x10u);
  EXPECT_EQ(ReadHex("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ReadHex("123456789"), 0x23456789u); // kept modulo 2^32
  EXPECT_FALSE(ReadHex("").has_value());
  EXPECT_FALSE(ReadHex("zz").has_value());
}

TEST(ArgText, ScanIntWrapsLikeTheRuntime) {
  const char *p = " -16 4294967297 x";
  int32_t v;
  ASSERT_TRUE(ScanInt(p, v));
  EXPECT_EQ(v, -16);
  ASSERT_TRUE(ScanInt(p, v));
  EXPECT_EQ(v, 1);
  EXPECT_FALSE(ScanInt(p, v));
}

} // namespace
