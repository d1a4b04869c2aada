#include "expr/pre_evaluate.h"

#include "expr/call_depth.h"
#include "expr/call_function.h"
#include "expr/function_codes.h"
#include "expr/routines.h"
#include "expr/user_functions.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

constexpr size_t kMaxFnNameLength = 1023;

bool IsControl(const std::string &text, size_t i) {
  return static_cast<uint8_t>(text[i]) == tok::kControl && i + 1 < text.size();
}

// The number of bytes of the control token at I: a function token carries
// two code bytes, which may be any bytes (a blank, a comma).
size_t TokenLength(const std::string &text, size_t i) {
  return static_cast<uint8_t>(text[i + 1]) == tok::kFunction ? 4 : 2;
}

// The ")" that closes the "(" at OPEN, counting outside double quotes and
// over whole tokens; npos when the text ends first.
size_t MatchingParen(const std::string &text, size_t open) {
  int depth = 0;
  bool inQuotes = false;
  for (size_t i = open; i < text.size();) {
    char c = text[i];
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if (IsControl(text, i)) {
        i += TokenLength(text, i);
        continue;
      }
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) return i;
    }
    ++i;
  }
  return std::string::npos;
}

bool Rewrite(std::string &text, ThreadIndex slot);

// Reports a call that cannot be read.
bool Malformed() {
  RuntimeError();
  return false;
}

// The argument text between the "(" at OPEN and its ")", rewritten; CLOSE
// receives the ")"'s index. False when the text is malformed.
bool Arguments(const std::string &text, size_t open, ThreadIndex slot, std::string &args,
               size_t &close) {
  close = MatchingParen(text, open);
  if (close == std::string::npos) return Malformed();
  args = text.substr(open + 1, close - open - 1);
  return Rewrite(args, slot);
}

// A routine call at I: name, 0x02, the header position in hexadecimal, then
// the parenthesised arguments.
bool RoutineCall(const std::string &text, size_t i, ThreadIndex slot, std::string &result,
                 size_t &end) {
  bool wantValue = static_cast<uint8_t>(text[i + 1]) == tok::kCallValue;
  size_t mark = text.find('\x02', i + 2);
  if (mark == std::string::npos) return Malformed();
  std::string name = text.substr(i + 2, mark - i - 2);
  auto header = ReadHex(text.c_str() + mark + 1);
  size_t open = text.find('(', mark + 1);
  if (!header || open == std::string::npos) return Malformed();
  std::string args;
  size_t close;
  if (!Arguments(text, open, slot, args, close)) return false;
  result = RunRoutine(*header, name, args, wantValue, slot);
  // A call whose value is not wanted is a statement of its own and leaves
  // nothing behind.
  if (!wantValue) result.clear();
  end = close + 1;
  return true;
}

// A DEFFN function call at I: the name runs to its "(".
bool UserFunctionCall(const std::string &text, size_t i, ThreadIndex slot, std::string &result,
                      size_t &end) {
  size_t start = i + 4;
  size_t open = text.find_first_of("(=", start);
  // The parentheses are required: without them the name has no reliable end.
  if (open == std::string::npos || text[open] != '(' || open - start > kMaxFnNameLength)
    return Malformed();
  std::string args;
  size_t close;
  if (!Arguments(text, open, slot, args, close)) return false;
  result = FN(std::string_view(text).substr(start, open - start), args, slot);
  end = close + 1;
  return true;
}

// A built-in function call at I, with or without an argument list.
bool BuiltinCall(const std::string &text, size_t i, ThreadIndex slot, std::string &result,
                 size_t &end) {
  uint16_t code = static_cast<uint16_t>(static_cast<uint8_t>(text[i + 2]) << 8 |
                                        static_cast<uint8_t>(text[i + 3]));
  std::string args;
  end = i + 4;
  if (end < text.size() && text[end] == '(') {
    size_t close;
    if (!Arguments(text, end, slot, args, close)) return false;
    end = close + 1;
  }
  result = CallFunction(code, args, slot);
  return true;
}

// Replaces every call in TEXT by its result, innermost first; results are
// not scanned again. False, after a runtime error, when TEXT is malformed.
bool Rewrite(std::string &text, ThreadIndex slot) {
  DepthGuard nesting(DepthKind::Nesting);
  if (!nesting.Entered()) return Malformed();
  // Every call starts with a control byte; most statements hold none.
  if (text.find(static_cast<char>(tok::kControl)) == std::string::npos) return true;
  bool inQuotes = false;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"') inQuotes = !inQuotes;
    if (inQuotes || !IsControl(text, i)) {
      ++i;
      continue;
    }
    uint8_t code = static_cast<uint8_t>(text[i + 1]);
    std::string result;
    size_t end = 0;
    bool ok;
    if (code == tok::kCallSub || code == tok::kCallValue) {
      ok = RoutineCall(text, i, slot, result, end);
    } else if (code == tok::kFunction) {
      if (i + 3 >= text.size()) {
        ok = Malformed();
      } else if (static_cast<uint8_t>(text[i + 2]) == (fn::kUserFnCode >> 8) &&
                 static_cast<uint8_t>(text[i + 3]) == (fn::kUserFnCode & 0xFF)) {
        ok = UserFunctionCall(text, i, slot, result, end);
      } else {
        ok = BuiltinCall(text, i, slot, result, end);
      }
    } else {
      i += 2;
      continue;
    }
    if (!ok) return false;
    text.replace(i, end - i, result);
    i += result.size();
  }
  return true;
}

} // namespace

void PreEvaluate(std::string &text, ThreadIndex slot) {
  // A DEFFN statement keeps its body's calls for the calls of the function.
  if (text.size() >= 2 && static_cast<uint8_t>(text[0]) == tok::High(tok::kDEFFN) &&
      static_cast<uint8_t>(text[1]) == tok::Low(tok::kDEFFN))
    return;
  // A statement that cannot be read is abandoned.
  if (!Rewrite(text, slot)) text.clear();
}
