// Text on channels: PRINT and WRITE lines out, INPUT and LINE INPUT fields
// in. Disk writes are collected by the file handle (see kernel_file.cpp).
#include <algorithm>
#include <string>

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/channel_table.h"
#include "files/channels.h"
#include "files/serial.h"
#include "platform/fileapi.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

// The most bytes one field takes.
constexpr size_t kMaxField = 8192;

// Reads one byte; false at the end of the file (GOT 0) or on a failure (OK
// false).
bool ReadByte(HANDLE handle, char &c, bool &ok) {
  DWORD got = 0;
  ok = ReadFile(handle, &c, 1, &got, nullptr) != FALSE;
  return ok && got == 1;
}

// After a CR that ends a field: consumes the byte behind it only when it
// is the LF of a CR LF pair. False after a runtime error.
bool SkipLineFeed(HANDLE handle) {
  char next;
  bool ok;
  if (ReadByte(handle, next, ok) && next != '\n') SetFilePointer(handle, -1, nullptr, FILE_CURRENT);
  if (!ok) {
    RuntimeError();
    return false;
  }
  return true;
}

// ReadDiskField of a regular file: a piece at a time, with the bytes behind
// the field's end given back, so that the file stands where the byte by
// byte reading would have left it.
bool ReadFileField(Channel &ch, bool wholeLine, std::string &field) {
  constexpr size_t kPiece = 256;
  char piece[kPiece];
  bool any = false;
  while (field.size() < kMaxField) {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min(kPiece, kMaxField - field.size()));
    if (!ReadFile(ch.handle, piece, want, &got, nullptr)) {
      RuntimeError();
      return false;
    }
    if (got == 0) {
      if (!any) RuntimeError();
      return any;
    }
    any = true;
    for (DWORD i = 0; i < got; ++i) {
      char c = piece[i];
      if (c != '\0' && c != '\r' && (c != ',' || wholeLine)) continue;
      field.append(piece, i);
      DWORD used = i + 1;
      bool lineFeedNext = c == '\r' && used == got;
      if (c == '\r' && used < got && piece[used] == '\n') ++used;
      if (used < got)
        SetFilePointer(ch.handle, -static_cast<LONG>(got - used), nullptr, FILE_CURRENT);
      return !lineFeedNext || SkipLineFeed(ch.handle);
    }
    field.append(piece, got);
  }
  return true;
}

bool ReadDiskField(Channel &ch, bool wholeLine, std::string &field) {
  field.clear();
  if (ch.regular) return ReadFileField(ch, wholeLine, field);
  bool any = false;
  while (field.size() < kMaxField) {
    char c;
    bool ok;
    if (!ReadByte(ch.handle, c, ok)) {
      if (!ok || !any) {
        RuntimeError();
        return false;
      }
      return true;
    }
    any = true;
    if (c == '\0') return true;
    if (c == '\r') return SkipLineFeed(ch.handle);
    if (c == ',' && !wholeLine) return true;
    field.push_back(c);
  }
  return true;
}

// The cell of the last plain name INPUT # read into on this thread (its
// resolution is checked on use); null for a name that is not plain.
ScalarCell *LastInputCell(const std::string &name) {
  thread_local std::string last;
  thread_local ScalarCell cell;
  if (name.find_first_of("(). \t\"") != std::string::npos || !ValidNameStart(name)) return nullptr;
  if (name != last) {
    last = name;
    cell = ScalarCell{};
  }
  return &cell;
}

} // namespace

Channel *FindChannel(int number) {
  if (number < 1 || number > kChannelCount) return nullptr;
  return &E().channels.channels[number - 1];
}

int ChannelDigit(char c) {
  return c >= '1' && c <= '9' ? c - '0' : 0;
}

void WriteChannelLine(int channel, const std::string &line) {
  Channel *ch = FindChannel(channel);
  if (!ch || ch->handle == 0) {
    RuntimeError();
    return;
  }
  std::string bytes = DecodeString(line, true);
  if (!bytes.empty() && bytes.back() == '\n') {
    bytes.back() = '\r';
    if (ch->kind == kDiskChannel) bytes.push_back('\n');
  }
  DWORD written = 0;
  if (!WriteFile(ch->handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    RuntimeError();
}

bool ReadChannelField(int channel, bool wholeLine, ThreadIndex slot, std::string &field) {
  field.clear();
  Channel *ch = FindChannel(channel);
  if (!ch || ch->handle == 0) {
    RuntimeError();
    return false;
  }
  if (ch->kind == kSerialChannel) return ReadSerialField(channel, wholeLine, slot, field);
  return ReadDiskField(*ch, wholeLine, field);
}

bool ChannelInput(std::string_view text, bool wholeLine, ThreadIndex slot) {
  int channel = text.size() >= 3 && text[0] == '#' ? ChannelDigit(text[1]) : 0;
  if (channel == 0 || text[2] != ',' || text.size() == 3) {
    RuntimeError();
    return false;
  }
  std::string_view list = text.substr(3);
  size_t at = 0;
  while (at < list.size() || at == 0) {
    std::string name;
    if (wholeLine) {
      name = std::string(list);
      at = list.size();
    } else {
      at = NextArgument(list, at, name);
    }
    // An existing numeric scalar, as the same statement in a loop reads
    // again and again, is written through its cell.
    ScalarCell *cell = wholeLine ? nullptr : LastInputCell(name);
    bool numericCell = cell && ResolveScalar(name, *cell);
    int kind = numericCell ? kDouble : name.empty() ? kRecord : KindOf(name);
    if (kind == kRecord || (wholeLine && kind != kString)) {
      RuntimeError();
      return false;
    }
    std::string field;
    if (!ReadChannelField(channel, wholeLine, slot, field)) return false;
    if (kind == kString)
      SetString(name, EncodeString(field, false));
    else if (numericCell && ResolveScalar(name, *cell))
      WriteScalar(*cell, num::Atof(field));
    else
      SetNumeric(name, num::Atof(field));
    if (at >= list.size()) break;
  }
  return true;
}

bool CloseAllChannels() {
  bool ok = true;
  for (Channel &ch : E().channels.channels) {
    if (ch.handle != 0 && !CloseHandle(ch.handle)) ok = false;
    ch.handle = 0;
    ch.kind = kDiskChannel;
  }
  return ok;
}

ChannelTable::~ChannelTable() {
  for (Channel &ch : channels)
    if (ch.handle != 0) CloseHandle(ch.handle);
}
