#include "expr/user_functions.h"

#include "data/variables.h"
#include "expr/argument_list.h"
#include "expr/call_depth.h"
#include "expr/eval.h"
#include "expr/function_statements.h"
#include "expr/number_text.h"
#include "expr/pre_evaluate.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

// How much of a DEFFN statement is read.
constexpr size_t kMaxDefinitionText = 8191;

// Removes blanks and tabs outside double quotes, keeping control tokens
// whole: the code bytes of a function token may be a blank (0x220 is Abs).
std::string StripBlanksKeepingTokens(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool inQuotes = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes && static_cast<uint8_t>(c) == tok::kControl && i + 1 < text.size()) {
      size_t length = static_cast<uint8_t>(text[i + 1]) == tok::kFunction ? 4 : 2;
      out.append(text.substr(i, length));
      i += length - 1;
      continue;
    }
    if (!inQuotes && (c == ' ' || c == '\t')) continue;
    out.push_back(c);
  }
  return out;
}

std::string_view NamePart(std::string_view head) {
  return head.substr(0, head.find('('));
}

bool IsStringName(std::string_view name) {
  return !name.empty() && name.back() == '$';
}

std::string Neutral(std::string_view name) {
  return IsStringName(name) ? std::string("\"\"") : std::string("0");
}

} // namespace

void DEFFN(std::string &arg, ThreadIndex) {
  std::string text = StripBlanksKeepingTokens(arg);
  if (text.size() > kMaxDefinitionText) text.resize(kMaxDefinitionText);
  size_t eq = text.find('=');
  if (eq == std::string::npos || NamePart(std::string_view(text).substr(0, eq)).empty()) {
    RuntimeError();
    return;
  }
  std::string head = text.substr(0, eq);
  std::string body = text.substr(eq + 1);
  std::string_view name = NamePart(head);
  auto &table = E().functions.userFunctions;
  for (UserFunction &f : table) {
    if (f.head.empty() || NamePart(f.head) == name) {
      f.head = head.substr(0, kMaxUserFunctionText);
      f.body = body.substr(0, kMaxUserFunctionText);
      return;
    }
  }
  // Every entry holds another function.
  RuntimeError();
}

std::string FN(std::string_view name, std::string_view args, ThreadIndex slot) {
  Engine &e = E();
  DepthGuard depth(DepthKind::Call);
  std::string head, body;
  {
    LockHold hold(e.lock);
    if (!depth.Entered()) {
      RuntimeError();
      return Neutral(name);
    }
    for (const UserFunction &f : e.functions.userFunctions) {
      if (f.head.empty()) break;
      if (NamePart(f.head) == name) {
        head = f.head;
        body = f.body;
        break;
      }
    }
    if (head.empty()) {
      RuntimeError();
      return Neutral(name);
    }
    // The parameters stand between the first "(" and the closing ")".
    size_t open = head.find('(');
    std::string_view list;
    if (open != std::string::npos && head.size() >= open + 2)
      list = std::string_view(head).substr(open + 1, head.size() - open - 2);
    std::vector<std::string> params = CutList(list);
    std::vector<std::string> values = CutList(args);
    if (params.size() != values.size()) {
      RuntimeError();
      return Neutral(name);
    }
    // The parameters are ordinary variables: the call overwrites them.
    for (size_t i = 0; i < params.size(); ++i) {
      if (KindOf(params[i]) == kString) {
        SetString(params[i], EvalString(values[i]));
      } else {
        SetNumeric(params[i], EvalNumeric(values[i]));
      }
    }
  }
  PreEvaluate(body, slot);
  LockHold hold(e.lock);
  if (IsStringName(name)) {
    std::string value = EvalString(body);
    Quote(value);
    return value;
  }
  return num::FormatG15(EvalNumeric(body));
}

void ClearUserFunctions() {
  for (UserFunction &f : E().functions.userFunctions) {
    f.head.clear();
    f.body.clear();
  }
}
