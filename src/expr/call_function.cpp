#include "expr/call_function.h"

#include "expr/builtin.h"
#include "expr/function_codes.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/window_statements.h"

namespace {

// The neutral value of a function's result form.
std::string NeutralResult(const fn::FunctionInfo &info) {
  return info.result == fn::Result::kString ? EmptyLiteral() : std::string("0");
}

} // namespace

std::string CallFunction(uint16_t code, std::string_view args, ThreadIndex slot) {
  std::string text = StripBlanks(args);
  LockHold hold(E().lock);
  const fn::FunctionInfo *info = fn::FindFunctionByCode(code);
  if (!info) {
    // A code outside the table: the statement cannot mean anything.
    RuntimeError();
    return "0";
  }
  BuiltinFunction impl = FindNumericFunction(code);
  if (!impl) impl = FindStringFunction(code);
  if (!impl) impl = FindSystemFunction(code);
  if (!impl) impl = FindWindowFunction(code);
  if (!impl) {
    // The function's subsystem is not available in this build.
    RuntimeError();
    return NeutralResult(*info);
  }
  return impl(text, slot);
}
