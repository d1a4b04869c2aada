#include "windows/window_args.h"

#include "data/assignment.h"
#include "expr/argument_list.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/error_watch.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

std::vector<std::string> WindowArguments(const std::string &text) {
  return CutList(StripBlanks(text));
}

bool RequiredArguments(const std::string &text, size_t count, std::vector<std::string> &out) {
  out = WindowArguments(text);
  if (out.size() >= count) return true;
  RuntimeError();
  return false;
}

int32_t ArgNumber(const std::string &text, bool &ok) {
  if (!ok) return 0;
  ErrorWatch watch;
  int32_t v = num::TruncInt32(EvalNumeric(text));
  if (watch.Raised() || !E().running.load()) ok = false;
  return ok ? v : 0;
}

std::string ArgString(const std::string &text, bool &ok, bool keepNul) {
  if (!ok) return std::string();
  ErrorWatch watch;
  std::string v = DecodeString(EvalString(text), keepNul);
  if (watch.Raised() || !E().running.load()) ok = false;
  return ok ? v : std::string();
}

bool AssignNumber(const std::string &name, int32_t value) {
  ErrorWatch watch;
  std::string statement = name + "=" + num::FormatD(value);
  Assign(statement);
  return !watch.Raised() && E().running.load();
}

bool AssignText(const std::string &name, const std::string &raw) {
  ErrorWatch watch;
  std::string statement = name + "=" + EncodeString(raw, true);
  Assign(statement);
  return !watch.Raised() && E().running.load();
}
