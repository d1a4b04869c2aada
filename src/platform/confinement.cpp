// Confinement of untrusted programs to one directory tree. Paths are
// checked as the kernel resolves them: component by component, following
// symbolic links of the components that exist, so that neither ".." nor a
// link leads out of the root.
#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/stat.h>

#include "platform/confinement.h"
#include "platform/platform.h"

namespace platform {
namespace {

std::mutex gMutex;
std::string gRoot; // real path of the root; empty when unconfined

std::string RealPath(const std::string &path) {
  char buffer[PATH_MAX];
  if (!::realpath(path.c_str(), buffer)) return {};
  return buffer;
}

bool Under(const std::string &path, const std::string &root) {
  if (root == "/") return true;
  return path.compare(0, root.size(), root) == 0 &&
         (path.size() == root.size() || path[root.size()] == '/');
}

// PATH made absolute with every existing component's links resolved.
std::string Resolve(const std::string &path) {
  std::string result = path.empty() || path[0] != '/' ? CurrentDirectory() : "/";
  if (result.empty()) return {};
  bool exists = true;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string name = path.substr(start, slash - start);
    start = slash + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      size_t last = result.find_last_of('/');
      result.erase(last == 0 ? 1 : last);
      continue;
    }
    result += (result.back() == '/' ? "" : "/") + name;
    if (!exists) continue;
    struct stat st;
    if (::lstat(result.c_str(), &st) != 0) {
      // Beyond a missing component the kernel finds nothing either; the
      // rest is taken as written.
      exists = false;
      continue;
    }
    if (S_ISLNK(st.st_mode)) {
      result = RealPath(result);
      // A dangling link: creating through it would write where it points.
      if (result.empty()) return {};
    }
  }
  return result;
}

} // namespace

bool ConfineTo(const std::string &root) {
  if (root.empty()) {
    std::lock_guard<std::mutex> lock(gMutex);
    gRoot.clear();
    return true;
  }
  std::string real = RealPath(root);
  if (real.empty()) return false;
  std::lock_guard<std::mutex> lock(gMutex);
  gRoot = real;
  return true;
}

bool Confined() {
  std::lock_guard<std::mutex> lock(gMutex);
  return !gRoot.empty();
}

bool PathInsideConfinement(const std::string &path) {
  std::string root;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    root = gRoot;
  }
  if (root.empty()) return true;
  std::string resolved = Resolve(path);
  return !resolved.empty() && Under(resolved, root);
}

} // namespace platform
