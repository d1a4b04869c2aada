// The dispatcher of the built-in functions: a function code and its argument
// text in, the result as text out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "flow/threads.h"

// Calls built-in function CODE with ARGS (already pre-evaluated) under the
// interpreter lock. The result is number text, integer text or a quoted
// string literal, as the function's result form says. A function that fails
// reports a runtime error and gives 0 or an empty literal.
std::string CallFunction(uint16_t code, std::string_view args, ThreadIndex slot);
