// PRINT USING: string and numeric fields, literal text, missing and extra
// values, rounding carries, exponent scaling and bad formats.
#include "engine_fixture.h"

#include <string>
#include <vector>

#include "console/print_using.h"

namespace {

struct Case {
  std::string arg; // as PRINT hands it over: format expression ";" values
  std::string expected;
};

class PrintUsingTest : public EngineFixture {
protected:
  void ExpectAll(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
      std::optional<std::string> out = FormatUsing(c.arg);
      ASSERT_TRUE(out.has_value()) << c.arg;
      EXPECT_EQ(*out, c.expected) << c.arg;
      EXPECT_FALSE(TakeError()) << c.arg;
    }
  }
  void ExpectFailure(const std::string &arg) {
    EXPECT_FALSE(FormatUsing(arg).has_value()) << arg;
    EXPECT_TRUE(TakeError()) << arg;
  }
};

TEST_F(PrintUsingTest, FixedFieldsRightAlignAndRound) {
  ExpectAll({
      {R"("###.##";3.14159)", "  3.14"},
      {R"("###.##";-3.14159)", " -3.14"},
      {R"("#.##";0.5)", "0.50"},
      {R"("#.##";0.125)", "0.13"}, // ties round away from zero
      {R"("##";2.5)", " 3"},
      {R"("##";-2.5)", "-3"},
      {R"("#####";0)", "    0"},
      {R"("#.##";-0)", "0.00"},
      {R"("##.##^^";1.5)", " 1.50^^"}, // fewer than four marks stay literal
      {R"("#.^^";7)", "7.^^"},
  });
}

TEST_F(PrintUsingTest, SignAndThousands) {
  ExpectAll({
      {R"("+##";5)", " +5"},
      {R"("+##";-5)", " -5"},
      {R"("+#.##";0.5)", "+0.50"},
      {R"("#,###";1234)", "1,234"},
      {R"("#,###";1234.5)", "1,235"},
      {R"("#,###";12)", "   12"},
      {R"("#,###";-123)", " -123"},
      {R"("##,###";-1234)", "-1,234"},
      {R"("##,###.##";12345.678)", "12,345.68"},
      {R"("+#,###";1234)", "+1,234"},
  });
}

TEST_F(PrintUsingTest, TooSmallFieldsAndValuesBelowOne) {
  ExpectAll({
      {R"("##";123)", "%123"},
      {R"("x##y";12345)", "x%12345y"},
      {R"("#";-5)", "%-5"},
      {R"("##";-10)", "%-10"},
      {R"("#.#";12.34)", "%12.3"},
      {R"("#,###";-123456)", "%-123,456"}, // no comma behind the sign
      {R"(".##";0.5)", ".50"},
      {R"(".##";-0.5)", "-.50"},
      {R"("#.##";-0.5)", "-.50"},
      {R"("+.##";0.5)", "+.50"},
      {R"("[.##]";0.5)", "[.50]"},
  });
}

// The overflow test looks at the integer part after rounding.
TEST_F(PrintUsingTest, RoundingThatGainsADigit) {
  ExpectAll({
      {R"("#.#";9.99)", "%10.0"},
      {R"("##.#";9.99)", "10.0"},
      {R"("#";9.5)", "%10"},
      {R"(".#";0.99)", "%1.0"},
      {R"("#.#";-0.99)", "%-1.0"},
  });
}

TEST_F(PrintUsingTest, ExponentForm) {
  ExpectAll({
      {R"("##.##^^^^";123.4)", "12.34E+01"},
      {R"("##.##^^^^";0.00123)", "12.30E-04"},
      {R"("#^^^^";5.5)", "6E+00"},
      {R"("#^^^^";-12.5)", "0E+02"}, // the sign has no position
      {R"("#^^^^";9.6)", "1E+01"},
      {R"("#.^^^^";5.5)", "6.E+00"},
      {R"("##^^^^";-5.9)", "-6E+00"},
      {R"("+##.##^^^^";123.4)", "+12.34E+01"},
      {R"("+##.##^^^^";-123.4)", "-12.34E+01"},
      {R"("+#.#^^^^";-0.3)", "-3.0E-01"},
      {R"(".##^^^^";0.5)", ".50E+00"},
      {R"(".##^^^^";123)", ".12E+03"},
      {R"(".#^^^^";-0.3)", ".3E+00"},
      {R"("+.#^^^^";0.3)", "+.3E+00"},
      {R"("+.#^^^^";-0.3)", "-.3E+00"},
      {R"("#.#^^^^^";1234)", "1.2E+003"},
      {R"("###^^^^";1234567)", "123E+04"},
      {R"("#^^^^|";1e100)", "1E+100|"}, // a longer exponent keeps what follows
  });
}

TEST_F(PrintUsingTest, ExponentFormCarriesAndZero) {
  ExpectAll({
      {R"("#.##^^^^";9.996)", "1.00E+01"},
      {R"("##.#^^^^";-9.96)", "-1.0E+01"},
      {R"(".##^^^^";0.9996)", ".10E+01"},
      {R"("##.##^^^^";0)", " 0.00E+00"},
      {R"("#^^^^";0)", "0E+00"},
      {R"(".##^^^^";0)", ".00E+00"},
      {R"("+#.#^^^^";0)", "+0.0E+00"},
      {R"("+.#^^^^";0)", "+.0E+00"},
  });
}

TEST_F(PrintUsingTest, StringFields) {
  ExpectAll({
      {R"("a@b";"xyz")", "axyzb"},
      {R"("@@";"#";"##")", "###"}, // inserted text is not scanned again
      {R"("[& &]";"abcdef")", "[abc]"},
      {R"("[& &]";"a")", "[a  ]"},
      {R"("[&&]";"abc")", "[ab]"},
      {std::string("\"& &\";\"\x01zab\""), "\x01zab"},         // an escape is one byte
      {std::string("\"[& &]\";\"a\x82\xA0\""), "[a\x82\xA0]"}, // a double-byte character fits
      {std::string("\"[& &]\";\"ab\x82\xA0\""), "[ab ]"},      // and is never cut in half
      {R"("@|@";"a,b";"c;d")", "a,b|c;d"},
  });
}

TEST_F(PrintUsingTest, MissingAndExtraValues) {
  ExpectAll({
      {R"("##|##|@|& &|";1)", " 1| 0||   |"},
      {R"("##";1;2;3)", " 1"},
      {R"("##";)", " 0"},
      {R"("no fields";1)", "no fields"},
      {R"("";1)", ""},
  });
}

TEST_F(PrintUsingTest, DoubleByteCharactersAreLiteral) {
  // 0x83 0x40 ends in "@", 0x81 0x5E in "^".
  ExpectAll({
      {std::string("\"\x83\x40@\";\"v\""), "\x83\x40v"},
      {std::string("\"\x83\x40\";\"v\""), "\x83\x40"},
      {std::string("\"#\x81\x5E^^^\";5"), "5\x81\x5E^^^"},
  });
}

// A "." or "+" written by an earlier field never joins the next one.
TEST_F(PrintUsingTest, FieldsDoNotReachIntoInsertedText) {
  ExpectAll({
      {R"("@##";"a+";5)", "a+ 5"},
      {R"("@##";"a.";5)", "a. 5"},
  });
}

TEST_F(PrintUsingTest, BadFormatsAreErrors) {
  ExpectFailure(R"("##")");
  ExpectFailure(R"("& x&";"abc")");
  ExpectFailure(R"("&  ";"abc")");
  ExpectFailure(R"("ok &";"abc")");
}

TEST_F(PrintUsingTest, LargeFieldsStayBounded) {
  std::string hashes(1000, '#');
  std::optional<std::string> out = FormatUsing("\"" + hashes + "\";1");
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(*out, std::string(999, ' ') + "1");

  out = FormatUsing("\"." + std::string(600, '#') + "\";0.5");
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(*out, ".5" + std::string(599, '0'));

  out = FormatUsing("\"" + hashes + "^^^^\";1.5");
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->find_first_not_of(' '), 1000 - 309u) << "scaled up to the largest double";
  EXPECT_EQ(out->substr(1000, 2), "E-");

  ExpectAll({
      {R"("#^^^^";1e308)", "1E+308"},
      {R"("##.##^^^^";1e-300)", "10.00E-301"},
  });
  out = FormatUsing(R"("#^^^^";4.9e-324)");
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->substr(1, 3), "E-3");

  std::string many;
  for (int i = 0; i < 2000; ++i) many += "@&&";
  out = FormatUsing("\"" + many + "\";\"x\"");
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->size(), 1 + 2 * 2000u) << "x, then two blanks per \"&&\"";
}

} // namespace
