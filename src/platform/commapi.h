// Serial communication under the Win32 names, over termios. A handle from
// CreateFileA("COMn") (or "\\.\COMn") is a serial port: COMn is the device
// named by the value "COMn" in the settings store (key
// Software\Brackenworth\Quillrunner), else /dev/ttyS(n-1). The port is
// opened non-blocking in raw mode; ReadFile and WriteFile on it honour the
// time-outs set with SetCommTimeouts.
#pragma once

#include <string>

#include "platform/win32.h"

struct DCB {
  DWORD DCBlength = sizeof(DCB);
  DWORD BaudRate = 0;
  DWORD fBinary : 1 = 1;
  DWORD fParity : 1 = 0;
  DWORD fOutxCtsFlow : 1 = 0;
  DWORD fOutxDsrFlow : 1 = 0;
  DWORD fDtrControl : 2 = 0;
  DWORD fDsrSensitivity : 1 = 0;
  DWORD fTXContinueOnXoff : 1 = 0;
  DWORD fOutX : 1 = 0;
  DWORD fInX : 1 = 0;
  DWORD fErrorChar : 1 = 0;
  DWORD fNull : 1 = 0;
  DWORD fRtsControl : 2 = 0;
  DWORD fAbortOnError : 1 = 0;
  DWORD fDummy2 : 17 = 0;
  WORD wReserved = 0;
  WORD XonLim = 0;
  WORD XoffLim = 0;
  BYTE ByteSize = 8;
  BYTE Parity = 0;
  BYTE StopBits = 0;
  char XonChar = 0x11;
  char XoffChar = 0x13;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  WORD wReserved1 = 0;
};

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};

constexpr DWORD MAXDWORD = 0xFFFFFFFF;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

// FALSE for a handle that is no serial port, or a setting the device refuses
// (an unsupported byte size, parity or speed).
BOOL GetCommState(HANDLE file, DCB *dcb);
BOOL SetCommState(HANDLE file, const DCB *dcb);
BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS *timeouts);
BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS *timeouts);

namespace platform {

// The Linux device of a serial port name ("COM2", "com2", "\\.\COM12");
// empty when NAME is no serial port name.
std::string CommDevicePath(const std::string &name);

} // namespace platform
