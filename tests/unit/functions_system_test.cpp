// The system query functions that need no device.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "expr/builtin.h"
#include "expr/call_function.h"
#include "platform/environment.h"
#include "platform/local_time.h"

namespace {

class SystemFunctionTest : public EngineFixture {};

TEST_F(SystemFunctionTest, DateAndTimeHaveTwoDigitFields) {
  SYSTEMTIME t;
  t.wYear = 2001;
  t.wMonth = 5;
  t.wDay = 7;
  t.wHour = 9;
  t.wMinute = 5;
  t.wSecond = 3;
  EXPECT_EQ(DateLiteral(t), "\"2001/05/07\"");
  EXPECT_EQ(TimeLiteral(t), "\"09:05:03\"");
  t.wMonth = 12;
  t.wDay = 31;
  t.wHour = 23;
  t.wMinute = 59;
  t.wSecond = 10;
  EXPECT_EQ(DateLiteral(t), "\"2001/12/31\"");
  EXPECT_EQ(TimeLiteral(t), "\"23:59:10\"");
  std::string now = CallFunction(0x325, "", 0);
  ASSERT_EQ(now.size(), 10u);
  EXPECT_EQ(now[3], ':');
}

TEST_F(SystemFunctionTest, EnvironmentValuesAndMissingNames) {
  ASSERT_TRUE(SetEnvironmentVariableA("QUILL_FN_TEST", "a\"b \x82\xA0"));
  EXPECT_EQ(CallFunction(0x612, "\"QUILL_FN_TEST\"", 0), "\"a\x01zb \x82\xA0\"")
      << "a double quote in the value cannot end the literal";
  SetEnvironmentVariableA("QUILL_FN_TEST", nullptr);
  EXPECT_EQ(CallFunction(0x612, "\"QUILL_FN_TEST\"", 0), "\"\"");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(CallFunction(0x612, "\"A\",\"B\"", 0), "\"\"");
  EXPECT_TRUE(TakeError());
}

TEST_F(SystemFunctionTest, CommandLineAndCurrentDirectory) {
  engine_->commandLine = "-x \x01zq\x01z";
  engine_->currentDirectory = "C:\\dir\\";
  EXPECT_EQ(CallFunction(0x611, "", 0), "\"-x \x01zq\x01z\"");
  EXPECT_EQ(CallFunction(0x410, "", 0), "\"C:\\dir\\\"");
}

} // namespace
