// The built-in functions of the dialect: their names as programs spell them
// and the 16-bit codes that the program text carries behind the function
// token 0x01 0x61. Shared by the builder (names to codes), the lister (codes
// to names) and the engine's function dispatcher (codes to implementations).
#pragma once

#include <cstdint>
#include <string_view>

namespace fn {

enum class Result : uint8_t {
  kNumber,  // number text ("%.15g")
  kGeneral, // "%g"
  kInteger, // "%d"
  kString,  // quoted string literal
};

struct FunctionInfo {
  const char *name; // the spelling used in listings
  uint16_t code;
  uint8_t minArgs;
  uint8_t maxArgs;
  Result result;
};

// The function code of a call of a function defined with DEF FN; the
// function's name follows the token directly.
constexpr uint16_t kUserFnCode = 0x1610;

// All built-in functions, one entry per code.
const FunctionInfo *Functions(size_t &count);

// Finds a function by name, ignoring letter case; also knows the second
// spelling Spc of Space$. Null when the name is not a built-in function.
const FunctionInfo *FindFunctionByName(std::string_view name);

// Finds a function by code; null for a code that has no function.
const FunctionInfo *FindFunctionByCode(uint16_t code);

} // namespace fn
