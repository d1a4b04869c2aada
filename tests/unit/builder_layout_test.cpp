#include <gtest/gtest.h>

#include "builder/builder.h"

TEST(BuilderLayout, Smoke) {
  auto r = builder::BuildProgram({{"a.bas", "PRINT 1\n"}});
  EXPECT_TRUE(r.Ok());
}
