#include "platform/paths.h"

#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

#include "platform/confinement.h"
#include "platform/cp932.h"
#include "platform/platform.h"

namespace platform {

namespace {

bool Exists(const std::string &path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// Finds NAME in DIR without regard to case; NAME itself when nothing matches.
std::string MatchComponent(const std::string &dir, const std::string &name) {
  std::string full = dir.empty() ? name : (dir == "/" ? "/" + name : dir + "/" + name);
  if (name == "." || name == ".." || Exists(full)) return name;
  DIR *d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string found = name;
  std::vector<std::string> candidates;
  while (dirent *e = readdir(d)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) candidates.push_back(e->d_name);
  }
  closedir(d);
  // Several spellings can differ only in case on Linux; take the first in
  // byte order so the choice does not depend on directory order.
  for (const auto &c : candidates)
    if (found == name || c < found) found = c;
  return found;
}

} // namespace

std::string DriveCDirectory() {
  if (const char *d = std::getenv("QUILLRUNNER_DRIVE_C"); d && *d) return d;
  if (const char *x = std::getenv("XDG_DATA_HOME"); x && *x)
    return std::string(x) + "/quillrunner/drive_c";
  const char *home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share/quillrunner/drive_c";
}

std::string ToWindowsPath(const std::string &unixPath) {
  std::string out;
  std::string driveC = DriveCDirectory();
  std::string rest = unixPath;
  if (!driveC.empty() && unixPath.compare(0, driveC.size(), driveC) == 0 &&
      (unixPath.size() == driveC.size() || unixPath[driveC.size()] == '/')) {
    out = "C:";
    rest = unixPath.substr(driveC.size());
    if (rest.empty()) rest = "/";
  } else if (!unixPath.empty() && unixPath[0] == '/') {
    out = "Z:";
  }
  for (char c : rest) out.push_back(c == '/' ? '\\' : c);
  return cp932::FromUtf8(out);
}

std::string ToUnixPath(const std::string &windowsPath) {
  // Whatever is done with the file by name sees what the program wrote.
  FlushPendingWrites();
  std::string path = cp932::ToUtf8(windowsPath);
  for (char &c : path)
    if (c == '\\') c = '/';
  std::string base;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    path = path.substr(2);
    if (drive == 'Z') {
      base = "/";
    } else if (drive == 'C') {
      base = DriveCDirectory();
    } else {
      return {};
    }
    // "C:name" is taken relative to the drive's root.
    if (!path.empty() && path[0] == '/') path = path.substr(1);
  } else if (!path.empty() && path[0] == '/') {
    base = "/";
    path = path.substr(1);
  }
  std::string result = base;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string name = path.substr(start, slash - start);
    if (!name.empty()) {
      name = MatchComponent(result, name);
      if (!result.empty() && result.back() != '/') result += '/';
      result += name;
    }
    start = slash + 1;
  }
  if (result.empty()) result = ".";
  // A confined program reaches nothing outside its root.
  if (!PathInsideConfinement(result)) return {};
  return result;
}

} // namespace platform
