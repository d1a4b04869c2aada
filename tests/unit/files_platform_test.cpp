// The file services under Windows names: directory searches in name order,
// copy, rename and delete with the rules Windows applies to open files, and
// FILES listing a directory through a real run.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/fileapi.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

class FilePlatformTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = platform::MakeTempDirectory();
    ASSERT_FALSE(dir_.empty());
    win_ = platform::ToWindowsPath(dir_) + "\\";
  }
  void TearDown() override { platform::RemoveTree(dir_); }
  void Write(const std::string &name, const std::string &bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string &name) {
    std::ifstream in(dir_ + "/" + name, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string W(const std::string &name) { return win_ + name; }
  // Names (with "/" after directories) that PATTERN finds, in order.
  std::vector<std::string> Find(const std::string &pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA(W(pattern).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      std::string n = d.cFileName;
      if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) n += "/";
      names.push_back(n);
    } while (FindNextFileA(h, &d));
    EXPECT_TRUE(FindClose(h));
    EXPECT_FALSE(FindClose(h));
    return names;
  }

  std::string dir_, win_;
};

TEST_F(FilePlatformTest, SearchesComeInNameOrderWithWildcards) {
  for (const char *n : {"b.txt", "A.txt", "c.dat", "a2.txt", ".hidden"}) Write(n, "x");
  mkdir((dir_ + "/Zdir").c_str(), 0777);
  mkdir((dir_ + "/adir").c_str(), 0777);
  std::vector<std::string> all = {"./",    "../",   ".hidden", "A.txt", "a2.txt",
                                  "adir/", "b.txt", "c.dat",   "Zdir/"};
  EXPECT_EQ(Find("*"), all);
  EXPECT_EQ(Find("*.*"), all);
  EXPECT_EQ(Find("*.TXT"), (std::vector<std::string>{"A.txt", "a2.txt", "b.txt"}));
  EXPECT_EQ(Find("?.txt"), (std::vector<std::string>{"A.txt", "b.txt"}));
  EXPECT_EQ(Find("a*"), (std::vector<std::string>{"A.txt", "a2.txt", "adir/"}));
  EXPECT_EQ(Find("nothing*"), std::vector<std::string>{});
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA(W(".hidden").c_str(), &d);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(d.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(d.nFileSizeLow, 1u);
  FindClose(h);
  h = FindFirstFileA(W("ADIR").c_str(), &d);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(d.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_STREQ(d.cFileName, "adir");
  FindClose(h);
}

TEST_F(FilePlatformTest, CopyKeepsOrReplacesTheTarget) {
  Write("a", "AAA");
  Write("b", "B");
  EXPECT_FALSE(CopyFileA(W("a").c_str(), W("b").c_str(), TRUE));
  EXPECT_EQ(Read("b"), "B");
  EXPECT_TRUE(CopyFileA(W("a").c_str(), W("b").c_str(), FALSE));
  EXPECT_EQ(Read("b"), "AAA");
  EXPECT_FALSE(CopyFileA(W("a").c_str(), W("A").c_str(), FALSE)) << "onto itself";
  EXPECT_EQ(Read("a"), "AAA");
  EXPECT_FALSE(CopyFileA(W("missing").c_str(), W("c").c_str(), FALSE));
  EXPECT_EQ(Read("c"), "<missing>");
}

TEST_F(FilePlatformTest, RenameRulesProtectExistingFiles) {
  Write("old", "O");
  Write("new", "N");
  EXPECT_FALSE(MoveFileA(W("old").c_str(), W("new").c_str()));
  EXPECT_EQ(Read("new"), "N");
  EXPECT_TRUE(MoveFileExA(W("old").c_str(), W("new").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Read("new"), "O");
  EXPECT_EQ(Read("old"), "<missing>");
  // A missing source never costs the target; the same file stays.
  EXPECT_FALSE(MoveFileExA(W("old").c_str(), W("new").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Read("new"), "O");
  EXPECT_TRUE(MoveFileExA(W("new").c_str(), W("NEW").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Read("NEW"), "O");
  EXPECT_EQ(Read("new"), "<missing>");
  EXPECT_TRUE(MoveFileA(W("NEW").c_str(), W("moved").c_str()));
  EXPECT_EQ(Read("moved"), "O");
}

TEST_F(FilePlatformTest, OpenFilesCannotBeDeletedOrRenamed) {
  Write("f", "F");
  HANDLE h = CreateFileA(W("f").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, 0);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA(W("F").c_str()));
  EXPECT_FALSE(MoveFileA(W("f").c_str(), W("g").c_str()));
  EXPECT_FALSE(CopyFileA(W("f").c_str(), W("g").c_str(), FALSE)) << "no sharing";
  CloseHandle(h);
  EXPECT_TRUE(DeleteFileA(W("F").c_str()));
  EXPECT_FALSE(DeleteFileA(W("f").c_str()));
  EXPECT_TRUE(CreateDirectoryA(W("d").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(W("d").c_str(), nullptr));
  EXPECT_FALSE(DeleteFileA(W("d").c_str())) << "a directory is no file";
}

// FILES prints the directory, then directories in angle brackets, then
// files, N to a line; the last line ends only when it is full.
TEST_F(FilePlatformTest, FilesListsDirectoriesFirstNToALine) {
  std::string list = dir_ + "/list";
  mkdir(list.c_str(), 0777);
  for (const char *n : {"d1", "D2"}) mkdir((list + "/" + n).c_str(), 0777);
  for (const char *n : {"e.txt", "a.txt", "C.txt", "b.txt"}) Write(std::string("list/") + n, "");
  Write("files.bas", "FILES \"list\", 3\nPRINT \"|\"\nFILES \"list\\\"\nFILES \"list\\d1\", 2\n"
                     "FILES \"list\\nothing\"\n");
  testsupport::RunResult r = testsupport::RunCommand("sh -c \"cd '" + dir_ + "' && exec '" +
                                                     QUILL_BINARY_DIR + "/quill' run files.bas\"");
  EXPECT_EQ(r.status, 0) << r.err;
  std::string listDir = win_ + "\\list\\";
  EXPECT_EQ(r.out, listDir + "\n<d1> <D2> a.txt\nb.txt C.txt e.txt\n|\n" + listDir +
                       "\n<d1>\n<D2>\na.txt\nb.txt\nC.txt\ne.txt\n" + listDir + "d1\\\n" + listDir +
                       "nothing\\\n");
}

} // namespace
