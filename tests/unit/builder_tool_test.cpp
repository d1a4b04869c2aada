// The quill tool's build, check and list commands, run as a real process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string output; // stdout and stderr together
};

Result RunQuill(const std::string &args) {
  std::string cmd = std::string(QUILL_BINARY_DIR) + "/quill " + args + " 2>&1";
  Result r{-1, {}};
  FILE *p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

class QuillTool : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists(std::string(QUILL_BINARY_DIR) + "/quill")) GTEST_SKIP() << "no quill binary";
    dir_ = fs::temp_directory_path() / ("quill_tool_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Write(const std::string &name, const std::string &text) {
    fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  fs::path dir_;
};

} // namespace

TEST_F(QuillTool, CheckReportsErrorsWithPlaceAndExitsOne) {
  std::string bad = Write("bad.bas", "PRINT 1\nGOTO *missing\n");
  Result r = RunQuill("check " + bad);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("bad.bas:2:6: error: unknown label *missing"), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("  GOTO *missing\n       ^\n"), std::string::npos) << r.output;
  std::string good = Write("good.bas", "PRINT 1\n");
  EXPECT_EQ(RunQuill("check " + good).status, 0);
}

TEST_F(QuillTool, ListsARawProgramText) {
  std::string text =
      Write("prog.txt", std::string("i=0\n\x10\x34 0000001di<3\ni=i+1\n\x10\x35 3\n"));
  Result r = RunQuill("list " + text);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "i=0\nWHILE i<3\n  i=i+1\nWEND\n");
}

TEST_F(QuillTool, BuildsAnImageThatListsBack) {
  if (!fs::exists(std::string(QUILL_BINARY_DIR) + "/quillrunner")) GTEST_SKIP() << "no engine";
  std::string src = Write("p.bas", "FOR i = 1 TO 2: PRINT i: NEXT\n");
  std::string prog = (dir_ / "p").string();
  Result b = RunQuill("build " + src + " -o " + prog + " --hidden");
  ASSERT_EQ(b.status, 0) << b.output;
  Result l = RunQuill("list " + prog);
  EXPECT_EQ(l.output, "FOR i=1 to 2 : PRINT i : NEXT i\n");
}
