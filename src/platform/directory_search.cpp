// FindFirstFileA / FindNextFileA over readdir. The whole directory is read
// and sorted at the first call, so a listing comes out in the same order on
// every machine whatever order the file system keeps.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <dirent.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <vector>

#include "platform/cp932.h"
#include "platform/fileapi.h"
#include "platform/paths.h"

namespace {

struct Search {
  std::vector<WIN32_FIND_DATAA> entries;
  size_t next = 0;
};

std::mutex gMutex;
std::map<HANDLE, Search> gSearches;
// Search handles live apart from file handles.
HANDLE gNextSearch = 0x40000000;

unsigned char Fold(unsigned char c) {
  return static_cast<unsigned char>(std::toupper(c));
}

// Length of the character at P: two bytes for a lead byte with a trail.
size_t CharLength(const std::string &s, size_t p) {
  return cp932::IsLeadByte(static_cast<uint8_t>(s[p])) && p + 1 < s.size() ? 2 : 1;
}

// Wildcard match of NAME against PATTERN ("*" any run, "?" one character),
// letters compared without case.
bool Matches(const std::string &pattern, const std::string &name) {
  size_t p = 0, n = 0;
  size_t starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    if (p < pattern.size()) {
      size_t pl = CharLength(pattern, p), nl = CharLength(name, n);
      bool same = false;
      if (pattern[p] == '?') {
        same = true;
        pl = 1;
      } else if (pl == nl) {
        same =
            pl == 1 ? Fold(pattern[p]) == Fold(name[n]) : pattern.compare(p, pl, name, n, nl) == 0;
      }
      if (same) {
        p += pl;
        n += nl;
        continue;
      }
    }
    if (starP == std::string::npos) return false;
    // Let the last "*" take one more character.
    starN += CharLength(name, starN);
    n = starN;
    p = starP;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

FILETIME ToFileTime(const timespec &t) {
  // 100-nanosecond intervals since 1601-01-01.
  uint64_t v = (static_cast<uint64_t>(t.tv_sec) + 11644473600ULL) * 10000000ULL +
               static_cast<uint64_t>(t.tv_nsec) / 100;
  return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

// "." and ".." first, then by name with letters folded, then by bytes.
bool NameLess(const WIN32_FIND_DATAA &a, const WIN32_FIND_DATAA &b) {
  auto rank = [](const char *n) {
    return !std::strcmp(n, ".") ? 0 : !std::strcmp(n, "..") ? 1 : 2;
  };
  int ra = rank(a.cFileName), rb = rank(b.cFileName);
  if (ra != rb) return ra < rb;
  std::string fa = a.cFileName, fb = b.cFileName;
  for (char &c : fa) c = static_cast<char>(Fold(c));
  for (char &c : fb) c = static_cast<char>(Fold(c));
  if (fa != fb) return fa < fb;
  return std::strcmp(a.cFileName, b.cFileName) < 0;
}

bool IsDriveRoot(const std::string &unixDir) {
  if (unixDir == "/") return true;
  std::string c = platform::DriveCDirectory();
  while (c.size() > 1 && c.back() == '/') c.pop_back();
  std::string d = unixDir;
  while (d.size() > 1 && d.back() == '/') d.pop_back();
  return d == c;
}

} // namespace

HANDLE FindFirstFileA(LPCSTR patternText, WIN32_FIND_DATAA *data) {
  if (!patternText || !data) return INVALID_HANDLE_VALUE;
  std::string pattern = patternText;
  size_t cut = pattern.find_last_of("\\/");
  std::string dir, namePattern;
  if (cut == std::string::npos) {
    // "C:*" searches the drive's root; "*" the process's directory.
    if (pattern.size() >= 2 && pattern[1] == ':') {
      dir = pattern.substr(0, 2);
      dir.push_back('\\');
      namePattern = pattern.substr(2);
    } else {
      namePattern = pattern;
    }
  } else {
    dir = pattern.substr(0, cut + 1);
    namePattern = pattern.substr(cut + 1);
  }
  if (namePattern.empty()) return INVALID_HANDLE_VALUE;
  if (namePattern == "*.*") namePattern.resize(1); // "*"
  std::string unixDir = dir.empty() ? std::string(".") : platform::ToUnixPath(dir);
  if (unixDir.empty()) return INVALID_HANDLE_VALUE;
  DIR *d = opendir(unixDir.c_str());
  if (!d) return INVALID_HANDLE_VALUE;
  bool root = IsDriveRoot(unixDir);
  Search search;
  while (dirent *e = readdir(d)) {
    std::string utf8 = e->d_name;
    bool dots = utf8 == "." || utf8 == "..";
    if (dots && root) continue;
    std::string name = cp932::FromUtf8(utf8);
    if (name.size() >= sizeof data->cFileName || !Matches(namePattern, name)) continue;
    std::string full = unixDir;
    if (full.back() != '/') full.push_back('/');
    full.append(utf8);
    struct stat st;
    if (stat(full.c_str(), &st) != 0 && lstat(full.c_str(), &st) != 0) continue;
    WIN32_FIND_DATAA f;
    if (S_ISDIR(st.st_mode)) {
      f.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    } else {
      f.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
      if (!(st.st_mode & S_IWUSR)) f.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
      f.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
      f.nFileSizeLow = static_cast<DWORD>(st.st_size);
    }
    if (!dots && name[0] == '.') f.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    f.ftCreationTime = ToFileTime(st.st_ctim);
    f.ftLastAccessTime = ToFileTime(st.st_atim);
    f.ftLastWriteTime = ToFileTime(st.st_mtim);
    std::memcpy(f.cFileName, name.c_str(), name.size() + 1);
    search.entries.push_back(f);
  }
  closedir(d);
  if (search.entries.empty()) return INVALID_HANDLE_VALUE;
  std::sort(search.entries.begin(), search.entries.end(), NameLess);
  *data = search.entries[0];
  search.next = 1;
  std::lock_guard<std::mutex> guard(gMutex);
  HANDLE h;
  do {
    h = gNextSearch;
    gNextSearch = gNextSearch >= 0x7FFFFFF0 ? 0x40000000 : gNextSearch + 4;
  } while (gSearches.contains(h));
  gSearches[h] = std::move(search);
  return h;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *data) {
  if (!data) return FALSE;
  std::lock_guard<std::mutex> guard(gMutex);
  auto it = gSearches.find(handle);
  if (it == gSearches.end() || it->second.next >= it->second.entries.size()) return FALSE;
  *data = it->second.entries[it->second.next++];
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  std::lock_guard<std::mutex> guard(gMutex);
  return gSearches.erase(handle) ? TRUE : FALSE;
}
