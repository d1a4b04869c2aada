// The string built-in functions: extraction and search by bytes and by
// Shift-JIS characters, lengths, conversions between numbers and strings,
// character codes, width conversion, and the MID$ statement.
#include <algorithm>

#include "data/variables.h"
#include "expr/builtin.h"
#include "expr/eval.h"
#include "expr/function_statements.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "platform/nls.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

namespace {

using num::TruncInt32;

// Space$ and String$ refuse results longer than this rather than exhaust
// memory.
constexpr int64_t kMaxRepeatedBytes = 16 * 1024 * 1024;

// How far KLen and Val look into their texts.
constexpr size_t kScanLimit = 8192;

std::string Literal(std::string_view raw) {
  return EncodeString(raw, true);
}

// Whether a string argument names one variable, whose value can then be
// read where it stands, without the copy that EvalString would make.
bool OneVariable(std::string_view arg) {
  return !arg.empty() && arg.find_first_of("+&\"") == std::string_view::npos;
}

// A string argument in string text form, without decoding it: a variable's
// value where it stands, anything else evaluated into HOLD.
std::string_view Encoded(std::string_view arg, std::string &hold) {
  if (OneVariable(arg)) {
    const std::string *value = GetString(arg);
    return value ? std::string_view(*value) : std::string_view();
  }
  hold = EvalString(arg);
  return hold;
}

// The decoded value of a string argument.
std::string Raw(std::string_view arg, bool keepNul) {
  std::string hold;
  return DecodeString(Encoded(arg, hold), keepNul);
}

// The decoded length of a string in string text form; a text that does not
// decode is a runtime error and counts as empty, as DecodeString makes it.
size_t LengthOf(std::string_view encoded) {
  size_t n = DecodedLength(encoded);
  if (n != std::string_view::npos) return n;
  RuntimeError();
  return 0;
}

int64_t Whole(std::string_view arg) {
  return TruncInt32(EvalNumeric(arg));
}

bool IsLead(const std::string &s, size_t i) {
  return IsDBCSLeadByte(static_cast<BYTE>(s[i])) != FALSE;
}

// The byte offset reached by walking COUNT characters from FROM; a lead byte
// and the byte after it are one character. Never beyond the end of S.
size_t WalkChars(const std::string &s, size_t from, int64_t count) {
  size_t i = from;
  for (int64_t n = 0; n < count && i < s.size(); ++n) i += IsLead(s, i) ? 2 : 1;
  return std::min(i, s.size());
}

// The number of characters that start before byte offset END.
int64_t CharsBefore(const std::string &s, size_t end) {
  int64_t n = 0;
  for (size_t i = 0; i < end && i < s.size(); i += IsLead(s, i) ? 2 : 1) ++n;
  return n;
}

// ---- Extraction ----

std::string Left(std::string_view a, ThreadIndex) {
  std::vector<std::string> args;
  if (!CutArguments(a, 2, 2, args)) return EmptyLiteral();
  std::string s = Raw(args[0], true);
  int64_t n = Whole(args[1]);
  if (n <= 0) return EmptyLiteral();
  return Literal(std::string_view(s).substr(0, static_cast<size_t>(n)));
}

std::string Right(std::string_view a, ThreadIndex) {
  std::vector<std::string> args;
  if (!CutArguments(a, 2, 2, args)) return EmptyLiteral();
  std::string s = Raw(args[0], true);
  int64_t n = Whole(args[1]);
  if (n < 0) {
    RuntimeError();
    return EmptyLiteral();
  }
  size_t keep = std::min(static_cast<size_t>(n), s.size());
  return Literal(std::string_view(s).substr(s.size() - keep));
}

std::string Mid(std::string_view a, ThreadIndex) {
  std::vector<std::string> args;
  if (!CutArguments(a, 2, 3, args)) return EmptyLiteral();
  // Only the part taken is decoded: the value may be long.
  std::string hold;
  std::string_view s = Encoded(args[0], hold);
  int64_t length = static_cast<int64_t>(LengthOf(s));
  int64_t start0 = std::min(Whole(args[1]) - 1, length);
  int64_t n = args.size() == 3 ? Whole(args[2]) : length - start0;
  if (start0 < 0 || n < 0) {
    RuntimeError();
    return EmptyLiteral();
  }
  n = std::min(n, length - start0);
  return Literal(DecodeRange(s, true, static_cast<size_t>(start0), static_cast<size_t>(n)));
}

std::string KMid(std::string_view a, ThreadIndex) {
  std::vector<std::string> args;
  if (!CutArguments(a, 2, 3, args)) return EmptyLiteral();
  std::string s = Raw(args[0], true);
  int64_t skip = Whole(args[1]) - 1;
  int64_t n = args.size() == 3 ? Whole(args[2]) : 0;
  if (skip < 0 || n < 0) {
    RuntimeError();
    return EmptyLiteral();
  }
  size_t start0 = WalkChars(s, 0, skip);
  size_t end = args.size() == 3 ? WalkChars(s, start0, n) : s.size();
  return Literal(std::string_view(s).substr(start0, end - start0));
}

// ---- Lengths and searches ----

std::string Len(std::string_view a, ThreadIndex) {
  std::string hold;
  return num::FormatD(static_cast<int32_t>(LengthOf(Encoded(a, hold))));
}

std::string KLen(std::string_view a, ThreadIndex) {
  std::string s = Raw(a, false);
  size_t end = std::min(s.size(), kScanLimit);
  return num::FormatD(static_cast<int32_t>(CharsBefore(s, end)));
}

// The arguments of Instr and KInstr: [start,] s, t. START is 1 without one.
bool SearchArguments(std::string_view a, int64_t &start, std::string &s, std::string &t) {
  std::vector<std::string> args;
  if (ArgCount(a, 3, false)) {
    CutArguments(a, 3, 3, args);
  } else if (ArgCount(a, 2, true)) {
    CutArguments(a, 2, 2, args);
  } else {
    return false;
  }
  start = 1;
  size_t first = 0;
  if (args.size() == 3) {
    start = Whole(args[0]);
    first = 1;
    if (start < 1) {
      RuntimeError();
      return false;
    }
  }
  s = Raw(args[first], false);
  t = Raw(args[first + 1], false);
  return true;
}

std::string Instr(std::string_view a, ThreadIndex) {
  int64_t start;
  std::string s, t;
  if (!SearchArguments(a, start, s, t)) return "0";
  int64_t start0 = start - 1;
  if (t.empty()) return num::FormatD(static_cast<int32_t>(start0 + 1));
  if (start0 > static_cast<int64_t>(s.size())) return "0";
  size_t found = s.find(t, static_cast<size_t>(start0));
  return found == std::string::npos ? "0" : num::FormatD(static_cast<int32_t>(found + 1));
}

std::string KInstr(std::string_view a, ThreadIndex) {
  int64_t start;
  std::string s, t;
  if (!SearchArguments(a, start, s, t)) return "0";
  // An empty search text is found where the search starts, as in Instr.
  if (t.empty()) return num::FormatD(static_cast<int32_t>(start));
  size_t found = s.find(t, WalkChars(s, 0, start - 1));
  if (found == std::string::npos) return "0";
  return num::FormatD(static_cast<int32_t>(CharsBefore(s, found) + 1));
}

// ---- Building strings ----

std::string Space(std::string_view a, ThreadIndex) {
  int64_t n = Whole(a);
  if (n < 0 || n > kMaxRepeatedBytes) {
    RuntimeError();
    return EmptyLiteral();
  }
  return "\"" + std::string(static_cast<size_t>(n), ' ') + "\"";
}

std::string StringS(std::string_view a, ThreadIndex) {
  std::vector<std::string> args;
  if (!CutArguments(a, 2, 2, args)) return EmptyLiteral();
  int64_t n = Whole(args[0]);
  std::string s = EvalString(args[1]);
  if (n < 0 || n * static_cast<int64_t>(s.size()) > kMaxRepeatedBytes) {
    RuntimeError();
    return EmptyLiteral();
  }
  std::string out = "\"";
  out.reserve(s.size() * static_cast<size_t>(n) + 2);
  for (int64_t i = 0; i < n; ++i) out += s;
  out += '"';
  return out;
}

std::string Str(std::string_view a, ThreadIndex) {
  return "\"" + num::DisplayNumber(EvalNumeric(a)) + "\"";
}

std::string Hex(std::string_view a, ThreadIndex) {
  return "\"" + num::FormatX(TruncInt32(EvalNumeric(a))) + "\"";
}

std::string Oct(std::string_view a, ThreadIndex) {
  return "\"" + num::FormatO(TruncInt32(EvalNumeric(a))) + "\"";
}

std::string Chr(std::string_view a, ThreadIndex) {
  std::string text;
  CharToText(static_cast<char>(TruncInt32(EvalNumeric(a)) & 255), text);
  return "\"" + text + "\"";
}

std::string Asc(std::string_view a, ThreadIndex) {
  std::string s = Raw(a, true);
  return num::FormatD(s.empty() ? 0 : static_cast<uint8_t>(s[0]));
}

// ---- Val ----

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHexLetter(char c) {
  return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string Val(std::string_view a, ThreadIndex) {
  std::string text = EvalString(a);
  std::string s;
  for (size_t i = 0; i < text.size() && i < kScanLimit; ++i)
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '"') s.push_back(text[i]);

  int radix = 10;
  size_t amp = s.find('&');
  if (amp != std::string::npos && amp + 1 < s.size()) {
    char r = s[amp + 1];
    if (r == 'o' || r == 'O') radix = 8;
    if (r == 'h' || r == 'H') radix = 16;
    if (radix != 10) s.erase(amp, 2);
  }

  std::string collected;
  bool signSeen = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (IsDigit(c) || (radix == 16 && IsHexLetter(c))) {
      collected.push_back(c);
    } else if (c == '+' || c == '-') {
      if (signSeen) break;
      signSeen = true;
      collected.push_back(c);
    } else if (radix == 10 && c == '.') {
      collected.push_back(c);
    } else if (radix == 10 && (c == 'e' || c == 'E') && i + 1 < s.size() &&
               (IsDigit(s[i + 1]) || s[i + 1] == '+' || s[i + 1] == '-')) {
      collected.push_back(c);
      if (!IsDigit(s[i + 1])) collected.push_back(s[++i]);
    } else {
      break;
    }
  }

  if (radix == 10) return num::FormatG15(num::Atof(collected));
  if (!collected.empty() && collected[0] == '-') return "0";
  std::string prefixed = (radix == 8 ? "0" : "0x") + collected;
  return num::FormatG15(num::Strtol(prefixed, 0).value);
}

// ---- Width conversion ----

std::string FullWidth(std::string_view a, ThreadIndex) {
  std::string s = Raw(a, true);
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsLead(s, i) && i + 1 < s.size()) {
      out.append(s, i, 2);
      ++i;
      continue;
    }
    uint16_t wide = cp932::ToFullWidth(static_cast<uint8_t>(s[i]));
    if (wide > 0xFF) {
      out.push_back(static_cast<char>(wide >> 8));
      out.push_back(static_cast<char>(wide & 0xFF));
    } else {
      out.push_back(s[i]);
    }
  }
  return Literal(out);
}

std::string HalfWidth(std::string_view a, ThreadIndex) {
  std::string s = Raw(a, true);
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!IsLead(s, i) || i + 1 >= s.size()) {
      out.push_back(s[i]);
      continue;
    }
    uint16_t code =
        static_cast<uint16_t>(static_cast<uint8_t>(s[i]) << 8 | static_cast<uint8_t>(s[i + 1]));
    uint16_t narrow = cp932::ToHalfWidth(code);
    if (narrow <= 0xFF) {
      out.push_back(static_cast<char>(narrow));
    } else {
      out.append(s, i, 2);
    }
    ++i;
  }
  return Literal(out);
}

struct Entry {
  uint16_t code;
  BuiltinFunction impl;
};

constexpr Entry kEntries[] = {
    {0x310, FullWidth}, {0x311, Asc},     {0x312, Chr},  {0x314, Hex},   {0x317, Instr},
    {0x318, HalfWidth}, {0x319, KInstr},  {0x31a, KLen}, {0x31b, KMid},  {0x31c, Left},
    {0x31d, Len},       {0x31e, Mid},     {0x31f, Oct},  {0x320, Right}, {0x321, Space},
    {0x323, Str},       {0x324, StringS}, {0x326, Val},
};

} // namespace

BuiltinFunction FindStringFunction(uint16_t code) {
  for (const Entry &e : kEntries)
    if (e.code == code) return e.impl;
  return nullptr;
}

void MIDS(std::string &arg, ThreadIndex) {
  std::string text = StripBlanks(arg);
  // "(" variable, start [, length] ")=" replacement
  size_t close = std::string::npos;
  if (!text.empty() && text[0] == '(') {
    int depth = 0;
    bool inQuotes = false;
    for (size_t i = 0; i < text.size(); ++i) {
      char c = text[i];
      if (c == '"') inQuotes = !inQuotes;
      if (inQuotes) continue;
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) {
        close = i;
        break;
      }
    }
  }
  if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != '=') {
    RuntimeError();
    return;
  }
  std::vector<std::string> args;
  if (!CutArguments(std::string_view(text).substr(1, close - 1), 2, 3, args)) return;
  const std::string &name = args[0];
  if (KindOf(name) != kString) {
    RuntimeError();
    return;
  }
  std::string replacement = DecodeString(EvalString(text.substr(close + 2)), true);
  int64_t start = Whole(args[1]);
  int64_t n = args.size() == 3 ? Whole(args[2]) : static_cast<int64_t>(replacement.size());
  if (n < 0) {
    RuntimeError();
    return;
  }
  const std::string *current = GetString(name);
  std::string value = current ? DecodeString(*current, true) : std::string();
  int64_t length = static_cast<int64_t>(value.size());
  if (start < 1 || start > length) return;
  n = std::min({n, static_cast<int64_t>(replacement.size()), length - start + 1});
  value.replace(static_cast<size_t>(start - 1), static_cast<size_t>(n), replacement, 0,
                static_cast<size_t>(n));
  SetString(name, EncodeString(value, false));
}
