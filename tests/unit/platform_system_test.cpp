// Start-up services: screen size, command line, module path, and the
// process helpers of the tool.
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

// Tests that change the environment and call Initialize; afterwards the
// variables are cleared and Initialize runs again with no arguments.
class InitTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
      if (const char *v = std::getenv(name)) saved_.emplace_back(name, v);
  }
  void TearDown() override {
    unsetenv("QUILLRUNNER_SCREEN");
    // Headless again, even on a desktop: the other tests expect it.
    setenv("QUILLRUNNER_BACKEND", "headless", 1);
    for (auto &[name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    char name[] = "prog";
    char *argv[] = {name, nullptr};
    platform::Initialize(1, argv);
    unsetenv("QUILLRUNNER_BACKEND");
  }

private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(InitTest, ScreenSizeFromEnvironment) {
  char name[] = "prog";
  char *argv[] = {name, nullptr};
  setenv("QUILLRUNNER_SCREEN", "800x600", 1);
  platform::Initialize(1, argv);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  EXPECT_TRUE(platform::IsHeadless());
  for (const char *junk :
       {"800x", "x600", "0x600", "800x600x", "99999x10", "-5x5", "800 600", "", "800x600 "}) {
    setenv("QUILLRUNNER_SCREEN", junk, 1);
    platform::Initialize(1, argv);
    EXPECT_EQ(platform::ScreenWidth(), 1024) << junk;
    EXPECT_EQ(platform::ScreenHeight(), 768) << junk;
  }
}

// Without a display: asking for a window says so in one line and runs
// headless; by default it is headless without a word.
TEST_F(InitTest, NoDisplayMeansHeadless) {
  char name[] = "prog";
  char *argv[] = {name, nullptr};
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
  setenv("QUILLRUNNER_BACKEND", "sdl", 1);
  testing::internal::CaptureStderr();
  platform::Initialize(1, argv);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("display"), std::string::npos);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
  EXPECT_TRUE(platform::IsHeadless());

  unsetenv("QUILLRUNNER_BACKEND");
  testing::internal::CaptureStderr();
  platform::Initialize(1, argv);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(platform::IsHeadless());
}

TEST_F(InitTest, CommandLineIsTheArgumentsInCodePage932) {
  char a0[] = "prog", a1[] = "one", a2[] = "two words", a3[] = "\xE3\x81\x82";
  char *argv[] = {a0, a1, a2, a3, nullptr};
  platform::Initialize(4, argv);
  EXPECT_STREQ(GetCommandLineA(), "one two words \x82\xA0");
  platform::Initialize(1, argv);
  EXPECT_STREQ(GetCommandLineA(), "");
}

TEST(ModulePath, WindowsFormOfTheExecutable) {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(0, buf, sizeof buf);
  std::string self = platform::SelfExecutablePath();
  ASSERT_FALSE(self.empty());
  EXPECT_EQ(buf, platform::ToWindowsPath(self));
  EXPECT_EQ(n, std::string(buf).size());
  EXPECT_EQ(std::string(buf).find('/'), std::string::npos);
  if (self.rfind("/tmp", 0) == 0 || self.rfind("/work", 0) == 0) {
    EXPECT_EQ(std::string(buf).substr(0, 3), "Z:\\");
  }
  // Cut to size-1 and terminated; the result is the size.
  char small[6] = "#####";
  EXPECT_EQ(GetModuleFileNameA(0, small, 4), 4u);
  EXPECT_EQ(std::string(small), std::string(buf).substr(0, 3));
  EXPECT_EQ(small[4], '#');
  EXPECT_EQ(GetModuleFileNameA(0, small, 0), 0u);
}

TEST(Tick, CountAdvancesWithSleep) {
  DWORD t0 = GetTickCount();
  Sleep(15);
  DWORD elapsed = GetTickCount() - t0;
  EXPECT_GE(elapsed, 14u);
  EXPECT_LT(elapsed, 5000u);
}

class ProcessTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = platform::MakeTempDirectory();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { platform::RemoveTree(dir_); }
  std::string dir_;
};

TEST_F(ProcessTest, RunProcessStatusesAndStartDirectory) {
  EXPECT_EQ(platform::RunProcess("/bin/sh", {"-c", "exit 3"}, "/"), 3);
  EXPECT_EQ(
      platform::RunProcess("/bin/sh", {"-c", "test \"$QUILLRUNNER_START_DIR\" = '/a b'"}, "/a b"),
      0);
  EXPECT_EQ(platform::RunProcess("/bin/sh", {"-c", "kill -9 $$"}, "/"), 128 + 9);
  EXPECT_EQ(platform::RunProcess(dir_ + "/missing", {}, "/"), 127);
}

TEST_F(ProcessTest, RunBitsTreesAndDirectories) {
  std::string script = dir_ + "/sub/run.sh";
  ASSERT_EQ(mkdir((dir_ + "/sub").c_str(), 0755), 0);
  std::ofstream(script) << "#!/bin/sh\nexit 5\n";
  chmod(script.c_str(), 0644);
  platform::MakeExecutable(script);
  struct stat st;
  ASSERT_EQ(stat(script.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  EXPECT_EQ(platform::RunProcess(script, {}, "/"), 5);
  EXPECT_FALSE(platform::CurrentDirectory().empty());
  platform::RemoveTree(dir_);
  EXPECT_NE(stat(dir_.c_str(), &st), 0);
}

TEST(StartDirectory, OverrideComesFromTheEnvironment) {
  unsetenv("QUILLRUNNER_START_DIR");
  EXPECT_EQ(platform::StartDirectoryOverride(), "");
  setenv("QUILLRUNNER_START_DIR", "/some/dir", 1);
  EXPECT_EQ(platform::StartDirectoryOverride(), "/some/dir");
  unsetenv("QUILLRUNNER_START_DIR");
}

} // namespace
