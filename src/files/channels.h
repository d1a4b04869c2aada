// What other subsystems use of the file channels: writing a line to a
// channel, reading fields, the channel functions, path resolution and
// closing everything at program end. Channel numbers are 1 to 9.
#pragma once

#include <string>
#include <string_view>

#include "flow/threads.h"

struct Channel;

// The entry of channel NUMBER, null outside 1 to 9.
Channel *FindChannel(int number);

// The channel number of a digit byte "1" to "9"; 0 for any other byte.
int ChannelDigit(char c);

// Writes one line of PRINT or WRITE (string text form) to a channel in one
// write: a final LF becomes CR LF on a disk file and CR on a serial port.
// A failed or short write is a runtime error.
void WriteChannelLine(int channel, const std::string &line);

// Reads the next field of a channel into FIELD (raw bytes). WHOLE_LINE (LINE
// INPUT): commas do not end it. Disk files are read one byte at a time so
// the position stays exactly behind the field; a field ends at a NUL, at a
// CR (an LF right after it is consumed too), at a comma unless WHOLE_LINE,
// at the end of the file, or after 8192 bytes. End of file before the first
// byte, a channel that is not open or a failed read is a runtime error
// (result false). Serial channels wait for a line end as the blocking
// protocol allows.
bool ReadChannelField(int channel, bool wholeLine, ThreadIndex slot, std::string &field);

// INPUT # and LINE INPUT #: TEXT is the statement's argument with blanks
// stripped, "#", the channel digit, "," and the variables (one for
// WHOLE_LINE). Each variable gets the next field: string variables the
// text, numeric ones its value as atof reads it. False after a runtime
// error.
bool ChannelInput(std::string_view text, bool wholeLine, ThreadIndex slot);

// The channel functions; ARGS is the function's argument text ("#" before
// the number is allowed). Errors are runtime errors and give 0.
// -1 when no byte is left to read (the position does not move), else 0.
double ChannelEof(std::string_view args);
// The size of the channel's file in bytes.
double ChannelLof(std::string_view args);
// Disk file: the byte position; serial port: the received bytes waiting.
double ChannelLoc(std::string_view args);

// The same as built-in function results (integer text), for the function
// dispatcher.
std::string EofResult(std::string_view args, ThreadIndex slot);
std::string LofResult(std::string_view args, ThreadIndex slot);
std::string LocResult(std::string_view args, ThreadIndex slot);

// A file name taken relative to the runtime's current directory; a name
// with ":" or "\\" in it is used unchanged.
std::string ResolvePath(const std::string &path);

// The current directory after CHDIR ARGUMENT (raw text) from CURRENT.
std::string ChangeDirectory(const std::string &current, const std::string &argument);

// Closes every open channel and clears its entry (program end).
bool CloseAllChannels(); // false when a file's last writes failed
