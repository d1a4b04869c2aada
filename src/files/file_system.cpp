// The runtime's current directory, path resolution against it, and the
// file-system statements CHDIR, FILECOPY, KILL, MKDIR, NAME and FILES.
#include <cstring>
#include <string>
#include <vector>

#include "console/console.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/channels.h"
#include "files/error_watch.h"
#include "files/file_statements.h"
#include "platform/fileapi.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

// The current directory is at most this long (MAX_PATH with its NUL).
constexpr size_t kMaxDirectory = 259;

bool IsAbsolute(const std::string &path) {
  return path.find(':') != std::string::npos || path.find("\\\\") != std::string::npos;
}

// DIRECTORY, a backslash and NAME. The start directory ends with a
// backslash, so names joined to it have two in a row, which every path
// function takes as one.
std::string Join(const std::string &directory, const std::string &name) {
  return directory + "\\" + name;
}

// The raw value of a string expression, up to its first NUL as a C string.
std::string EvalName(std::string_view text) {
  std::string raw = DecodeString(EvalString(text), true);
  raw.resize(std::strlen(raw.c_str()));
  return raw;
}

// The top-level arguments of TEXT; a comma at the end leaves an empty last
// argument.
std::vector<std::string> SplitArguments(const std::string &text) {
  std::vector<std::string> parts;
  size_t at = 0;
  for (;;) {
    std::string part;
    size_t next = NextArgument(text, at, part);
    parts.push_back(part);
    if (next < text.size()) {
      at = next;
      continue;
    }
    if (next > at && text[next - 1] == ',') parts.emplace_back();
    return parts;
  }
}

// Source, target and keep flag of FILECOPY and NAME; false after a runtime
// error.
bool TwoNamesAndFlag(const std::string &arg, std::string &from, std::string &to, int32_t &keep) {
  std::vector<std::string> parts = SplitArguments(arg);
  if (parts.size() < 2 || parts.size() > 3) {
    RuntimeError();
    return false;
  }
  ErrorWatch watch;
  keep = parts.size() == 3 ? num::TruncInt32(EvalNumeric(parts[2])) : 0;
  from = ResolvePath(EvalName(parts[0]));
  to = ResolvePath(EvalName(parts[1]));
  return !watch.Raised();
}

} // namespace

std::string ResolvePath(const std::string &path) {
  if (IsAbsolute(path)) return path;
  return Join(E().currentDirectory, path);
}

std::string ChangeDirectory(const std::string &current, const std::string &argument) {
  std::string result = IsAbsolute(argument) ? argument : Join(current, argument);
  // A trailing backslash goes, except the one of a drive's root (C:\).
  if (result.size() >= 2 && result.back() == '\\' && result[result.size() - 2] != ':')
    result.pop_back();
  // The directory keeps to MAX_PATH; a longer one leaves it unchanged.
  if (result.size() > kMaxDirectory) return current;
  return result;
}

void CHDIR(std::string &arg, ThreadIndex) {
  ErrorWatch watch;
  std::string name = EvalName(arg);
  if (watch.Raised()) return;
  Engine &e = E();
  e.currentDirectory = ChangeDirectory(e.currentDirectory, name);
}

void FILECOPY(std::string &arg, ThreadIndex) {
  std::string from, to;
  int32_t keep;
  if (!TwoNamesAndFlag(arg, from, to, keep)) return;
  // A failed copy is silent.
  CopyFileA(from.c_str(), to.c_str(), keep != 0 ? TRUE : FALSE);
}

void NAME(std::string &arg, ThreadIndex) {
  std::string from, to;
  int32_t keep;
  if (!TwoNamesAndFlag(arg, from, to, keep)) return;
  // Without the keep flag a file of the new name is replaced. The
  // replacement is one step, so a missing old file or a new name that is
  // the old file itself never loses the file that is there. A failed
  // rename is silent.
  if (keep == 0)
    MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
  else
    MoveFileA(from.c_str(), to.c_str());
}

void KILL(std::string &arg, ThreadIndex) {
  ErrorWatch watch;
  std::string path = ResolvePath(EvalName(arg));
  if (watch.Raised()) return;
  if (!DeleteFileA(path.c_str())) RuntimeError();
}

void MKDIR(std::string &arg, ThreadIndex) {
  ErrorWatch watch;
  std::string path = ResolvePath(EvalName(arg));
  if (watch.Raised()) return;
  CreateDirectoryA(path.c_str(), nullptr);
}

void FILES(std::string &arg, ThreadIndex) {
  std::string dirText;
  size_t at = NextArgument(arg, 0, dirText);
  int32_t perLine = 0;
  ErrorWatch watch;
  if (at > 0 && arg[at - 1] == ',') perLine = num::TruncInt32(EvalNumeric(arg.substr(at)));
  std::string dir = ResolvePath(EvalName(dirText));
  if (watch.Raised()) return;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  ConsoleWrite(EncodeString(dir, false) + "\n");
  std::string pattern = dir + "*";

  // Entries are counted as they are printed: every line holds PER_LINE
  // entries, the last one ends only when it is full.
  int32_t count = 0;
  auto print = [&](const std::string &text) {
    ++count;
    if (count >= perLine) {
      ConsoleWrite(EncodeString(text, false) + "\n");
      count = 0;
    } else {
      ConsoleWrite(EncodeString(text, false) + " ");
    }
  };
  for (int pass = 0; pass < 2; ++pass) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      bool directory = entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY;
      std::string name = entry.cFileName;
      if (pass == 0 && directory && name != "." && name != "..") print("<" + name + ">");
      if (pass == 1 && !directory) print(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
}
