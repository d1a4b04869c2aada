// Serial ports over termios. The line settings go through termios2 so that
// any baud rate (14400, 56000, 128000...) can be asked for, not only the
// B-constants; this file therefore uses the kernel's termios structures and
// not <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <poll.h>
#include <unistd.h>

#include "platform/commapi.h"
#include "platform/cp932.h"
#include "platform/file_handles.h"
#include "platform/paths.h"

namespace {

struct CommState {
  COMMTIMEOUTS timeouts;
  bool haveDcb = false; // the last DCB that SetCommState applied
  DCB dcb;
};

std::mutex gMutex;
std::map<HANDLE, CommState> gPorts;

// The speed constant of a standard rate; BOTHER (any rate) otherwise.
tcflag_t SpeedCode(DWORD baud) {
  static constexpr struct {
    DWORD rate;
    tcflag_t code;
  } kSpeeds[] = {{50, B50},         {75, B75},         {110, B110},       {134, B134},
                 {150, B150},       {200, B200},       {300, B300},       {600, B600},
                 {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
                 {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
                 {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};
  for (const auto &s : kSpeeds)
    if (s.rate == baud) return s.code;
  return BOTHER;
}

bool GetTermios(int fd, termios2 &t) {
  return ioctl(fd, TCGETS2, &t) == 0;
}
bool SetTermios(int fd, const termios2 &t) {
  return ioctl(fd, TCSETS2, &t) == 0;
}

// A descriptor for HANDLE when it is a serial port.
int CommFd(HANDLE handle) {
  bool comm = false;
  int fd = platform::HandleDescriptor(handle, &comm);
  return comm ? fd : -1;
}

using Clock = std::chrono::steady_clock;

// Milliseconds left until DEADLINE for poll (-1: no deadline).
int PollTimeout(bool hasDeadline, Clock::time_point deadline) {
  if (!hasDeadline) return -1;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
}

// Waits until FD is ready for EVENTS or the deadline passes.
bool WaitReady(int fd, short events, bool hasDeadline, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, PollTimeout(hasDeadline, deadline));
    if (r < 0 && errno == EINTR) continue;
    return r > 0;
  }
}

std::string Upper(std::string text) {
  for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

} // namespace

namespace platform {

std::string CommDevicePath(const std::string &name) {
  std::string n = Upper(name);
  if (n.starts_with("\\\\.\\")) n.erase(0, 4);
  if (n.size() < 4 || n.size() > 6 || !n.starts_with("COM") || n[3] < '1' || n[3] > '9') return {};
  int number = 0;
  for (size_t i = 3; i < n.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(n[i]))) return {};
    number = number * 10 + (n[i] - '0');
  }
  if (number > 255) return {};
  std::string valueName = "COM" + std::to_string(number);
  HKEY key = 0;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brackenworth\\Quillrunner", 0, KEY_ALL_ACCESS,
                    &key) == ERROR_SUCCESS) {
    char value[1024] = {};
    DWORD size = sizeof value;
    LONG r = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr,
                              reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    if (r == ERROR_SUCCESS && value[0]) {
      value[sizeof value - 1] = 0;
      // A Linux path as it is; anything else is a Windows path.
      if (value[0] == '/') return cp932::ToUtf8(value);
      return ToUnixPath(value);
    }
  }
  return "/dev/ttyS" + std::to_string(number - 1);
}

void CommOpened(HANDLE handle, int fd) {
  // A Windows port never edits, echoes or translates: raw input and
  // output, receiver on, modem lines ignored. Speed, byte size, parity,
  // stop bits and flow control stay as the device had them.
  termios2 t;
  if (GetTermios(fd, t)) {
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    SetTermios(fd, t);
  }
  std::lock_guard<std::mutex> guard(gMutex);
  gPorts[handle] = CommState{};
}

void CommClosed(HANDLE handle) {
  std::lock_guard<std::mutex> guard(gMutex);
  gPorts.erase(handle);
}

BOOL CommRead(HANDLE handle, int fd, void *buffer, DWORD toRead, DWORD *read) {
  COMMTIMEOUTS to;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    to = gPorts[handle].timeouts;
  }
  char *out = static_cast<char *>(buffer);
  DWORD got = 0;
  // Interval MAXDWORD with both totals 0: return at once with what has
  // arrived. Otherwise wait up to the total time-out (none when both parts
  // are 0), and after the first byte no longer than the interval time-out.
  bool immediate = to.ReadIntervalTimeout == MAXDWORD && to.ReadTotalTimeoutMultiplier == 0 &&
                   to.ReadTotalTimeoutConstant == 0;
  uint64_t total =
      static_cast<uint64_t>(to.ReadTotalTimeoutMultiplier) * toRead + to.ReadTotalTimeoutConstant;
  bool hasDeadline = total != 0;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(total);
  while (got < toRead) {
    ssize_t n = ::read(fd, out + got, toRead - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      if (read) *read = got;
      return FALSE;
    }
    if (n > 0) {
      got += static_cast<DWORD>(n);
      continue;
    }
    // 0: the line hung up (the other end of a pseudo-terminal closed).
    if (n == 0 || immediate) break;
    if (to.ReadIntervalTimeout == MAXDWORD && got > 0) break;
    bool interval = to.ReadIntervalTimeout != 0 && to.ReadIntervalTimeout != MAXDWORD && got > 0;
    Clock::time_point until = deadline;
    bool limited = hasDeadline;
    if (interval) {
      Clock::time_point gap = Clock::now() + std::chrono::milliseconds(to.ReadIntervalTimeout);
      until = limited ? std::min(until, gap) : gap;
      limited = true;
    }
    if (!WaitReady(fd, POLLIN, limited, until)) break;
  }
  if (read) *read = got;
  return TRUE;
}

BOOL CommWrite(HANDLE handle, int fd, const void *buffer, DWORD toWrite, DWORD *written) {
  COMMTIMEOUTS to;
  {
    std::lock_guard<std::mutex> guard(gMutex);
    to = gPorts[handle].timeouts;
  }
  uint64_t total = static_cast<uint64_t>(to.WriteTotalTimeoutMultiplier) * toWrite +
                   to.WriteTotalTimeoutConstant;
  bool hasDeadline = total != 0;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(total);
  const char *p = static_cast<const char *>(buffer);
  DWORD done = 0;
  while (done < toWrite) {
    ssize_t n = ::write(fd, p + done, toWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n > 0) {
      done += static_cast<DWORD>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN) {
      if (written) *written = done;
      return FALSE;
    }
    // Held back by flow control: wait for room until the time-out.
    if (!WaitReady(fd, POLLOUT, hasDeadline, deadline)) break;
  }
  if (written) *written = done;
  // A time-out completes the call with fewer bytes written, as on Windows.
  return TRUE;
}

} // namespace platform

BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS *timeouts) {
  if (!timeouts || CommFd(file) < 0) return FALSE;
  std::lock_guard<std::mutex> guard(gMutex);
  *timeouts = gPorts[file].timeouts;
  return TRUE;
}

BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS *timeouts) {
  if (!timeouts || CommFd(file) < 0) return FALSE;
  // Both read parts MAXDWORD is not a valid combination.
  if (timeouts->ReadTotalTimeoutMultiplier == MAXDWORD &&
      timeouts->ReadTotalTimeoutConstant == MAXDWORD)
    return FALSE;
  std::lock_guard<std::mutex> guard(gMutex);
  gPorts[file].timeouts = *timeouts;
  return TRUE;
}

BOOL GetCommState(HANDLE file, DCB *dcb) {
  int fd = CommFd(file);
  if (!dcb || fd < 0) return FALSE;
  {
    // Report what was set: a device may not keep every setting (a
    // pseudo-terminal drops parity), Windows reports the settings asked for.
    std::lock_guard<std::mutex> guard(gMutex);
    const CommState &s = gPorts[file];
    if (s.haveDcb) {
      *dcb = s.dcb;
      return TRUE;
    }
  }
  termios2 t;
  if (!GetTermios(fd, t)) return FALSE;
  DCB d;
  d.BaudRate = t.c_ospeed;
  switch (t.c_cflag & CSIZE) {
  case CS5:
    d.ByteSize = 5;
    break;
  case CS6:
    d.ByteSize = 6;
    break;
  case CS7:
    d.ByteSize = 7;
    break;
  default:
    d.ByteSize = 8;
    break;
  }
  if (!(t.c_cflag & PARENB))
    d.Parity = NOPARITY;
  else if (t.c_cflag & CMSPAR)
    d.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
  else
    d.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
  d.fParity = (t.c_iflag & INPCK) ? 1 : 0;
  d.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
  d.fOutX = (t.c_iflag & IXON) ? 1 : 0;
  d.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
  bool rtsCts = (t.c_cflag & CRTSCTS) != 0;
  d.fOutxCtsFlow = rtsCts ? 1 : 0;
  d.fRtsControl = rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.XonChar = static_cast<char>(t.c_cc[VSTART]);
  d.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
  *dcb = d;
  return TRUE;
}

BOOL SetCommState(HANDLE file, const DCB *dcb) {
  int fd = CommFd(file);
  if (!dcb || fd < 0) return FALSE;
  const DCB &d = *dcb;
  if (d.BaudRate == 0 || d.ByteSize < 5 || d.ByteSize > 8 || d.Parity > SPACEPARITY ||
      d.StopBits > TWOSTOPBITS)
    return FALSE;
  termios2 t;
  if (!GetTermios(fd, t)) return FALSE;
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
  tcflag_t speed = SpeedCode(d.BaudRate);
  t.c_cflag |= kSizes[d.ByteSize - 5] | CREAD | CLOCAL | speed | (speed << IBSHIFT);
  t.c_ispeed = d.BaudRate;
  t.c_ospeed = d.BaudRate;
  switch (d.Parity) {
  case ODDPARITY:
    t.c_cflag |= PARENB | PARODD;
    break;
  case EVENPARITY:
    t.c_cflag |= PARENB;
    break;
  case MARKPARITY:
    t.c_cflag |= PARENB | PARODD | CMSPAR;
    break;
  case SPACEPARITY:
    t.c_cflag |= PARENB | CMSPAR;
    break;
  default:
    break;
  }
  // termios has no one and a half stop bits; the device gives 1.5 for five
  // data bits and two otherwise when CSTOPB is set.
  if (d.StopBits != ONESTOPBIT) t.c_cflag |= CSTOPB;
  if (d.fOutxCtsFlow || d.fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~(INPCK | IXON | IXOFF | IXANY);
  if (d.fParity && d.Parity != NOPARITY) t.c_iflag |= INPCK;
  if (d.fOutX) t.c_iflag |= IXON;
  if (d.fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(d.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(d.XoffChar);
  if (!SetTermios(fd, t)) return FALSE;
  std::lock_guard<std::mutex> guard(gMutex);
  CommState &s = gPorts[file];
  s.haveDcb = true;
  s.dcb = d;
  s.dcb.DCBlength = sizeof(DCB);
  return TRUE;
}
