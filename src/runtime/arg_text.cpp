#include "runtime/arg_text.h"

#include <cctype>

#include "runtime/runtime_error.h"

std::string StripBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool inQuotes = false;
  for (char c : text) {
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes && (c == ' ' || c == '\t')) continue;
    out.push_back(c);
  }
  return out;
}

size_t NextArgument(std::string_view text, size_t start, std::string &out) {
  out.clear();
  int depth = 0;
  bool inQuotes = false;
  size_t i = start;
  for (; i < text.size() && text[i] != 0; ++i) {
    char c = text[i];
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if (c == '(') {
        ++depth;
      } else if (c == ')') {
        --depth;
      } else if (c == ',' && depth == 0) {
        return i + 1;
      }
    }
    out.push_back(c);
  }
  return i;
}

bool ArgCount(std::string_view text, int n, bool report) {
  int count = 1;
  int depth = 0;
  bool inQuotes = false;
  for (char c : text) {
    if (c == 0) break;
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if (c == '(') {
        ++depth;
      } else if (c == ')') {
        if (--depth < 0) {
          RuntimeError();
          return false;
        }
      } else if (c == ',' && depth == 0) {
        ++count;
      }
    }
  }
  if (count == n) return true;
  if (report) RuntimeError();
  return false;
}

void Unquote(std::string &text) {
  if (text.empty() || text[0] != '"') return;
  size_t close = text.find('"', 1);
  if (close == std::string::npos) {
    text.erase(0, 1);
  } else {
    text = text.substr(1, close - 1);
  }
}

void Quote(std::string &text) {
  if (!text.empty() && text[0] == '"') return;
  text.insert(text.begin(), '"');
  text.push_back('"');
}

void ShiftText(std::string &text, size_t at, long n) {
  if (n > 0) {
    size_t tail = text.size() - at;
    text.resize(text.size() + static_cast<size_t>(n));
    std::copy_backward(text.begin() + static_cast<long>(at),
                       text.begin() + static_cast<long>(at + tail), text.end());
  } else if (n < 0) {
    size_t back = static_cast<size_t>(-n);
    if (back > at) back = at;
    text.erase(at - back, back);
  }
}

std::optional<ProgramPosition> ReadHex(const char *text) {
  const char *p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<uint8_t>(p[2])))
    p += 2;
  if (!std::isxdigit(static_cast<uint8_t>(*p))) return std::nullopt;
  uint32_t v = 0;
  for (; std::isxdigit(static_cast<uint8_t>(*p)); ++p) {
    uint8_t c = static_cast<uint8_t>(*p);
    uint32_t d = std::isdigit(c) ? c - '0' : (std::tolower(c) - 'a' + 10);
    v = v * 16 + d;
  }
  return negative ? 0u - v : v;
}

bool ScanInt(const char *&p, int32_t &out) {
  const char *q = p;
  while (std::isspace(static_cast<uint8_t>(*q))) ++q;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (!std::isdigit(static_cast<uint8_t>(*q))) return false;
  uint32_t v = 0;
  while (std::isdigit(static_cast<uint8_t>(*q))) v = v * 10 + static_cast<uint32_t>(*q++ - '0');
  out = static_cast<int32_t>(negative ? 0u - v : v);
  p = q;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<uint8_t>(text[i])) != std::tolower(static_cast<uint8_t>(word[i])))
      return false;
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}
