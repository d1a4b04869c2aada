#include "builder/lexer.h"

#include <cctype>
#include <cstdint>

#include "platform/cp932.h"

namespace builder {

size_t CharSize(std::string_view s, size_t i) {
  return cp932::IsLeadByte(static_cast<uint8_t>(s[i])) && i + 1 < s.size() && s[i + 1] != '"' ? 2
                                                                                              : 1;
}

bool IsIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsSuffix(char c) {
  return c == '$' || c == '#' || c == '!' || c == '%';
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char &c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

} // namespace

void Lexer::SkipBlanks(size_t &pos) const {
  while (pos < line_.size() && (line_[pos] == ' ' || line_[pos] == '\t')) ++pos;
}

Token Lexer::Scan(size_t &pos) const {
  SkipBlanks(pos);
  Token t;
  t.offset = pos;
  const std::string_view s = line_;
  if (pos >= s.size() || s[pos] == '\'') {
    t.kind = Tok::kEnd;
    t.end = pos;
    return t;
  }
  char c = s[pos];
  size_t start = pos;
  if (IsIdentStart(c) || (c == '.' && pos + 1 < s.size() && IsIdentStart(s[pos + 1]))) {
    ++pos;
    while (pos < s.size() && IsIdentChar(s[pos])) ++pos;
    if (pos < s.size() && IsSuffix(s[pos])) ++pos;
    t.kind = Tok::kIdent;
    t.text.assign(s.substr(start, pos - start));
    t.upper = Upper(t.text);
  } else if (IsDigit(c) || (c == '.' && pos + 1 < s.size() && IsDigit(s[pos + 1]))) {
    while (pos < s.size() && IsDigit(s[pos])) ++pos;
    if (pos < s.size() && s[pos] == '.') {
      ++pos;
      while (pos < s.size() && IsDigit(s[pos])) ++pos;
    }
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
      size_t p = pos + 1;
      if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
      if (p < s.size() && IsDigit(s[p])) {
        pos = p;
        while (pos < s.size() && IsDigit(s[pos])) ++pos;
      }
    }
    if (pos < s.size() && (s[pos] == '#' || s[pos] == '!' || s[pos] == '%')) ++pos;
    t.kind = Tok::kNumber;
    t.text.assign(s.substr(start, pos - start));
  } else if (c == '&' && pos + 2 < s.size() &&
             (s[pos + 1] == 'h' || s[pos + 1] == 'H' || s[pos + 1] == 'o' || s[pos + 1] == 'O') &&
             IsHexDigit(s[pos + 2])) {
    bool hex = s[pos + 1] == 'h' || s[pos + 1] == 'H';
    size_t p = pos + 2;
    while (p < s.size() && (hex ? IsHexDigit(s[p]) : (s[p] >= '0' && s[p] <= '7'))) ++p;
    if (p == pos + 2 || (p < s.size() && (IsIdentChar(s[p]) || IsSuffix(s[p])))) {
      // Not a radix literal: "&" joins strings and a name follows.
      pos = start + 1;
      t.kind = Tok::kOp;
      t.text = "&";
    } else {
      pos = p;
      t.kind = Tok::kNumber;
      t.text.assign(s.substr(start, pos - start));
    }
  } else if (c == '"') {
    ++pos;
    std::string value;
    bool closed = false;
    while (pos < s.size()) {
      char d = s[pos];
      if (d == '"') {
        if (pos + 1 < s.size() && s[pos + 1] == '"') {
          value += '"';
          pos += 2;
          continue;
        }
        ++pos;
        closed = true;
        break;
      }
      size_t n = CharSize(s, pos);
      value.append(s.substr(pos, n));
      pos += n;
    }
    if (!closed) {
      t.kind = Tok::kError;
      t.text = "unterminated string: the closing \" is missing";
    } else {
      t.kind = Tok::kString;
      t.text = std::move(value);
    }
  } else if (c == '<' || c == '>' || c == '=') {
    ++pos;
    if (pos < s.size()) {
      char d = s[pos];
      if ((c == '<' && (d == '=' || d == '>')) || (c == '>' && (d == '=' || d == '<')) ||
          (c == '=' && (d == '<' || d == '>')))
        ++pos;
    }
    t.kind = Tok::kOp;
    t.text.assign(s.substr(start, pos - start));
  } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '\\' || c == '^' || c == '&') {
    ++pos;
    t.kind = Tok::kOp;
    t.text.assign(1, c);
  } else if (c == '(' || c == ')' || c == ',' || c == ';' || c == ':' || c == '#' || c == '@' ||
             c == '?') {
    ++pos;
    t.kind = Tok::kPunct;
    t.text.assign(1, c);
  } else {
    pos += CharSize(s, pos);
    t.kind = Tok::kError;
    t.text = "unexpected character";
  }
  t.end = pos;
  return t;
}

const Token &Lexer::Peek() {
  if (!peeked_) {
    size_t p = pos_;
    peek_ = Scan(p);
    peeked_ = true;
  }
  return peek_;
}

Token Lexer::Next() {
  Peek();
  peeked_ = false;
  pos_ = peek_.end;
  return peek_;
}

Token Lexer::PeekSecond() {
  size_t p = Peek().end;
  if (peek_.kind == Tok::kEnd) return peek_;
  return Scan(p);
}

size_t Lexer::NextOffset() {
  return Peek().offset;
}

std::string Lexer::ReadLabelName() {
  size_t p = pos_;
  SkipBlanks(p);
  size_t start = p;
  while (p < line_.size() && (IsIdentChar(line_[p]))) ++p;
  if (p < line_.size() && IsSuffix(line_[p]) && p > start) ++p;
  std::string name(line_.substr(start, p - start));
  if (!name.empty()) {
    pos_ = p;
    peeked_ = false;
  }
  return name;
}

std::string Lexer::ReadRawItem(bool &unterminatedQuote) {
  size_t p = pos_;
  SkipBlanks(p);
  size_t start = p;
  bool quote = false;
  unterminatedQuote = false;
  while (p < line_.size()) {
    char c = line_[p];
    if (c == '"') quote = !quote;
    if (!quote && (c == ',' || c == ':' || c == '\'')) break;
    p += CharSize(line_, p);
  }
  unterminatedQuote = quote;
  size_t end = p;
  while (end > start && (line_[end - 1] == ' ' || line_[end - 1] == '\t')) --end;
  pos_ = p;
  peeked_ = false;
  return std::string(line_.substr(start, end - start));
}

} // namespace builder
