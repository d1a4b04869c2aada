#include "expr/string_text.h"

#include <algorithm>

#include "runtime/runtime_error.h"

void CharToText(char c, std::string &out) {
  switch (c) {
  case 0x01:
    out += "\x01\x01";
    break;
  case '"':
    out += "\x01z";
    break;
  case '\0':
    out += "\x01"
           "0";
    break;
  default:
    out.push_back(c);
  }
}

std::string EncodeString(std::string_view raw, bool quoted) {
  std::string out;
  out.reserve(raw.size() + 2);
  if (quoted) out.push_back('"');
  // Runs without a byte to escape are copied whole.
  size_t i = 0;
  while (i < raw.size()) {
    size_t special = i;
    while (special < raw.size() && raw[special] != 0x01 && raw[special] != '"' &&
           raw[special] != '\0')
      ++special;
    out.append(raw.substr(i, special - i));
    if (special == raw.size()) break;
    CharToText(raw[special], out);
    i = special + 1;
  }
  if (quoted) out.push_back('"');
  return out;
}

std::string DecodeString(std::string_view text, bool keepNul) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    // Runs without an escape are copied whole.
    size_t escape = text.find('\x01', i);
    if (escape == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, escape - i));
    i = escape;
    char next = i + 1 < text.size() ? text[++i] : '\0';
    switch (next) {
    case 0x01:
      out.push_back(0x01);
      break;
    case 'z':
      out.push_back('"');
      break;
    case 'y':
      out.push_back(' ');
      break;
    case '0':
      out.push_back(keepNul ? '\0' : ' ');
      break;
    default:
      RuntimeError();
      return std::string();
    }
    ++i;
  }
  return out;
}

namespace {

bool ValidEscape(char next) {
  return next == 0x01 || next == 'z' || next == 'y' || next == '0';
}

// The offset in TEXT where decoded byte DECODED starts (TEXT's size past
// the end).
size_t EncodedOffset(std::string_view text, size_t decoded) {
  size_t i = 0;
  while (decoded > 0 && i < text.size()) {
    // Only the bytes that can lie before the offset are searched.
    size_t window = std::min(decoded, text.size() - i);
    size_t escape = text.substr(i, window).find('\x01');
    if (escape == std::string_view::npos) return i + window;
    decoded -= escape + 1; // the bytes before the escape, and what it stands for
    i += escape + 2;
  }
  return std::min(i, text.size());
}

} // namespace

size_t DecodedLength(std::string_view text) {
  size_t escapes = 0;
  for (size_t i = text.find('\x01'); i != std::string_view::npos; i = text.find('\x01', i + 2)) {
    if (i + 1 >= text.size() || !ValidEscape(text[i + 1])) return std::string_view::npos;
    ++escapes;
  }
  return text.size() - escapes;
}

std::string DecodeRange(std::string_view text, bool keepNul, size_t start, size_t count) {
  size_t from = EncodedOffset(text, start);
  std::string_view rest = text.substr(from);
  return DecodeString(rest.substr(0, EncodedOffset(rest, count)), keepNul);
}
