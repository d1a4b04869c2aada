#include "expr/string_text.h"

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
  for (char c : raw) CharToText(c, out);
  if (quoted) out.push_back('"');
  return out;
}

std::string DecodeString(std::string_view text, bool keepNul) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != 0x01) {
      out.push_back(c);
      continue;
    }
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
  }
  return out;
}
