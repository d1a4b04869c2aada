// The print setup dialog under its Win32 name. In headless mode it is
// answered from the events file (docs/events.md) or takes its default: the
// default printer.
#pragma once

#include "platform/wingdi.h"

constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_RETURNDEFAULT = 0x00000400;

struct PRINTDLGA {
  DWORD lStructSize = 0;
  HWND hwndOwner = 0;
  HANDLE hDevMode = 0;
  HANDLE hDevNames = 0;
  HDC hDC = 0; // with PD_RETURNDC: a context for the chosen printer
  DWORD Flags = 0;
};

// Shows the dialog: the printers in a list with the default selected. TRUE
// when the user chose a printer (and, with PD_RETURNDC, its context was
// created), FALSE when the dialog was cancelled or no printer exists.
BOOL PrintDlgA(PRINTDLGA *dialog);
