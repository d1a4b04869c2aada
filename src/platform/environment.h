// The process environment under the Win32 names. Names and values are code
// page 932 text; the Linux environment holds them as UTF-8.
#pragma once

#include "platform/win32.h"

// Copies the value of NAME with its NUL into BUFFER when SIZE bytes hold it
// and returns its length without the NUL; otherwise returns the size needed
// including the NUL. 0 when NAME is not set.
DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);

// Sets NAME to VALUE, or removes it when VALUE is null. FALSE for a name that
// is empty or holds "=".
BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value);
