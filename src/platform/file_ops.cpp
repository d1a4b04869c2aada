// Copying, renaming, deleting files and creating directories behind
// Windows paths. Copies go through CreateFileA so that the sharing rules
// among this process's handles apply to them as well.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/cp932.h"
#include "platform/file_handles.h"
#include "platform/fileapi.h"
#include "platform/paths.h"

namespace {

bool StatOf(const std::string &path, struct stat &st) {
  return !path.empty() && lstat(path.c_str(), &st) == 0;
}

// The last component of a Windows path, as UTF-8.
std::string LastComponent(const std::string &windowsPath) {
  size_t cut = windowsPath.find_last_of("\\/:");
  std::string name = cut == std::string::npos ? windowsPath : windowsPath.substr(cut + 1);
  return cp932::ToUtf8(name);
}

} // namespace

BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  if (!existing || !target) return FALSE;
  HANDLE in = CreateFileA(existing, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, 0);
  if (in == INVALID_HANDLE_VALUE) return FALSE;
  HANDLE out = CreateFileA(target, GENERIC_WRITE, 0, nullptr,
                           failIfExists ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
  if (out == INVALID_HANDLE_VALUE) {
    CloseHandle(in);
    return FALSE;
  }
  std::vector<char> buffer(65536);
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(out, buffer.data(), got, &written, nullptr) || written != got) {
      ok = false;
      break;
    }
  }
  // The copy keeps the source's last-write time and permission bits.
  int inFd = platform::HandleDescriptor(in), outFd = platform::HandleDescriptor(out);
  struct stat st;
  if (ok && inFd >= 0 && outFd >= 0 && fstat(inFd, &st) == 0) {
    timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(outFd, times);
    fchmod(outFd, st.st_mode & 07777);
  }
  CloseHandle(in);
  CloseHandle(out);
  return ok ? TRUE : FALSE;
}

BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
  if (!existing || !target) return FALSE;
  std::string from = platform::ToUnixPath(existing);
  std::string to = platform::ToUnixPath(target);
  struct stat a, b;
  if (!StatOf(from, a) || to.empty()) return FALSE;
  if (platform::FileOpenByHandle(from)) return FALSE;
  if (StatOf(to, b)) {
    if (a.st_dev == b.st_dev && a.st_ino == b.st_ino) {
      // The same file: at most the letter case changes, to the spelling
      // given.
      size_t slash = to.find_last_of('/');
      std::string name = LastComponent(target);
      if (name.empty() || name == "." || name == "..") return FALSE;
      to = (slash == std::string::npos ? std::string() : to.substr(0, slash + 1)) + name;
      return rename(from.c_str(), to.c_str()) == 0 ? TRUE : FALSE;
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING) || S_ISDIR(b.st_mode) || S_ISDIR(a.st_mode) ||
        platform::FileOpenByHandle(to))
      return FALSE;
    // rename replaces the target in one step: no moment without either.
    if (rename(from.c_str(), to.c_str()) == 0) return TRUE;
  } else if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return TRUE;
  }
  // Across file systems a file is copied and the original removed.
  if (errno != EXDEV || S_ISDIR(a.st_mode)) return FALSE;
  if (!CopyFileA(existing, target, (flags & MOVEFILE_REPLACE_EXISTING) ? FALSE : TRUE))
    return FALSE;
  return unlink(from.c_str()) == 0 ? TRUE : FALSE;
}

BOOL MoveFileA(LPCSTR existing, LPCSTR target) {
  return MoveFileExA(existing, target, 0);
}

BOOL DeleteFileA(LPCSTR path) {
  if (!path) return FALSE;
  std::string p = platform::ToUnixPath(path);
  struct stat st;
  if (!StatOf(p, st) || S_ISDIR(st.st_mode)) return FALSE;
  if (platform::FileOpenByHandle(p)) return FALSE;
  return unlink(p.c_str()) == 0 ? TRUE : FALSE;
}

BOOL CreateDirectoryA(LPCSTR path, void *) {
  if (!path) return FALSE;
  std::string p = platform::ToUnixPath(path);
  if (p.empty()) return FALSE;
  return mkdir(p.c_str(), 0777) == 0 ? TRUE : FALSE;
}
