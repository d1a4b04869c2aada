// Serial port channels: a channel bound to COMn instead of a disk file.
#pragma once

#include <string>

#include "flow/threads.h"
#include "platform/win32.h"

struct Channel;

// A serial port name: it holds ":", starts with "com" in any letter case and
// its fourth byte is not a letter ("COM2:N81X", "com:", not "COMMAND.TXT"
// nor "COMX:").
bool IsSerialName(const std::string &name);

// Opens and configures the port of NAME ("COMn:" and up to four parameter
// letters) on CHANNEL with ACCESS (GENERIC_READ / GENERIC_WRITE). A port
// that cannot be opened is a runtime error (false).
bool OpenSerial(int channel, const std::string &name, DWORD access);

// The next field of a serial channel (see ReadChannelField).
bool ReadSerialField(int channel, bool wholeLine, ThreadIndex slot, std::string &field);

// Moves what has arrived at the port into the receive buffer, as far as it
// has room. False when the read fails.
bool ReceiveSerial(Channel &channel);
