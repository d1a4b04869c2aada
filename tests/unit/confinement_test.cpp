// Confinement to a directory tree: paths that lead out of the root by an
// absolute name, "..", a drive letter or a symbolic link are refused by the
// file services, and no process or serial port can be opened.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/commapi.h"
#include "platform/confinement.h"
#include "platform/fileapi.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/shellapi.h"

namespace {

class ConfinementTest : public ::testing::Test {
protected:
  void SetUp() override {
    base_ = platform::MakeTempDirectory();
    ASSERT_FALSE(base_.empty());
    root_ = base_ + "/root";
    outside_ = base_ + "/outside";
    ASSERT_EQ(mkdir(root_.c_str(), 0700), 0);
    ASSERT_EQ(mkdir(outside_.c_str(), 0700), 0);
    std::ofstream(outside_ + "/keep.txt") << "kept";
    ASSERT_EQ(symlink(outside_.c_str(), (root_ + "/link").c_str()), 0);
    ASSERT_EQ(symlink((outside_ + "/new.txt").c_str(), (root_ + "/dangling").c_str()), 0);
    ASSERT_TRUE(platform::ConfineTo(root_));
  }
  void TearDown() override {
    platform::ConfineTo("");
    platform::RemoveTree(base_);
  }
  std::string W(const std::string &unixPath) { return platform::ToWindowsPath(unixPath); }
  bool Exists(const std::string &path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
  }

  std::string base_, root_, outside_;
};

TEST_F(ConfinementTest, PathsOutsideTheRootAreRefused) {
  EXPECT_TRUE(platform::PathInsideConfinement(root_));
  EXPECT_TRUE(platform::PathInsideConfinement(root_ + "/a/../b/new"));
  EXPECT_FALSE(platform::PathInsideConfinement(base_));
  EXPECT_FALSE(platform::PathInsideConfinement(root_ + "/../outside/keep.txt"));
  EXPECT_FALSE(platform::PathInsideConfinement(root_ + "/link/keep.txt"));
  EXPECT_FALSE(platform::PathInsideConfinement(root_ + "/link/../outside/keep.txt"));
  EXPECT_FALSE(platform::PathInsideConfinement(root_ + "/dangling"));
  EXPECT_FALSE(platform::PathInsideConfinement("/etc/passwd"));
  EXPECT_FALSE(platform::PathInsideConfinement(root_ + "x"));

  EXPECT_EQ(platform::ToUnixPath("Z:\\etc\\passwd"), "");
  EXPECT_EQ(platform::ToUnixPath(W(root_) + "\\..\\outside\\keep.txt"), "");
  EXPECT_NE(platform::ToUnixPath(W(root_) + "\\file.txt"), "");
  // Relative names count from the current directory.
  std::string cwd = platform::CurrentDirectory();
  ASSERT_EQ(chdir(root_.c_str()), 0);
  EXPECT_NE(platform::ToUnixPath("file.txt"), "");
  EXPECT_EQ(platform::ToUnixPath("..\\outside\\keep.txt"), "");
  ASSERT_EQ(chdir(cwd.c_str()), 0);
}

TEST_F(ConfinementTest, FileServicesReachNothingOutside) {
  std::string keep = W(outside_ + "/keep.txt");
  EXPECT_FALSE(DeleteFileA(keep.c_str()));
  EXPECT_FALSE(DeleteFileA((W(root_) + "\\link\\keep.txt").c_str()));
  EXPECT_FALSE(MoveFileA(keep.c_str(), W(root_ + "/moved.txt").c_str()));
  EXPECT_FALSE(CopyFileA(keep.c_str(), W(root_ + "/copy.txt").c_str(), FALSE));
  EXPECT_TRUE(Exists(outside_ + "/keep.txt"));
  EXPECT_FALSE(Exists(root_ + "/copy.txt"));

  EXPECT_FALSE(CreateDirectoryA(W(outside_ + "/made").c_str(), nullptr));
  EXPECT_FALSE(Exists(outside_ + "/made"));
  EXPECT_EQ(
      CreateFileA(W(root_ + "/dangling").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0),
      INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Exists(outside_ + "/new.txt"));
  WIN32_FIND_DATAA found;
  EXPECT_EQ(FindFirstFileA((W(outside_) + "\\*").c_str(), &found), INVALID_HANDLE_VALUE);

  // Inside the root everything works as usual.
  std::string inside = W(root_ + "/made");
  EXPECT_TRUE(CreateDirectoryA(inside.c_str(), nullptr));
  HANDLE h =
      CreateFileA((inside + "\\f.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_TRUE(DeleteFileA((inside + "\\f.txt").c_str()));
}

TEST_F(ConfinementTest, NoProcessOrSerialPort) {
  std::string marker = root_ + "/ran";
  std::string script = root_ + "/touch.sh";
  std::ofstream(script) << "#!/bin/sh\ntouch " << marker << "\n";
  chmod(script.c_str(), 0755);
  EXPECT_LE(ShellExecuteA(0, "open", W(script).c_str(), nullptr, nullptr, SW_SHOWNORMAL), 32u);
  EXPECT_EQ(platform::RunProcess(script, {}, root_), 127);
  usleep(100000);
  EXPECT_FALSE(Exists(marker));
  EXPECT_EQ(CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0),
            INVALID_HANDLE_VALUE);
}

} // namespace
