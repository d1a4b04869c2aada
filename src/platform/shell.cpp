// ShellExecuteA: executables start directly, everything else goes to the
// desktop's opener. The child is never waited for; a thread collects its
// exit status so that no zombie is left behind.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/confinement.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/shellapi.h"

extern char **environ;

namespace {

constexpr HINSTANCE kStarted = 42;
constexpr HINSTANCE kFileNotFound = 2;
constexpr HINSTANCE kNoAssociation = 31;

bool LooksLikeUrl(const std::string &text) {
  size_t colon = text.find("://");
  if (colon == std::string::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i)
    if (!std::isalnum(static_cast<unsigned char>(text[i])) && text[i] != '+' && text[i] != '-' &&
        text[i] != '.')
      return false;
  return true;
}

// Starts ARGV[0] (searched in PATH when SEARCH is set) in DIRECTORY, with
// stdin from /dev/null; false when it could not be started.
bool Spawn(const std::vector<std::string> &args, const std::string &directory, bool search) {
  if (platform::Confined()) return false;
  std::vector<char *> argv;
  std::vector<std::string> copies = args;
  for (std::string &a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own process group: a terminal's Ctrl+C for the engine does not reach it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = 0;
  int rc = search ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ)
                  : posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (rc != 0) return false;
  std::thread([pid] {
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

} // namespace

namespace platform {

std::vector<std::string> SplitCommandLine(const std::string &text) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = text.size();
  for (;;) {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= n) return args;
    std::string arg;
    bool inQuotes = false;
    while (i < n) {
      char c = text[i];
      if (!inQuotes && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        size_t count = 0;
        while (i < n && text[i] == '\\') ++count, ++i;
        if (i < n && text[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(count, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (inQuotes && i + 1 < n && text[i + 1] == '"') {
          arg += '"';
          i += 2;
          continue;
        }
        inQuotes = !inQuotes;
        ++i;
        continue;
      }
      arg += c;
      ++i;
    }
    args.push_back(arg);
  }
}

} // namespace platform

HINSTANCE ShellExecuteA(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR directory, int) {
  if (!file || !*file) return kFileNotFound;
  std::string dir = directory && *directory ? platform::ToUnixPath(directory) : "";
  std::string path = platform::ToUnixPath(file);
  struct stat st;
  bool exists = !path.empty() && ::stat(path.c_str(), &st) == 0;
  if (!exists) {
    if (!LooksLikeUrl(file)) return kFileNotFound;
    return Spawn({"xdg-open", cp932::ToUtf8(file)}, dir, true) ? kStarted : kNoAssociation;
  }
  if (S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0) {
    std::vector<std::string> args{path};
    for (const std::string &a : platform::SplitCommandLine(parameters ? parameters : ""))
      args.push_back(cp932::ToUtf8(a));
    return Spawn(args, dir, false) ? kStarted : kNoAssociation;
  }
  return Spawn({"xdg-open", path}, dir, true) ? kStarted : kNoAssociation;
}
