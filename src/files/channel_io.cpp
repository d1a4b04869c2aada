// Text on channels: PRINT and WRITE lines out, INPUT and LINE INPUT fields
// in. Disk writes are collected by the file handle (see kernel_file.cpp).
#include <string>

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

bool ReadDiskField(Channel &ch, bool wholeLine, std::string &field) {
  field.clear();
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
    if (c == '\r') {
      // A CR ends the field; the byte after it is consumed only when it is
      // the LF of a CR LF pair.
      char next;
      if (ReadByte(ch.handle, next, ok) && next != '\n')
        SetFilePointer(ch.handle, -1, nullptr, FILE_CURRENT);
      if (!ok) {
        RuntimeError();
        return false;
      }
      return true;
    }
    if (c == ',' && !wholeLine) return true;
    field.push_back(c);
  }
  return true;
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
    int kind = name.empty() ? kRecord : KindOf(name);
    if (kind == kRecord || (wholeLine && kind != kString)) {
      RuntimeError();
      return false;
    }
    std::string field;
    if (!ReadChannelField(channel, wholeLine, slot, field)) return false;
    if (kind == kString)
      SetString(name, EncodeString(field, false));
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
