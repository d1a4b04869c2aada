// Functions of libraries loaded on first use: found on the first call, the
// same from every thread, and a missing library or function is reported.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "platform/lazy_library.h"

namespace {

using platform::lazy::Fn;
using platform::lazy::Library;

TEST(LazyLibrary, LoadsOnTheFirstCallFromAnyThread) {
  static Library math{"libm.so.6", {}, {}};
  static Fn<double (*)(double)> cosine{math, "cos"};
  EXPECT_FALSE(platform::lazy::Loaded(math));
  std::vector<std::thread> threads;
  std::vector<double> got(4);
  for (size_t i = 0; i < got.size(); ++i) threads.emplace_back([&got, i] { got[i] = cosine(0.0); });
  for (auto &t : threads) t.join();
  for (double v : got) EXPECT_EQ(v, 1.0);
  EXPECT_TRUE(platform::lazy::Loaded(math));
  EXPECT_EQ(cosine(M_PI), -1.0);
}

TEST(LazyLibrary, AMissingLibraryIsReportedAndAMissingFunctionEndsTheProcess) {
  static Library missing{"libquill-no-such-library.so.0", {}, {}};
  testing::internal::CaptureStderr();
  EXPECT_FALSE(platform::lazy::Load(missing));
  EXPECT_FALSE(platform::lazy::Load(missing)); // said once
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot load libquill-no-such-library.so.0"), std::string::npos) << said;
  EXPECT_EQ(said.find("cannot load", 1), said.rfind("cannot load")) << said;
  static Library math{"libm.so.6", {}, {}};
  static Fn<double (*)(double)> absent{math, "quill_no_such_function"};
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(absent(1.0), "libm.so.6 has no function quill_no_such_function");
}

} // namespace
