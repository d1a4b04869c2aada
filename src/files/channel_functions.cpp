// The channel functions EOF, LOF and LOC.
#include <cstdint>
#include <string>

#include "expr/eval.h"
#include "expr/number_text.h"
#include "files/channel_table.h"
#include "files/channels.h"
#include "files/error_watch.h"
#include "files/serial.h"
#include "platform/fileapi.h"
#include "runtime/runtime_error.h"

namespace {

// The open channel that ARGS names: a channel digit, or any numeric
// expression, with an optional "#" in front. Null after a runtime error.
Channel *ChannelOf(std::string_view args) {
  if (!args.empty() && args[0] == '#') args.remove_prefix(1);
  int number = args.size() == 1 ? ChannelDigit(args[0]) : 0;
  if (number == 0) {
    ErrorWatch watch;
    double value = EvalNumeric(args);
    if (watch.Raised()) return nullptr;
    int32_t n = num::TruncInt32(value);
    number = n >= 1 && n <= kChannelCount ? n : 0;
  }
  Channel *ch = FindChannel(number);
  if (!ch || ch->handle == 0) {
    RuntimeError();
    return nullptr;
  }
  return ch;
}

// Integer text; sizes and positions beyond the 32-bit range in full.
std::string IntegerText(double value) {
  if (value >= -2147483648.0 && value <= 2147483647.0)
    return num::FormatD(static_cast<int32_t>(value));
  return num::FormatG15(value);
}

} // namespace

double ChannelEof(std::string_view args) {
  Channel *ch = ChannelOf(args);
  if (!ch) return 0;
  if (ch->kind == kSerialChannel) {
    // A port has reached its end while nothing is waiting; reading ahead
    // would take bytes from the next input, so they go to the buffer.
    if (!ReceiveSerial(*ch)) {
      RuntimeError();
      return 0;
    }
    return ch->receive.empty() ? -1 : 0;
  }
  char ahead[2];
  DWORD got = 0;
  if (!ReadFile(ch->handle, ahead, 2, &got, nullptr)) {
    RuntimeError();
    return 0;
  }
  if (got == 0) return -1;
  SetFilePointer(ch->handle, -static_cast<LONG>(got), nullptr, FILE_CURRENT);
  return 0;
}

double ChannelLof(std::string_view args) {
  Channel *ch = ChannelOf(args);
  if (!ch) return 0;
  DWORD high = 0;
  DWORD low = GetFileSize(ch->handle, &high);
  return static_cast<double>((static_cast<uint64_t>(high) << 32) | low);
}

double ChannelLoc(std::string_view args) {
  Channel *ch = ChannelOf(args);
  if (!ch) return 0;
  if (ch->kind == kSerialChannel) {
    if (!ReceiveSerial(*ch)) {
      RuntimeError();
      return 0;
    }
    return static_cast<double>(ch->receive.size());
  }
  LONG high = 0;
  DWORD low = SetFilePointer(ch->handle, 0, &high, FILE_CURRENT);
  return static_cast<double>((static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low);
}

std::string EofResult(std::string_view args, ThreadIndex) {
  return IntegerText(ChannelEof(args));
}
std::string LofResult(std::string_view args, ThreadIndex) {
  return IntegerText(ChannelLof(args));
}
std::string LocResult(std::string_view args, ThreadIndex) {
  return IntegerText(ChannelLoc(args));
}
