// Win32 file handles over POSIX descriptors. The sharing modes are enforced
// among this process's own handles, as CreateFileA does on Windows.
//
// Writes to disk files are collected per handle and written in large
// pieces. Everything that could see the file's contents writes them out
// first: any other call on the handle, a read or write through another
// handle of the same file, opening any file, resolving any path (every
// access by name starts there), starting a process, closing, and
// FlushPendingWrites (runtime errors, program end). A failed delayed write
// makes the next WriteFile or the CloseHandle fail.
//
// Reads from regular files are served from a read-ahead buffer per handle,
// so a program reading a field byte by byte does not make a system call
// per byte. The same events drop it (the descriptor is moved back to the
// program's position), and so does a write through any handle of the file;
// a seek or a position query that stays inside it only moves within it.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/commapi.h"
#include "platform/confinement.h"
#include "platform/file_handles.h"
#include "platform/fileapi.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {

struct OpenFile {
  int fd = -1;
  DWORD access = 0;
  DWORD share = 0;
  dev_t dev = 0;
  ino_t ino = 0;
  bool comm = false;    // a serial port
  std::string pending;  // written by the program, not yet by the system
  bool failed = false;  // a delayed write failed
  bool regular = false; // a regular file: reads may go ahead of the program
  std::string ahead;    // read from the file, not yet by the program
  size_t aheadAt = 0;   // the program's position in `ahead`
  off_t aheadBase = 0;  // the file offset of ahead[0]
};

// Pending bytes beyond this are written at once.
constexpr size_t kWriteBuffer = 64 * 1024;
// Bytes read ahead at a time; larger reads go straight to the caller.
constexpr size_t kReadAhead = 16 * 1024;

std::mutex gMutex;
std::map<HANDLE, OpenFile> gFiles;
HANDLE gNextHandle = 0x100;

bool SharingConflicts(const OpenFile &a, DWORD access, DWORD share) {
  if ((access & GENERIC_READ) && !(a.share & FILE_SHARE_READ)) return true;
  if ((access & GENERIC_WRITE) && !(a.share & FILE_SHARE_WRITE)) return true;
  if ((a.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
  if ((a.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
  return false;
}

// Writes F's pending bytes; caller holds gMutex.
void FlushLocked(OpenFile &f) {
  size_t done = 0;
  while (done < f.pending.size()) {
    ssize_t n = ::write(f.fd, f.pending.data() + done, f.pending.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      f.failed = true;
      break;
    }
    done += static_cast<size_t>(n);
  }
  f.pending.clear();
}

bool SameFile(const OpenFile &a, const OpenFile &b) {
  return a.dev == b.dev && a.ino == b.ino;
}

// Forgets F's read-ahead, moving the descriptor back to the program's
// position; caller holds gMutex.
void DropAheadLocked(OpenFile &f) {
  if (f.ahead.empty()) return;
  lseek(f.fd, f.aheadBase + static_cast<off_t>(f.aheadAt), SEEK_SET);
  f.ahead.clear();
  f.aheadAt = 0;
}

// Leaves F's descriptor at the program's position with the file holding
// everything written: pending bytes out, read-ahead dropped.
void SettleLocked(OpenFile &f) {
  if (!f.pending.empty()) FlushLocked(f);
  DropAheadLocked(f);
}

void FlushAllLocked() {
  for (auto &[h, f] : gFiles) SettleLocked(f);
}

// The descriptor of H, settled; -1 when not open.
int FlushedFd(HANDLE h, bool *comm = nullptr) {
  std::lock_guard<std::mutex> guard(gMutex);
  auto it = gFiles.find(h);
  if (comm) *comm = it != gFiles.end() && it->second.comm;
  if (it == gFiles.end()) return -1;
  SettleLocked(it->second);
  return it->second.fd;
}

// Reads up to N bytes of regular file F at the program's position; the
// result of read(2). Caller holds gMutex; F has nothing pending.
ssize_t ReadAheadLocked(OpenFile &f, char *out, size_t n) {
  size_t done = 0;
  if (f.aheadAt < f.ahead.size()) {
    done = std::min(n, f.ahead.size() - f.aheadAt);
    std::memcpy(out, f.ahead.data() + f.aheadAt, done);
    f.aheadAt += done;
    if (done == n) return static_cast<ssize_t>(done);
  }
  // The buffer is used up: the descriptor stands at its end, where the
  // program is.
  f.ahead.clear();
  f.aheadAt = 0;
  ssize_t r;
  if (n - done >= kReadAhead) {
    do r = ::read(f.fd, out + done, n - done);
    while (r < 0 && errno == EINTR);
    if (r < 0) return done ? static_cast<ssize_t>(done) : -1;
    return static_cast<ssize_t>(done) + r;
  }
  off_t base = lseek(f.fd, 0, SEEK_CUR);
  if (base < 0) return done ? static_cast<ssize_t>(done) : -1;
  f.ahead.resize(kReadAhead);
  do r = ::read(f.fd, f.ahead.data(), kReadAhead);
  while (r < 0 && errno == EINTR);
  if (r <= 0) {
    f.ahead.clear();
    if (r < 0) return done ? static_cast<ssize_t>(done) : -1;
    return static_cast<ssize_t>(done);
  }
  f.ahead.resize(static_cast<size_t>(r));
  f.aheadBase = base;
  size_t more = std::min(n - done, f.ahead.size());
  std::memcpy(out + done, f.ahead.data(), more);
  f.aheadAt = more;
  return static_cast<ssize_t>(done + more);
}

HANDLE AddHandle(const OpenFile &f) {
  HANDLE h = gNextHandle;
  gNextHandle += 4;
  if (gNextHandle >= 0x7FFFFFF0) gNextHandle = 0x100;
  gFiles[h] = f;
  return h;
}

// A serial port: opened without waiting for the carrier and never shared,
// as Windows gives a port to one handle at a time.
HANDLE OpenCommDevice(const std::string &device, DWORD access) {
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
    flags |= O_RDWR;
  else if (access & GENERIC_WRITE)
    flags |= O_WRONLY;
  else
    flags |= O_RDONLY;
  if (platform::Confined()) return INVALID_HANDLE_VALUE;
  HANDLE h;
  int fd;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    struct stat st;
    if (stat(device.c_str(), &st) != 0) return INVALID_HANDLE_VALUE;
    for (const auto &[other, f] : gFiles)
      if (f.dev == st.st_dev && f.ino == st.st_ino) return INVALID_HANDLE_VALUE;
    fd = open(device.c_str(), flags);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    if (!isatty(fd)) {
      close(fd);
      return INVALID_HANDLE_VALUE;
    }
    fstat(fd, &st);
    OpenFile f;
    f.fd = fd;
    f.access = access;
    f.dev = st.st_dev;
    f.ino = st.st_ino;
    f.comm = true;
    h = AddHandle(f);
  }
  platform::CommOpened(h, fd);
  return h;
}

} // namespace

namespace platform {

int HandleDescriptor(HANDLE handle, bool *comm) {
  return FlushedFd(handle, comm);
}

void FlushPendingWrites() {
  std::lock_guard<std::mutex> guard(gMutex);
  FlushAllLocked();
}

bool FileOpenByHandle(const std::string &unixPath) {
  struct stat st;
  if (stat(unixPath.c_str(), &st) != 0) return false;
  std::lock_guard<std::mutex> guard(gMutex);
  for (const auto &[h, f] : gFiles)
    if (f.dev == st.st_dev && f.ino == st.st_ino) return true;
  return false;
}

} // namespace platform

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void *, DWORD disposition, DWORD,
                   HANDLE) {
  if (!path) return INVALID_HANDLE_VALUE;
  if (std::string device = platform::CommDevicePath(path); !device.empty())
    return OpenCommDevice(device, access);
  std::string unixPath = platform::ToUnixPath(path);
  if (unixPath.empty()) return INVALID_HANDLE_VALUE;
  int flags = O_CLOEXEC;
  if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
    flags |= O_RDWR;
  else if (access & GENERIC_WRITE)
    flags |= O_WRONLY;
  else
    flags |= O_RDONLY;
  bool truncate = false;
  switch (disposition) {
  case CREATE_NEW:
    flags |= O_CREAT | O_EXCL;
    break;
  case CREATE_ALWAYS:
    flags |= O_CREAT;
    truncate = true;
    break;
  case OPEN_EXISTING:
    break;
  case OPEN_ALWAYS:
    flags |= O_CREAT;
    break;
  case TRUNCATE_EXISTING:
    truncate = true;
    break;
  default:
    return INVALID_HANDLE_VALUE;
  }
  std::lock_guard<std::mutex> guard(gMutex);
  FlushAllLocked();
  struct stat st;
  if (stat(unixPath.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return INVALID_HANDLE_VALUE;
    for (const auto &[h, f] : gFiles)
      if (f.dev == st.st_dev && f.ino == st.st_ino && SharingConflicts(f, access, shareMode))
        return INVALID_HANDLE_VALUE;
  }
  int fd = open(unixPath.c_str(), flags, 0666);
  if (fd < 0) return INVALID_HANDLE_VALUE;
  // Truncate only after the sharing check passed, so a refused open never
  // destroys the contents another handle is using.
  if (truncate && ftruncate(fd, 0) != 0) {
    close(fd);
    return INVALID_HANDLE_VALUE;
  }
  fstat(fd, &st);
  OpenFile f;
  f.fd = fd;
  f.access = access;
  f.share = shareMode;
  f.dev = st.st_dev;
  f.ino = st.st_ino;
  f.regular = S_ISREG(st.st_mode);
  return AddHandle(f);
}

BOOL ReadFile(HANDLE file, void *buffer, DWORD toRead, DWORD *read, void *) {
  if (read) *read = 0;
  ssize_t n = -1;
  int commFd = -1;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gFiles.find(file);
    if (it == gFiles.end()) return FALSE;
    OpenFile &f = it->second;
    if (f.comm) {
      commFd = f.fd;
    } else {
      // What any handle of the file has written is there to be read.
      for (auto &[h, any] : gFiles)
        if (!any.pending.empty() && SameFile(any, f)) FlushLocked(any);
      if (f.regular) {
        n = ReadAheadLocked(f, static_cast<char *>(buffer), toRead);
      } else {
        do n = ::read(f.fd, buffer, toRead);
        while (n < 0 && errno == EINTR);
      }
    }
  }
  // A serial read may wait, so it runs outside the table's lock.
  if (commFd >= 0) return platform::CommRead(file, commFd, buffer, toRead, read);
  if (n < 0) return FALSE;
  if (read) *read = static_cast<DWORD>(n);
  return TRUE;
}

BOOL WriteFile(HANDLE file, const void *buffer, DWORD toWrite, DWORD *written, void *) {
  if (written) *written = 0;
  int fd;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gFiles.find(file);
    if (it == gFiles.end()) return FALSE;
    OpenFile &f = it->second;
    fd = f.fd;
    // A handle without write access fails at once, as it always did.
    if (!f.comm && !(f.access & GENERIC_WRITE)) return FALSE;
    if (!f.comm) {
      // Bytes of another handle on the same file go first, in program order,
      // and what other handles read ahead may change.
      DropAheadLocked(f);
      for (auto &[h, other] : gFiles)
        if (h != file && SameFile(other, f)) SettleLocked(other);
      if (f.pending.size() + toWrite > kWriteBuffer) FlushLocked(f);
      if (f.failed) {
        f.failed = false;
        return FALSE;
      }
      if (toWrite < kWriteBuffer) {
        f.pending.append(static_cast<const char *>(buffer), toWrite);
        if (written) *written = toWrite;
        return TRUE;
      }
    }
  }
  bool comm = false;
  if (platform::HandleDescriptor(file, &comm) < 0) return FALSE;
  if (comm) return platform::CommWrite(file, fd, buffer, toWrite, written);
  const char *p = static_cast<const char *>(buffer);
  DWORD done = 0;
  while (done < toWrite) {
    ssize_t n = ::write(fd, p + done, toWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<DWORD>(n);
  }
  if (written) *written = done;
  return done == toWrite ? TRUE : FALSE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG *distanceHigh, DWORD method) {
  int64_t offset =
      distanceHigh ? (static_cast<int64_t>(*distanceHigh) << 32) | static_cast<uint32_t>(distance)
                   : distance;
  off_t r;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gFiles.find(file);
    if (it == gFiles.end()) return INVALID_SET_FILE_POINTER;
    OpenFile &f = it->second;
    int64_t at = static_cast<int64_t>(f.aheadAt) + offset;
    if (method == FILE_CURRENT && !f.ahead.empty() && at >= 0 &&
        at <= static_cast<int64_t>(f.ahead.size())) {
      // A step back over a byte just read, or a position query.
      f.aheadAt = static_cast<size_t>(at);
      r = f.aheadBase + static_cast<off_t>(at);
    } else {
      SettleLocked(f);
      int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : SEEK_END;
      r = lseek(f.fd, offset, whence);
    }
  }
  if (r < 0) return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = static_cast<LONG>(r >> 32);
  return static_cast<DWORD>(r);
}

DWORD GetFileType(HANDLE file) {
  std::lock_guard<std::mutex> guard(gMutex);
  auto it = gFiles.find(file);
  if (it == gFiles.end()) return FILE_TYPE_UNKNOWN;
  const OpenFile &f = it->second;
  if (f.regular) return FILE_TYPE_DISK;
  struct stat st;
  if (!f.comm && fstat(f.fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)))
    return FILE_TYPE_PIPE;
  return FILE_TYPE_CHAR;
}

DWORD GetFileSize(HANDLE file, DWORD *sizeHigh) {
  struct stat st;
  {
    // The size does not depend on the read-ahead, so it stays.
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gFiles.find(file);
    if (it == gFiles.end()) return INVALID_FILE_SIZE;
    if (!it->second.pending.empty()) FlushLocked(it->second);
    if (fstat(it->second.fd, &st) != 0) return INVALID_FILE_SIZE;
  }
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
  return static_cast<DWORD>(st.st_size);
}

BOOL CloseHandle(HANDLE handle) {
  bool comm;
  bool ok;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gFiles.find(handle);
    if (it == gFiles.end()) return FALSE;
    comm = it->second.comm;
    FlushLocked(it->second);
    ok = !it->second.failed;
    if (close(it->second.fd) != 0) ok = false;
    gFiles.erase(it);
  }
  if (comm) platform::CommClosed(handle);
  return ok ? TRUE : FALSE;
}
