// Opening a document or starting a program, under the Win32 name.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

// Starts FILE (a Windows path, code page 932) without waiting: an executable
// file directly, with PARAMETERS split into its arguments, in DIRECTORY
// (null: the process's own); any other file (or a URL) through xdg-open.
// Returns a value above 32 on success, as Windows does (2: no such file,
// 31: nothing could start it).
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        int show);

namespace platform {
// Splits a command-line text into arguments as Windows programs do: blanks
// and tabs separate, double quotes group (a doubled quote inside quotes is
// one quote), backslashes are literal except in front of a double quote,
// where each pair gives one backslash and an odd one makes the quote literal.
std::vector<std::string> SplitCommandLine(const std::string &text);
} // namespace platform
