#include "graphics/graphics_args.h"

#include "expr/eval.h"
#include "expr/number_text.h"
#include "files/error_watch.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

namespace gfx {

size_t MatchingParen(std::string_view text, size_t open) {
  int depth = 0;
  bool quoted = false;
  for (size_t i = open; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return i;
  }
  return std::string_view::npos;
}

bool ReadPair(std::string_view text, size_t &pos, int32_t &x, int32_t &y) {
  if (pos >= text.size() || text[pos] != '(') {
    RuntimeError();
    return false;
  }
  size_t close = MatchingParen(text, pos);
  if (close == std::string_view::npos) {
    RuntimeError();
    return false;
  }
  std::vector<std::string> parts = SplitArguments(text.substr(pos + 1, close - pos - 1));
  if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) {
    RuntimeError();
    return false;
  }
  x = EvalInt(parts[0]);
  y = EvalInt(parts[1]);
  pos = close + 1;
  return true;
}

bool ReadPointAndArguments(std::string_view text, int32_t &x, int32_t &y, size_t min, size_t max,
                           std::vector<std::string> &args) {
  ErrorWatch watch;
  size_t pos = 0;
  if (!ReadPair(text, pos, x, y) || watch.Raised()) return false;
  // ",a,..." splits into the empty text before the comma and the rest.
  args = SplitArguments(text.substr(pos));
  if (pos >= text.size() || text[pos] != ',' || args.size() < min + 1 || args.size() > max + 1 ||
      args[1].empty()) {
    RuntimeError();
    return false;
  }
  args.erase(args.begin());
  return true;
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> out;
  if (text.empty()) return out;
  out.emplace_back();
  int depth = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (!quoted) {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (c == ',' && depth == 0) {
        out.emplace_back();
        continue;
      }
    }
    out.back().push_back(c);
  }
  return out;
}

bool ExactArguments(std::string_view text, size_t count, std::vector<std::string> &out) {
  out = SplitArguments(text);
  bool ok = out.size() == count;
  for (const std::string &a : out) ok = ok && !a.empty();
  if (!ok) RuntimeError();
  return ok;
}

int32_t EvalInt(std::string_view text) {
  return num::TruncInt32(EvalNumeric(text));
}

int32_t EvalIntOr(std::string_view text, int32_t fallback) {
  return text.empty() ? fallback : EvalInt(text);
}

} // namespace gfx
