#include "platform/environment.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/cp932.h"

namespace {

// getenv and setenv are not safe against each other across threads.
std::mutex &EnvironmentMutex() {
  static auto *m = new std::mutex;
  return *m;
}

} // namespace

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
  if (!name) return 0;
  std::string value;
  {
    std::lock_guard<std::mutex> lock(EnvironmentMutex());
    const char *found = std::getenv(cp932::ToUtf8(name).c_str());
    if (!found) return 0;
    value = cp932::FromUtf8(found);
  }
  if (!buffer || value.size() >= size) return static_cast<DWORD>(value.size() + 1);
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  return static_cast<DWORD>(value.size());
}

BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
  if (!name || !*name || std::strchr(name, '=')) return FALSE;
  std::string key = cp932::ToUtf8(name);
  std::lock_guard<std::mutex> lock(EnvironmentMutex());
  int rc = value ? setenv(key.c_str(), cp932::ToUtf8(value).c_str(), 1) : unsetenv(key.c_str());
  return rc == 0 ? TRUE : FALSE;
}
