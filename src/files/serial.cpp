// Serial port channels: opening and configuring COMn from the parameter
// letters and the serial defaults, and reading fields through the
// channel's receive buffer.
#include "files/serial.h"

#include <cctype>
#include <chrono>

#include "expr/number_text.h"
#include "files/channel_table.h"
#include "files/channels.h"
#include "platform/commapi.h"
#include "platform/fileapi.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

DWORD BaudRate(int32_t index) {
  static constexpr DWORD kRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
  if (index < 0 || index >= static_cast<int32_t>(sizeof kRates / sizeof kRates[0])) return 9600;
  return kRates[index];
}

// The parameter letters by position: parity, data bits, stop bits, flow
// control. A byte that fits nothing in its position keeps the default.
void ApplyParameters(const std::string &params, SerialDefaults &s) {
  auto at = [&](size_t i) { return i < params.size() ? params[i] : '\0'; };
  switch (at(0)) {
  case 'n':
  case 'N':
    s.parity = NOPARITY;
    break;
  case 'e':
  case 'E':
    s.parity = EVENPARITY;
    break;
  case 'o':
  case 'O':
    s.parity = ODDPARITY;
    break;
  default:
    break;
  }
  if (at(1) == '8') s.dataBits = 8;
  if (at(1) == '7') s.dataBits = 7;
  if (at(2) >= '1' && at(2) <= '3') s.stopBits = static_cast<uint8_t>(at(2) - '1');
  switch (at(3)) {
  case 'N':
    s.xonXoff = 0;
    s.rtsCts = 0;
    break;
  case 'X':
    s.xonXoff = 1;
    s.rtsCts = 0;
    break;
  case 'S':
    s.xonXoff = 0;
    s.rtsCts = 1;
    break;
  case 'D':
    s.xonXoff = 1;
    s.rtsCts = 1;
    break;
  default:
    break;
  }
}

// Where the field ends in the receive buffer: the first CR, or (INPUT) the
// first comma; npos when there is none.
size_t FindTerminator(const std::string &buffer, bool wholeLine) {
  return buffer.find_first_of(wholeLine ? std::string_view("\r") : std::string_view("\r,"));
}

// Takes the field before END and its terminator (and an LF right behind
// it) off the front of the buffer. END == size: the whole buffer, no
// terminator.
void TakeField(Channel &ch, size_t end, std::string &field) {
  field = ch.receive.substr(0, end);
  size_t drop = end < ch.receive.size() ? end + 1 : end;
  bool terminated = drop > end;
  if (terminated && drop < ch.receive.size() && ch.receive[drop] == '\n') ++drop;
  ch.dropLeadingLf = terminated && drop == ch.receive.size();
  ch.receive.erase(0, drop);
}

} // namespace

bool IsSerialName(const std::string &name) {
  if (name.find(':') == std::string::npos || name.size() < 3) return false;
  for (size_t i = 0; i < 3; ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != "com"[i]) return false;
  return name.size() < 4 || !std::isalpha(static_cast<unsigned char>(name[3]));
}

bool OpenSerial(int channel, const std::string &name, DWORD access) {
  Channel *ch = FindChannel(channel);
  if (!ch) {
    RuntimeError();
    return false;
  }
  Engine &e = E();
  std::string port = name, params;
  if (size_t colon = name.find(':', 3); colon != std::string::npos) {
    port = name.substr(0, colon);
    params = name.substr(colon + 1);
  }
  if (port.empty() || !std::isdigit(static_cast<unsigned char>(port.back())))
    port += num::FormatD(e.serial.port);
  // A new binding starts with an empty receive buffer: bytes left from an
  // earlier port are not this port's data.
  ch->receive.clear();
  ch->dropLeadingLf = false;
  ch->handle = CreateFileA(port.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, 0);
  if (ch->handle == INVALID_HANDLE_VALUE) {
    ch->handle = 0;
    ch->kind = kDiskChannel;
    RuntimeError();
    return false;
  }
  ch->kind = kSerialChannel;

  COMMTIMEOUTS timeouts;
  GetCommTimeouts(ch->handle, &timeouts);
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  timeouts.WriteTotalTimeoutMultiplier = 100;
  timeouts.WriteTotalTimeoutConstant = 200;
  SetCommTimeouts(ch->handle, &timeouts);

  SerialDefaults s = e.serial;
  ApplyParameters(params, s);
  DCB dcb;
  GetCommState(ch->handle, &dcb);
  dcb.BaudRate = BaudRate(s.baudIndex);
  dcb.ByteSize = s.dataBits;
  dcb.Parity = s.parity;
  dcb.StopBits = s.stopBits;
  // Parity checking and flow control are set both ways: a port keeps its
  // settings from one opening to the next, and "N" must mean no flow
  // control even after an earlier "X".
  dcb.fParity = s.parity != NOPARITY ? 1 : 0;
  dcb.fOutX = s.xonXoff ? 1 : 0;
  dcb.fInX = s.xonXoff ? 1 : 0;
  dcb.fOutxCtsFlow = s.rtsCts ? 1 : 0;
  dcb.fRtsControl = s.rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  // Settings the port refuses are not reported; it keeps what it had.
  SetCommState(ch->handle, &dcb);
  return true;
}

bool ReceiveSerial(Channel &ch) {
  size_t room = kReceiveCapacity - std::min(ch.receive.size(), kReceiveCapacity);
  if (room == 0) return true;
  char buffer[kReceiveCapacity];
  DWORD got = 0;
  if (!ReadFile(ch.handle, buffer, static_cast<DWORD>(room), &got, nullptr)) return false;
  size_t start = 0;
  if (got > 0 && ch.dropLeadingLf) {
    if (buffer[0] == '\n') start = 1;
    ch.dropLeadingLf = false;
  }
  ch.receive.append(buffer + start, got - start);
  return true;
}

bool ReadSerialField(int channel, bool wholeLine, ThreadIndex slot, std::string &field) {
  field.clear();
  Channel *ch = FindChannel(channel);
  if (!ch || ch->handle == 0) {
    RuntimeError();
    return false;
  }
  // A field already waiting in the buffer is taken at once.
  if (size_t end = FindTerminator(ch->receive, wholeLine); end != std::string::npos) {
    TakeField(*ch, end, field);
    return true;
  }
  // Otherwise collect what arrives until a CR is there. The wait gives the
  // interpreter lock to other BASIC threads, ends at program end, and is
  // bounded: by the silence limit, by the total limit, and by the buffer,
  // which when full without a line end makes one field of all it holds.
  using Clock = std::chrono::steady_clock;
  ChannelTable &table = E().channels;
  Clock::time_point start = Clock::now(), lastByte = start;
  HANDLE handle = ch->handle;
  for (;;) {
    size_t before = ch->receive.size();
    if (!ReceiveSerial(*ch)) {
      RuntimeError();
      return false;
    }
    if (ch->receive.find('\r') != std::string::npos) break;
    if (ch->receive.size() >= kReceiveCapacity) {
      size_t end = FindTerminator(ch->receive, wholeLine);
      TakeField(*ch, end == std::string::npos ? ch->receive.size() : end, field);
      return true;
    }
    Clock::time_point now = Clock::now();
    if (ch->receive.size() != before) lastByte = now;
    if (now - lastByte >= table.serialSilenceLimit || now - start >= table.serialWaitLimit) {
      RuntimeError();
      return false;
    }
    auto left = std::min(table.serialSilenceLimit - (now - lastByte),
                         table.serialWaitLimit - (now - start));
    auto pause = std::min<Clock::duration>(left, std::chrono::milliseconds(5));
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(pause) + std::chrono::milliseconds(1);
    if (slot >= 0 && slot < kMaxThreads)
      BlockingWait(
          slot, [] { return false; }, ms);
    else
      Sleep(static_cast<DWORD>(ms.count()));
    // Another thread may have closed or reopened the channel meanwhile.
    if (ch->handle != handle || ch->kind != kSerialChannel) {
      RuntimeError();
      return false;
    }
  }
  TakeField(*ch, FindTerminator(ch->receive, wholeLine), field);
  return true;
}
