// The registry as a per-user settings file (see docs/settings.md): sections
// named by full key paths, "name=value" lines, UTF-8. Each RegOpenKeyExA
// reads the file afresh and the key handle keeps a copy of its values.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <pwd.h>
#include <string>
#include <unistd.h>

#include "platform/cp932.h"
#include "platform/platform.h"
#include "platform/win32.h"

namespace {

// Key paths and value names are compared without regard to ASCII case.
std::string Fold(std::string_view text) {
  std::string out(text);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\r')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
  return std::string(text.substr(b, e - b));
}

// "a\\b\" -> "a\b": no empty components, so "Software\\X" and "Software\X\"
// name the same key.
std::string NormalizeKey(std::string_view path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

struct OpenKey {
  std::string path;                          // folded, normalized, starting with the root's name
  std::map<std::string, std::string> values; // folded name -> code page 932 text
};

struct Registry {
  std::mutex mutex;
  std::map<HKEY, OpenKey> keys;
  HKEY last = 0x100;
};

Registry &R() {
  static auto *r = new Registry;
  return *r;
}

const char *RootName(HKEY key) {
  switch (key) {
  case HKEY_CURRENT_USER:
    return "hkey_current_user";
  default:
    return nullptr;
  }
}

// Reads the values of the section named PATH (folded); false when the file
// or the section is missing.
bool LoadSection(const std::string &path, std::map<std::string, std::string> &values) {
  std::ifstream in(platform::SettingsFilePath(), std::ios::binary);
  if (!in) return false;
  bool found = false, inSection = false;
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    if (first && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    first = false;
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      size_t close = t.rfind(']');
      std::string name = close == std::string::npos ? t.substr(1) : t.substr(1, close - 1);
      inSection = Fold(NormalizeKey(Trim(name))) == path;
      found = found || inSection;
      continue;
    }
    if (!inSection) continue;
    size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    std::string name = Trim(std::string_view(t).substr(0, eq));
    if (name == "@") name.clear(); // the key's default value
    values[Fold(name)] = cp932::FromUtf8(Trim(std::string_view(t).substr(eq + 1)));
  }
  return found;
}

} // namespace

namespace platform {

std::string SettingsFilePath() {
  if (const char *f = std::getenv("QUILLRUNNER_SETTINGS"); f && *f) return f;
  if (const char *x = std::getenv("XDG_CONFIG_HOME"); x && x[0] == '/')
    return std::string(x) + "/quillrunner/settings.ini";
  std::string home;
  if (const char *h = std::getenv("HOME"); h && *h) {
    home = h;
  } else if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_dir) {
    home = pw->pw_dir;
  }
  return home + "/.config/quillrunner/settings.ini";
}

} // namespace platform

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, DWORD, HKEY *result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = 0;
  Registry &r = R();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::string base;
  if (const char *root = RootName(key)) {
    base = root;
  } else if (auto it = r.keys.find(key); it != r.keys.end()) {
    base = it->second.path;
  } else {
    return ERROR_INVALID_HANDLE;
  }
  // The file is UTF-8; the key path comes in code page 932.
  std::string sub = NormalizeKey(cp932::ToUtf8(subKey ? subKey : ""));
  std::string path = sub.empty() ? base : base + "\\" + Fold(sub);
  OpenKey open;
  open.path = path;
  if (!LoadSection(path, open.values)) return ERROR_FILE_NOT_FOUND;
  do {
    r.last += 4;
    if (r.last >= 0x70000000) r.last = 0x104;
  } while (r.keys.contains(r.last));
  r.keys.emplace(r.last, std::move(open));
  *result = r.last;
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD *, DWORD *type, BYTE *data,
                      DWORD *dataSize) {
  Registry &r = R();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.keys.find(key);
  if (it == r.keys.end()) return ERROR_INVALID_HANDLE;
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  auto v = it->second.values.find(Fold(cp932::ToUtf8(valueName ? valueName : "")));
  if (v == it->second.values.end()) return ERROR_FILE_NOT_FOUND;
  if (type) *type = REG_SZ;
  auto needed = static_cast<DWORD>(v->second.size() + 1);
  if (!data) {
    if (dataSize) *dataSize = needed;
    return ERROR_SUCCESS;
  }
  if (*dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, v->second.c_str(), needed);
  *dataSize = needed;
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  if (RootName(key)) return ERROR_SUCCESS;
  Registry &r = R();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.keys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
