// The state behind the built-in random numbers and the DEFFN functions: one
// per running program, shared by all BASIC threads and changed only under
// the interpreter lock.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Rnd and RANDOMIZE: the C runtime's linear congruential generator, the seed
// last given to RANDOMIZE and the last value drawn.
struct RandomGenerator {
  uint32_t state = 1;
  int32_t seed = 0;
  float last = 0;
};

// One DEFFN definition: "name(param,...)" and the expression after "=";
// an empty head marks a free entry.
struct UserFunction {
  std::string head;
  std::string body;
};

constexpr size_t kMaxUserFunctions = 255;
constexpr size_t kMaxUserFunctionText = 1023;

struct FunctionState {
  RandomGenerator random;
  std::array<UserFunction, kMaxUserFunctions> userFunctions;
};
