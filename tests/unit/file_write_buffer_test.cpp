// Disk writes are held back by the file handle and written in pieces; every
// way of looking at the file must still see them, in order, and a write
// that fails late must not pass for a success. Reads go ahead of the
// program; positions, seeks and writes must not notice.
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

// Bytes read one at a time across read-ahead refills, with position
// queries, single steps back, seeks and a large read over the buffer's end.
TEST_F(WriteBufferTest, ReadsAheadWithoutMovingTheProgramsPosition) {
  std::string text;
  for (int i = 0; text.size() < 50000; ++i) text += std::to_string(i) + "\r\n";
  std::ofstream(dir_ + "/r.txt", std::ios::binary) << text;
  HANDLE h = Open("r.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::string back;
  for (size_t i = 0; i < 20000; ++i) {
    char c;
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(h, &c, 1, &got, nullptr));
    ASSERT_EQ(got, 1u);
    back.push_back(c);
    if (i % 997 == 0) {
      ASSERT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), i + 1);
      // Step back and read the byte again.
      ASSERT_EQ(SetFilePointer(h, -1, nullptr, FILE_CURRENT), i);
      ASSERT_TRUE(ReadFile(h, &c, 1, &got, nullptr));
      ASSERT_EQ(c, text[i]);
    }
  }
  EXPECT_EQ(back, text.substr(0, 20000));
  std::string big(30000, '\0');
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(h, big.data(), 30000, &got, nullptr));
  EXPECT_EQ(big.substr(0, got), text.substr(20000, got));
  EXPECT_EQ(SetFilePointer(h, 5, nullptr, FILE_BEGIN), 5u);
  char c;
  ASSERT_TRUE(ReadFile(h, &c, 1, &got, nullptr));
  EXPECT_EQ(c, text[5]);
  EXPECT_EQ(SetFilePointer(h, 100, nullptr, FILE_CURRENT), 106u);
  ASSERT_TRUE(ReadFile(h, &c, 1, &got, nullptr));
  EXPECT_EQ(c, text[106]);
  EXPECT_EQ(GetFileSize(h, nullptr), text.size());
  EXPECT_TRUE(CloseHandle(h));
}

// A write after reads lands at the program's position, and bytes another
// handle writes are seen by the next read, not an old read-ahead.
TEST_F(WriteBufferTest, WritesAfterReadsAndThroughOtherHandles) {
  std::ofstream(dir_ + "/w.txt", std::ios::binary) << std::string(40000, 'a');
  HANDLE h = Open("w.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  OPEN_EXISTING);
  HANDLE other = Open("w.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  char buf[10];
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(h, buf, 10, &got, nullptr));
  ASSERT_TRUE(Put(h, "XY"));
  ASSERT_EQ(SetFilePointer(other, 12, nullptr, FILE_BEGIN), 12u);
  ASSERT_TRUE(Put(other, "Z"));
  ASSERT_TRUE(ReadFile(h, buf, 2, &got, nullptr));
  EXPECT_EQ(std::string(buf, got), "Za");
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 14u);
  EXPECT_TRUE(CloseHandle(other));
  EXPECT_TRUE(CloseHandle(h));
  std::string disk = OnDisk("w.txt");
  EXPECT_EQ(disk.substr(8, 8), "aaXYZaaa");
  EXPECT_EQ(disk.size(), 40000u);
}

} // namespace
