// Disk writes are held back by the file handle and written in pieces; every
// way of looking at the file must still see them, in order, and a write
// that fails late must not pass for a success.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/fileapi.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {

class WriteBufferTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = platform::MakeTempDirectory();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { platform::RemoveTree(dir_); }
  std::string W(const std::string &name) { return platform::ToWindowsPath(dir_) + "\\" + name; }
  // The file's bytes as the system has them (bypassing the handles).
  std::string OnDisk(const std::string &name) {
    std::ifstream in(dir_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  HANDLE Open(const std::string &name, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileA(W(name).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       0);
  }
  static bool Put(HANDLE h, const std::string &s) {
    DWORD n = 0;
    return WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &n, nullptr) && n == s.size();
  }
  std::string dir_;
};

TEST_F(WriteBufferTest, SizeSeekAndReadSeeWhatWasWritten) {
  HANDLE h = Open("a.txt", GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(Put(h, "hello "));
  ASSERT_TRUE(Put(h, "world"));
  EXPECT_EQ(GetFileSize(h, nullptr), 11u);
  EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
  char buf[8] = {};
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(h, buf, 5, &got, nullptr));
  EXPECT_EQ(std::string(buf, got), "world");
  // A write after a seek lands where the pointer is.
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  ASSERT_TRUE(Put(h, "J"));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(OnDisk("a.txt"), "Jello world");
}

TEST_F(WriteBufferTest, OpeningOrNamingAnyFileWritesPendingBytes) {
  HANDLE h = Open("b.txt", GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(Put(h, "line\r\n"));
  // Another handle reading the same file sees the line.
  HANDLE r = Open("b.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  ASSERT_NE(r, INVALID_HANDLE_VALUE);
  char buf[16];
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(r, buf, sizeof buf, &got, nullptr));
  EXPECT_EQ(std::string(buf, got), "line\r\n");
  CloseHandle(r);
  ASSERT_TRUE(Put(h, "more"));
  // Resolving a path (copy, rename, a directory search...) writes it out.
  platform::ToUnixPath(W("other"));
  EXPECT_EQ(OnDisk("b.txt"), "line\r\nmore");
  ASSERT_TRUE(Put(h, "!"));
  platform::FlushPendingWrites();
  EXPECT_EQ(OnDisk("b.txt"), "line\r\nmore!");
  EXPECT_TRUE(CloseHandle(h));
}

TEST_F(WriteBufferTest, LargeAndManyWritesKeepTheirOrder) {
  HANDLE h = Open("c.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    std::string line = std::to_string(i) + "\r\n";
    ASSERT_TRUE(Put(h, line));
    expected += line;
    if (i == 7000) {
      std::string big(200000, 'x');
      ASSERT_TRUE(Put(h, big));
      expected += big;
    }
  }
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(OnDisk("c.txt"), expected);
}

TEST_F(WriteBufferTest, AFailedDelayedWriteFailsTheClose) {
  HANDLE h = CreateFileA("Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
  if (h == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no /dev/full";
  EXPECT_TRUE(Put(h, "lost"));
  EXPECT_FALSE(CloseHandle(h));
  h = CreateFileA("Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(Put(h, "lost"));
  platform::FlushPendingWrites();
  // ...or the next write, when that comes first.
  EXPECT_FALSE(Put(h, "more"));
  CloseHandle(h);
}

} // namespace
