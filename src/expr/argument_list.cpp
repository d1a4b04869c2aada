#include "expr/argument_list.h"

#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

std::vector<std::string> CutList(std::string_view text) {
  std::vector<std::string> items;
  std::string piece;
  size_t at = 0;
  while (at < text.size() && text[at] != 0) {
    size_t next = NextArgument(text, at, piece);
    bool atComma = next == at + piece.size() + 1;
    items.push_back(piece);
    if (atComma && next == text.size()) items.emplace_back();
    at = next;
  }
  return items;
}

bool CutArguments(std::string_view args, size_t min, size_t max, std::vector<std::string> &out) {
  out = CutList(args);
  if (out.size() < min || out.size() > max) {
    RuntimeError();
    return false;
  }
  return true;
}
