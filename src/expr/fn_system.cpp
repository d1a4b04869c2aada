// The system query functions that need no device: date and time, the
// command line, the current directory, the environment, the main window's
// handle and the system metrics.
#include <cstring>

#include "console/key_functions.h"
#include "expr/builtin.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/channels.h"
#include "graphics/drawing_statements.h"
#include "platform/environment.h"
#include "platform/local_time.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "sound/sound.h"

namespace {

// Two digits with a leading 0 below 10.
void AppendTwoDigits(std::string &out, int v) {
  if (v < 10) out += '0';
  out += num::FormatD(v);
}

std::string Date(std::string_view, ThreadIndex) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DateLiteral(now);
}

std::string Time(std::string_view, ThreadIndex) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TimeLiteral(now);
}

// The directory and the environment are raw text: written in string text
// form, a double quote or a 0x01 byte in them cannot break the literal.
std::string CurDir(std::string_view, ThreadIndex) {
  return EncodeString(E().currentDirectory, true);
}

// The command line is kept in string text form already.
std::string Command(std::string_view, ThreadIndex) {
  return "\"" + E().commandLine + "\"";
}

std::string Environ(std::string_view a, ThreadIndex) {
  if (!ArgCount(a, 1, true)) return EmptyLiteral();
  std::string name = DecodeString(EvalString(a), true);
  // The name ends at its first NUL, as a C string does.
  name.resize(std::strlen(name.c_str()));
  DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return EmptyLiteral();
  std::string value(size, '\0');
  DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), size);
  if (length == 0 || length >= size) return EmptyLiteral();
  value.resize(length);
  return EncodeString(value, true);
}

std::string HWnd(std::string_view, ThreadIndex) {
  return num::FormatD(static_cast<int32_t>(E().mainWindow));
}

std::string SysMetrics(std::string_view a, ThreadIndex) {
  return num::FormatD(GetSystemMetrics(num::TruncInt32(EvalNumeric(a))));
}

struct Entry {
  uint16_t code;
  BuiltinFunction impl;
};

// The key and mouse functions live with the console's keyboard input, the
// clipboard with the other system services.
constexpr Entry kEntries[] = {
    {0x313, Date},
    {0x325, Time},
    {0x410, CurDir},
    {0x510, HWnd},
    {0x611, Command},
    {0x612, Environ},
    {0x617, SysMetrics},
    {0x411, EofResult},
    {0x412, LofResult},
    {0x413, LocResult},
    {0x315, InkeyFunction},
    {0x316, InputKeysFunction},
    {0x613, KeyStateFunction},
    {0x614, MouseFunction},
    {0x610, ClipboardFunction},
    {0x615, PointFunction},
};

} // namespace

std::string DateLiteral(const SYSTEMTIME &time) {
  std::string out = "\"" + num::FormatD(time.wYear) + "/";
  AppendTwoDigits(out, time.wMonth);
  out += '/';
  AppendTwoDigits(out, time.wDay);
  return out + "\"";
}

std::string TimeLiteral(const SYSTEMTIME &time) {
  std::string out = "\"";
  AppendTwoDigits(out, time.wHour);
  out += ':';
  AppendTwoDigits(out, time.wMinute);
  out += ':';
  AppendTwoDigits(out, time.wSecond);
  return out + "\"";
}

BuiltinFunction FindSystemFunction(uint16_t code) {
  for (const Entry &e : kEntries)
    if (e.code == code) return e.impl;
  return nullptr;
}
