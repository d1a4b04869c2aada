// Record layouts and record transfers: FIELD's limits and errors, which
// layout LSET and RSET find, and bytes that must come back unchanged.
#include "files_test_util.h"

#include "data/variables.h"
#include "expr/string_text.h"
#include "files/channel_table.h"

namespace {

class RecordsTest : public FilesTest {
protected:
  void Field(const std::string &arg) {
    std::string a = arg;
    FIELD(a, kNoThread);
  }
  void Lset(const std::string &arg) {
    std::string a = arg;
    LSET(a, kNoThread);
  }
  void Rset(const std::string &arg) {
    std::string a = arg;
    RSET(a, kNoThread);
  }
  std::string Value(const std::string &name) {
    const std::string *v = GetString(name);
    return v ? DecodeString(*v, true) : "<none>";
  }
  // "#n,w AS a$,w AS b$..."
  std::string Layout(int n, std::initializer_list<std::pair<int, std::string>> pairs) {
    std::string arg = "#" + std::to_string(n) + ",";
    for (const auto &[w, name] : pairs)
      arg += (arg.back() == ',' ? "" : ",") + std::to_string(w) + As() + name;
    return arg;
  }
};

TEST_F(RecordsTest, Record3OfWidths4And6IsBytes20To29) {
  Open("r", "", 1);
  Field(Layout(1, {{4, "a$"}, {6, "b$"}}));
  Lset("a$=\"ab\"");
  Rset("b$=\"x\"+\"\x01z\x01"
       "0\x01\x01\"");
  EXPECT_EQ(Value("a$"), "ab  ");
  EXPECT_EQ(Value("b$"), std::string("  x\"\0\x01", 6));
  std::string put = "#1,3";
  ChannelPut(put);
  EXPECT_FALSE(TakeError());
  std::string file = Read("r");
  ASSERT_EQ(file.size(), 30u);
  EXPECT_EQ(file.substr(0, 20), std::string(20, '\0'));
  EXPECT_EQ(file.substr(20), std::string("ab    x\"\0\x01", 10));
  Lset("a$=\"\"");
  Lset("b$=\"\"");
  ChannelGet("#1,2+1");
  EXPECT_EQ(Value("a$"), "ab  ");
  EXPECT_EQ(Value("b$"), std::string("  x\"\0\x01", 6));
  ChannelGet("#1,4");
  EXPECT_EQ(Value("a$"), "");
  EXPECT_EQ(Value("b$"), "");
  EXPECT_FALSE(TakeError());
}

TEST_F(RecordsTest, LsetAndRsetPadOrCutToTheWidth) {
  Field(Layout(2, {{4, "w$"}, {0, "z$"}}));
  Lset("w$=\"abcdef\"");
  EXPECT_EQ(Value("w$"), "abcd");
  Rset("w$=\"abcdef\"");
  EXPECT_EQ(Value("w$"), "abcd") << "RSET also keeps the first bytes";
  Rset("w$=\"ab\"");
  EXPECT_EQ(Value("w$"), "  ab");
  Lset("z$=\"ab\"");
  EXPECT_EQ(Value("z$"), "");
  // The first layout that names the variable counts: channel 1 before 2.
  Field(Layout(1, {{2, "w$"}}));
  Lset("w$=\"abc\"");
  EXPECT_EQ(Value("w$"), "ab");
  EXPECT_FALSE(TakeError());
  Lset("W$=\"x\"");
  EXPECT_TRUE(TakeError()) << "names are compared exactly";
  Lset("w$\"x\"");
  EXPECT_TRUE(TakeError()) << "no =";
}

TEST_F(RecordsTest, FieldErrorsLeaveNoLayout) {
  Field(Layout(3, {{4, "a$"}}));
  ASSERT_EQ(FindChannel(3)->fieldNames.size(), 1u);
  Field(Layout(3, {{4, "a$"}, {-1, "b$"}}));
  EXPECT_TRUE(TakeError()) << "a negative width";
  EXPECT_TRUE(FindChannel(3)->fieldNames.empty());
  Field(Layout(3, {{4, "n"}}));
  EXPECT_TRUE(TakeError()) << "not a string variable";
  Field("#3,4");
  EXPECT_TRUE(TakeError()) << "no AS";
  Field("3,4" + As() + "a$");
  EXPECT_FALSE(TakeError()) << "the # is optional";
  Field("#x,4" + As() + "a$");
  EXPECT_TRUE(TakeError());

  std::string many = "#4,";
  for (int i = 0; i < 254; ++i) many += (i ? "," : "") + std::string("1") + As() + "f$";
  Field(many);
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(FindChannel(4)->fieldNames.size(), 254u);
  Field(many + ",1" + As() + "g$");
  EXPECT_TRUE(TakeError()) << "255 fields";
  std::string longNames = "#5,";
  for (int i = 0; i < 12; ++i)
    longNames += (i ? "," : "") + std::string("1") + As() + std::string(90, 'a' + i) + "$";
  Field(longNames);
  EXPECT_TRUE(TakeError()) << "names beyond 1023 bytes";
  EXPECT_TRUE(FindChannel(5)->fieldNames.empty());
}

TEST_F(RecordsTest, RecordTransfersNeedAnOpenDiskChannelAndRecord1OrMore) {
  Field(Layout(6, {{2, "a$"}}));
  ChannelGet("#6,1");
  EXPECT_TRUE(TakeError()) << "not open";
  Open("r6", "", 6);
  ChannelPut("#6,0");
  EXPECT_TRUE(TakeError());
  ChannelPut("#6,1");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Read("r6"), "  ");
  Close();
  Open("r6", "input", 6);
  Lset("a$=\"zz\"");
  ChannelPut("#6,1");
  EXPECT_TRUE(TakeError()) << "a failed write is not silent";
  EXPECT_EQ(Read("r6"), "  ");
}

} // namespace
