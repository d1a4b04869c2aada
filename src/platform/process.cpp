// Process and file services for the tool: run bits, own path, temporary
// directories and running a built program.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/confinement.h"
#include "platform/platform.h"

extern char **environ;

namespace platform {
namespace {

constexpr const char *kStartDirVariable = "QUILLRUNNER_START_DIR";

int RemoveEntry(const char *path, const struct stat *, int, struct FTW *) {
  ::remove(path);
  return 0;
}

volatile sig_atomic_t gChild = 0;

void ForwardSignal(int sig) {
  if (gChild > 0) ::kill(static_cast<pid_t>(gChild), sig);
}

} // namespace

void WriteErrorLine(const std::string &utf8) {
  std::string line = utf8 + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void MakeExecutable(const std::string &path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return;
  mode_t mode = st.st_mode & 07777;
  // Execute for whoever may read it.
  if (mode & S_IRUSR) mode |= S_IXUSR;
  if (mode & S_IRGRP) mode |= S_IXGRP;
  if (mode & S_IROTH) mode |= S_IXOTH;
  ::chmod(path.c_str(), mode);
}

std::string SelfExecutablePath() {
  std::string buffer(256, '\0');
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<size_t>(n));
      break;
    }
    if (buffer.size() > 65536) return {};
    buffer.resize(buffer.size() * 2);
  }
  // A file replaced or removed while running is reported with this suffix.
  const std::string deleted = " (deleted)";
  if (buffer.size() > deleted.size() && buffer.ends_with(deleted))
    buffer.resize(buffer.size() - deleted.size());
  return buffer;
}

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size())) {
      buffer.resize(std::strlen(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE || buffer.size() > 65536) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string MakeTempDirectory() {
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quill-XXXXXX";
  if (!::mkdtemp(pattern.data())) return {};
  return pattern;
}

void RemoveTree(const std::string &path) {
  if (path.empty() || path == "/") return;
  ::nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

int RunProcess(const std::string &path, const std::vector<std::string> &args,
               const std::string &startDir) {
  if (Confined()) return 127;
  std::vector<std::string> envStrings;
  const std::string prefix = std::string(kStartDirVariable) + "=";
  for (char **e = environ; e && *e; ++e)
    if (std::strncmp(*e, prefix.c_str(), prefix.size()) != 0) envStrings.emplace_back(*e);
  envStrings.push_back(prefix + startDir);

  std::vector<char *> envp;
  for (auto &e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings;
  argStrings.push_back(path);
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (auto &a : argStrings) argv.push_back(a.data());
  argv.push_back(nullptr);

  FlushPendingWrites();
  pid_t pid;
  if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
    return 127;
  // While the program runs, the tool passes SIGTERM on to it and leaves
  // Ctrl-C to it (the terminal sends SIGINT to both), so that the program
  // ends in its own way and the tool reports its status and cleans up.
  gChild = pid;
  struct sigaction forward = {}, ignore = {}, oldTerm, oldInt;
  forward.sa_handler = ForwardSignal;
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGTERM, &forward, &oldTerm);
  ::sigaction(SIGINT, &ignore, &oldInt);
  int status = 0;
  int waited;
  while ((waited = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
  }
  ::sigaction(SIGTERM, &oldTerm, nullptr);
  ::sigaction(SIGINT, &oldInt, nullptr);
  gChild = 0;
  if (waited < 0) return 127;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 127;
}

std::string StartDirectoryOverride() {
  const char *dir = std::getenv(kStartDirVariable);
  return dir ? dir : "";
}

} // namespace platform
