#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

#include "runtime/program_image.h"

namespace testsupport {

std::string TempDir(const std::string &name) {
  // Each test runs as its own process, several at once: the directory names
  // the process, so that two tests of one fixture never share it.
  std::filesystem::path dir = std::filesystem::path(QUILL_BINARY_DIR) / "test-tmp" /
                              (name + "-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::string ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Pack(const std::string &program, const std::string &path, unsigned char showFlag) {
  image::Payload p;
  p.faceName = image::kDefaultFaceName;
  p.fontNumbers = image::kDefaultFontNumbers;
  p.showFlag = showFlag;
  p.program = program;
  std::string error;
  return image::WriteProgramImage(std::string(QUILL_BINARY_DIR) + "/quillrunner", path, p, error);
}

RunResult RunCommand(const std::string &command, const std::string &input, int seconds) {
  static int counter = 0;
  std::string dir = TempDir("run-" + std::to_string(++counter));
  std::ofstream(dir + "/in", std::ios::binary) << input;
  std::string cmd = "cd '" + dir + "' && QUILLRUNNER_BACKEND=headless timeout -s KILL " +
                    std::to_string(seconds) + " " + command + " <in >out 2>err";
  int raw = std::system(cmd.c_str());
  RunResult r;
  if (WIFEXITED(raw)) {
    r.status = WEXITSTATUS(raw);
    if (r.status == 137) r.status = 124; // killed by timeout
  } else if (WIFSIGNALED(raw)) {
    r.status = 128 + WTERMSIG(raw);
  }
  r.out = ReadAll(dir + "/out");
  r.err = ReadAll(dir + "/err");
  std::filesystem::remove_all(dir);
  return r;
}

std::string CommandOutput(const std::string &command) {
  std::string out;
  FILE *p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

RunResult RunProgram(const std::string &program, const std::string &name) {
  std::string dir = TempDir("prog-" + name);
  std::string path = dir + "/" + name;
  if (!Pack(program, path)) return RunResult{};
  RunResult r = RunCommand("'" + path + "'");
  std::filesystem::remove_all(dir);
  return r;
}

std::string Stmt(unsigned code, const std::string &arg) {
  std::string s;
  s.push_back(static_cast<char>(code >> 8));
  s.push_back(static_cast<char>(code & 0xFF));
  if (!arg.empty()) s += " " + arg;
  return s;
}

std::string Ctl(unsigned char code) {
  return std::string("\x01", 1) + static_cast<char>(code);
}

std::string Pos(unsigned position) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", position);
  return buf;
}

} // namespace testsupport
