// Random-access records: FIELD declares a channel's record layout, LSET and
// RSET fit values into field variables, and the channel forms of GET and
// PUT move record r between the file and the field variables, byte for
// byte.
#include <algorithm>
#include <string>
#include <vector>

#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/channel_table.h"
#include "files/channels.h"
#include "files/error_watch.h"
#include "files/file_statements.h"
#include "platform/fileapi.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

// Records are moved in pieces of this size, so a wide field never needs
// one large buffer.
constexpr size_t kPiece = 65536;

std::string Trim(std::string_view text) {
  size_t b = text.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = text.find_last_not_of(" \t");
  return std::string(text.substr(b, e - b + 1));
}

// The AS token at or after FROM, outside quotes; npos when there is none.
size_t FindAs(const std::string &text, size_t from) {
  bool inQuotes = false;
  for (size_t i = from; i < text.size();) {
    if (text[i] == '"') inQuotes = !inQuotes;
    if (text[i] == tok::kControl) {
      if (!inQuotes && i + 1 < text.size() && text[i + 1] == tok::kAs) return i;
      i += 2;
      continue;
    }
    ++i;
  }
  return std::string::npos;
}

// The end of a field name: the next "," outside parentheses and quotes.
size_t NameEnd(const std::string &text, size_t from) {
  int depth = 0;
  bool inQuotes = false;
  for (size_t i = from; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth <= 0) return i;
  }
  return text.size();
}

// The channel and the width of field variable NAME: the first match in the
// layouts of channels 1 to 9.
bool FindField(const std::string &name, int32_t &width) {
  for (int n = 1; n <= kChannelCount; ++n) {
    const Channel &ch = *FindChannel(n);
    for (size_t i = 0; i < ch.fieldNames.size(); ++i) {
      if (ch.fieldNames[i] == name) {
        width = ch.fieldWidths[i];
        return true;
      }
    }
  }
  return false;
}

void SetField(std::string &arg, bool right) {
  size_t eq = arg.find('=');
  if (eq == std::string::npos) {
    RuntimeError();
    return;
  }
  std::string name = Trim(std::string_view(arg).substr(0, eq));
  int32_t width = 0;
  // A variable that no FIELD declared has no width to fit the value to.
  if (!FindField(name, width)) {
    RuntimeError();
    return;
  }
  ErrorWatch watch;
  std::string value = DecodeString(EvalString(std::string_view(arg).substr(eq + 1)), true);
  if (watch.Raised()) return;
  size_t w = static_cast<size_t>(width);
  if (value.size() > w)
    value.resize(w);
  else if (right)
    value.insert(0, w - value.size(), ' ');
  else
    value.append(w - value.size(), ' ');
  SetString(name, EncodeString(value, false));
}

// The channel of a "#n,record" argument, positioned at the record's first
// byte; null after a runtime error.
Channel *SeekRecord(const std::string &arg) {
  int number = arg.size() >= 3 && arg[0] == '#' ? ChannelDigit(arg[1]) : 0;
  if (number == 0) {
    RuntimeError();
    return nullptr;
  }
  ErrorWatch watch;
  int32_t record = num::TruncInt32(EvalNumeric(std::string_view(arg).substr(3)));
  if (watch.Raised()) return nullptr;
  Channel *ch = FindChannel(number);
  // Records need an open disk file.
  if (record < 1 || ch->handle == 0 || ch->kind != kDiskChannel) {
    RuntimeError();
    return nullptr;
  }
  int64_t length = 0;
  for (int32_t w : ch->fieldWidths) length += w;
  int64_t position = (static_cast<int64_t>(record) - 1) * length;
  LONG high = static_cast<LONG>(position >> 32);
  SetFilePointer(ch->handle, static_cast<LONG>(position & 0xFFFFFFFF), &high, FILE_BEGIN);
  return ch;
}

} // namespace

void FIELD(std::string &arg, ThreadIndex) {
  size_t p = !arg.empty() && arg[0] == '#' ? 1 : 0;
  int number = p < arg.size() ? ChannelDigit(arg[p]) : 0;
  if (number == 0) {
    RuntimeError();
    return;
  }
  Channel &ch = *FindChannel(number);
  ch.fieldNames.clear();
  ch.fieldWidths.clear();
  // The layout is built aside and set only when the whole statement is
  // good; after an error the channel has no layout.
  std::vector<std::string> names;
  std::vector<int32_t> widths;
  size_t namesLength = 0;
  size_t at = p + 2; // behind the digit and the separator byte
  while (at < arg.size()) {
    size_t as = FindAs(arg, at);
    if (as == std::string::npos) {
      RuntimeError();
      return;
    }
    ErrorWatch watch;
    int32_t width = num::TruncInt32(EvalNumeric(std::string_view(arg).substr(at, as - at)));
    if (watch.Raised()) return;
    size_t end = NameEnd(arg, as + 2);
    std::string name = Trim(std::string_view(arg).substr(as + 2, end - as - 2));
    namesLength += name.size() + (names.empty() ? 0 : 1);
    if (width < 0 || name.empty() || KindOf(name) != kString || names.size() >= kMaxFields ||
        namesLength > kMaxFieldNamesLength) {
      RuntimeError();
      return;
    }
    names.push_back(name);
    widths.push_back(width);
    at = end + 1;
  }
  ch.fieldNames = std::move(names);
  ch.fieldWidths = std::move(widths);
}

void LSET(std::string &arg, ThreadIndex) {
  SetField(arg, false);
}

void RSET(std::string &arg, ThreadIndex) {
  SetField(arg, true);
}

void ChannelGet(const std::string &arg) {
  Channel *ch = SeekRecord(arg);
  if (!ch) return;
  // Fields beyond the end of the file come out shorter or empty.
  std::vector<char> piece(kPiece);
  bool atEnd = false;
  for (size_t i = 0; i < ch->fieldNames.size(); ++i) {
    std::string bytes;
    size_t want = static_cast<size_t>(ch->fieldWidths[i]);
    while (!atEnd && bytes.size() < want) {
      DWORD got = 0;
      DWORD ask = static_cast<DWORD>(std::min(kPiece, want - bytes.size()));
      if (!ReadFile(ch->handle, piece.data(), ask, &got, nullptr)) {
        RuntimeError();
        return;
      }
      if (got == 0) atEnd = true;
      bytes.append(piece.data(), got);
    }
    SetString(ch->fieldNames[i], EncodeString(bytes, false));
  }
}

void ChannelPut(const std::string &arg) {
  Channel *ch = SeekRecord(arg);
  if (!ch) return;
  for (size_t i = 0; i < ch->fieldNames.size(); ++i) {
    ErrorWatch watch;
    std::string value = DecodeString(EvalString(ch->fieldNames[i]), true);
    if (watch.Raised()) return;
    size_t width = static_cast<size_t>(ch->fieldWidths[i]);
    if (value.size() > width) value.resize(width);
    // Blanks fill the field; a wide field is written piece by piece.
    for (size_t done = 0; done < width;) {
      size_t n = std::min(kPiece, width - done);
      std::string out;
      if (done < value.size()) out = value.substr(done, n);
      out.append(n - out.size(), ' ');
      DWORD written = 0;
      if (!WriteFile(ch->handle, out.data(), static_cast<DWORD>(n), &written, nullptr) ||
          written != n) {
        RuntimeError();
        return;
      }
      done += n;
    }
  }
}
