// The families of built-in functions behind CallFunction. Each function gets
// its argument text with the blanks outside quotes removed, runs under the
// interpreter lock and returns its result text in the form its table entry
// names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/argument_list.h"
#include "flow/threads.h"

using BuiltinFunction = std::string (*)(std::string_view args, ThreadIndex slot);

// The implementation of CODE in one family; null when the family has none.
BuiltinFunction FindNumericFunction(uint16_t code);
BuiltinFunction FindStringFunction(uint16_t code);
BuiltinFunction FindSystemFunction(uint16_t code);

// The empty string literal.
inline std::string EmptyLiteral() {
  return "\"\"";
}

// The literals of Date$ ("2001/05/07") and Time$ ("09:05:03") for a time.
struct SYSTEMTIME;
std::string DateLiteral(const SYSTEMTIME &time);
std::string TimeLiteral(const SYSTEMTIME &time);
