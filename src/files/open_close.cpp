// OPEN and CLOSE: binding channels to disk files (four modes) or serial
// ports, and releasing them.
#include <cctype>
#include <cstring>
#include <string>

#include "expr/eval.h"
#include "expr/string_text.h"
#include "files/channel_table.h"
#include "files/channels.h"
#include "files/error_watch.h"
#include "files/file_statements.h"
#include "files/serial.h"
#include "platform/fileapi.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsAs(const std::string &text, size_t at) {
  return at + 1 < text.size() && text[at] == tok::kControl && text[at + 1] == tok::kAs;
}

// Whether TEXT at AT holds WORD (lower case) in any letter case.
bool WordAt(const std::string &text, size_t at, const char *word) {
  size_t n = std::strlen(word);
  if (at + n > text.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
  return true;
}

struct Mode {
  DWORD access;
  DWORD creation;
  DWORD flags;
  bool append;
};

constexpr Mode kInput{GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, false};
constexpr Mode kOutput{GENERIC_WRITE, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, false};
constexpr Mode kAppend{GENERIC_WRITE, OPEN_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, true};
constexpr Mode kRandom{GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_FLAG_RANDOM_ACCESS, false};

// False when the file's last writes failed.
bool CloseChannel(Channel &ch) {
  bool ok = ch.handle == 0 || CloseHandle(ch.handle);
  ch.handle = 0;
  ch.kind = kDiskChannel;
  ch.regular = false;
  return ok;
}

} // namespace

void OPEN(std::string &arg, ThreadIndex) {
  // The file name: up to the first blank outside quotes or the AS token.
  size_t nameEnd = std::string::npos;
  bool inQuotes = false;
  for (size_t i = 0; i < arg.size();) {
    char c = arg[i];
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (c == tok::kControl) {
      if (!inQuotes && IsAs(arg, i)) {
        nameEnd = i;
        break;
      }
      i += 2; // an escape pair or a two-byte token
      continue;
    } else if (c == ' ' && !inQuotes) {
      nameEnd = i;
      break;
    }
    ++i;
  }
  if (nameEnd == std::string::npos || nameEnd == 0) {
    RuntimeError();
    return;
  }
  size_t p = nameEnd;
  while (p < arg.size() && IsBlank(arg[p])) ++p;
  Mode mode = kRandom;
  if (p > nameEnd && WordAt(arg, p, "for") && p + 3 < arg.size() && IsBlank(arg[p + 3])) {
    p += 3;
    while (p < arg.size() && IsBlank(arg[p])) ++p;
    size_t wordEnd = p;
    while (wordEnd < arg.size() && !IsBlank(arg[wordEnd]) && !IsAs(arg, wordEnd)) ++wordEnd;
    size_t length = wordEnd - p;
    if (length == 5 && WordAt(arg, p, "input")) {
      mode = kInput;
    } else if (length == 6 && WordAt(arg, p, "output")) {
      mode = kOutput;
    } else if (length == 6 && WordAt(arg, p, "append")) {
      mode = kAppend;
    } else {
      RuntimeError();
      return;
    }
    p = wordEnd;
    while (p < arg.size() && IsBlank(arg[p])) ++p;
  }
  if (!IsAs(arg, p)) {
    RuntimeError();
    return;
  }
  p += 2;
  while (p < arg.size() && IsBlank(arg[p])) ++p;
  if (p < arg.size() && arg[p] == '#') ++p;
  int number = p < arg.size() ? ChannelDigit(arg[p]) : 0;
  if (number == 0) {
    RuntimeError();
    return;
  }
  for (++p; p < arg.size(); ++p) {
    if (!IsBlank(arg[p])) {
      RuntimeError();
      return;
    }
  }

  ErrorWatch watch;
  std::string name = DecodeString(EvalString(std::string_view(arg).substr(0, nameEnd)), true);
  if (watch.Raised()) return;
  name.resize(std::strlen(name.c_str())); // a C string ends at its first NUL
  Channel &ch = *FindChannel(number);
  CloseChannel(ch);
  if (IsSerialName(name)) {
    OpenSerial(number, name, mode.access);
    return;
  }
  std::string path = ResolvePath(name);
  HANDLE h = CreateFileA(path.c_str(), mode.access, 0, nullptr, mode.creation,
                         mode.flags | FILE_ATTRIBUTE_NORMAL, 0);
  if (h == INVALID_HANDLE_VALUE) {
    RuntimeError();
    return;
  }
  ch.handle = h;
  ch.kind = kDiskChannel;
  ch.regular = GetFileType(h) == FILE_TYPE_DISK;
  if (mode.append) SetFilePointer(h, 0, nullptr, FILE_END);
}

void CLOSE(std::string &arg, ThreadIndex) {
  std::string list = StripBlanks(arg);
  // Written lines reach the file when it is closed; a failure then is the
  // statement's failure.
  if (list.empty()) {
    if (!CloseAllChannels()) RuntimeError();
    return;
  }
  size_t p = 0;
  for (;;) {
    if (p < list.size() && list[p] == '#') ++p;
    int number = p < list.size() ? ChannelDigit(list[p]) : 0;
    if (number == 0) {
      RuntimeError();
      return;
    }
    if (!CloseChannel(*FindChannel(number))) {
      RuntimeError();
      return;
    }
    ++p;
    if (p == list.size()) return;
    if (list[p] != ',') {
      RuntimeError();
      return;
    }
    ++p;
  }
}
