// The nine file channels of a running program: each an OS file handle, the
// kind of thing it reaches (disk file or serial port), a record layout for
// random access and the receive buffer of a serial port.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

constexpr int kChannelCount = 9;

constexpr uint8_t kDiskChannel = 0;
constexpr uint8_t kSerialChannel = 1;

// A serial channel keeps at most this many received bytes that no input
// statement has taken yet (8192 with the terminating NUL of the original
// buffer).
constexpr size_t kReceiveCapacity = 8191;

// Record layouts: at most 254 fields whose names, joined by ",", take at
// most 1023 bytes.
constexpr size_t kMaxFields = 254;
constexpr size_t kMaxFieldNamesLength = 1023;

struct Channel {
  HANDLE handle = 0; // 0: closed
  uint8_t kind = kDiskChannel;
  // A regular file: a field is read in pieces, and what follows the field
  // is given back through the file pointer.
  bool regular = false;
  // Record layout (FIELD): variable names and byte widths, in order.
  std::vector<std::string> fieldNames;
  std::vector<int32_t> fieldWidths;
  // Serial ports: received bytes not consumed yet.
  std::string receive;
  // The last field taken ended at the end of the received bytes; an LF
  // arriving next still belongs to that line end and is dropped.
  bool dropLeadingLf = false;
};

struct ChannelTable {
  Channel channels[kChannelCount];
  // Bounds of a wait for a serial line end: the wait fails when no byte
  // arrives for `serialSilenceLimit`, or when no CR has come after
  // `serialWaitLimit` in all.
  std::chrono::milliseconds serialSilenceLimit{30000};
  std::chrono::milliseconds serialWaitLimit{300000};

  ChannelTable() = default;
  ChannelTable(const ChannelTable &) = delete;
  ChannelTable &operator=(const ChannelTable &) = delete;
  // Closes what is still open (an engine dropped without program end).
  ~ChannelTable();
};
