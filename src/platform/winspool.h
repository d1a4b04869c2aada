// Printer enumeration under its Win32 name: the CUPS destinations, or the
// one file printer of QUILLRUNNER_PRINTER_FILE.
#pragma once

#include "platform/win32.h"

constexpr DWORD PRINTER_ENUM_DEFAULT = 0x00000001;
constexpr DWORD PRINTER_ENUM_LOCAL = 0x00000002;
constexpr DWORD PRINTER_ENUM_CONNECTIONS = 0x00000004;

constexpr DWORD PRINTER_ATTRIBUTE_DEFAULT = 0x00000004;
constexpr DWORD PRINTER_ATTRIBUTE_LOCAL = 0x00000040;

struct PRINTER_INFO_5A {
  LPSTR pPrinterName = nullptr; // code page 932
  LPSTR pPortName = nullptr;
  DWORD Attributes = 0;
  DWORD DeviceNotSelectedTimeout = 0;
  DWORD TransmissionRetryTimeout = 0;
};

// Level 5 only. FLAGS: PRINTER_ENUM_DEFAULT (the default printer alone) or
// PRINTER_ENUM_LOCAL/CONNECTIONS (all). The records and their strings are
// written into BUFFER (SIZE bytes); NEEDED receives the size required and
// RETURNED the number of records. FALSE (with NEEDED set) when BUFFER is too
// small or the level is not 5.
BOOL EnumPrintersA(DWORD flags, LPSTR name, DWORD level, BYTE *buffer, DWORD size, DWORD *needed,
                   DWORD *returned);
