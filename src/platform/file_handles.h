// Inside the platform layer: what the file handle table (kernel_file.cpp)
// and the serial port code (comm.cpp) and file operations need of each
// other.
#pragma once

#include <string>

#include "platform/win32.h"

namespace platform {

// The descriptor behind a file handle, -1 when the handle is not open.
// COMM tells whether the handle is a serial port.
int HandleDescriptor(HANDLE handle, bool *comm = nullptr);

// Whether a handle of this process has the file at UNIX_PATH open (Windows
// refuses to delete or rename such a file).
bool FileOpenByHandle(const std::string &unixPath);

// Serial ports (comm.cpp): a new handle on a serial device is put into raw
// mode and gets the time-outs of a freshly opened port.
void CommOpened(HANDLE handle, int fd);
void CommClosed(HANDLE handle);
// ReadFile and WriteFile on a serial port, with its time-outs.
BOOL CommRead(HANDLE handle, int fd, void *buffer, DWORD toRead, DWORD *read);
BOOL CommWrite(HANDLE handle, int fd, const void *buffer, DWORD toWrite, DWORD *written);

} // namespace platform
