// Helpers for the function tests: function call tokens as the program text
// carries them.
#pragma once

#include <cstdint>
#include <string>

namespace fntest {

// A built-in function call: 0x01 0x61, the two code bytes, and the argument
// list when ARGS is given.
inline std::string Fn(uint16_t code, const std::string &args) {
  std::string s = "\x01\x61";
  s.push_back(static_cast<char>(code >> 8));
  s.push_back(static_cast<char>(code & 0xFF));
  return s + "(" + args + ")";
}
inline std::string Fn(uint16_t code) {
  std::string s = "\x01\x61";
  s.push_back(static_cast<char>(code >> 8));
  s.push_back(static_cast<char>(code & 0xFF));
  return s;
}

// A DEFFN function call.
inline std::string UserFn(const std::string &name, const std::string &args) {
  return std::string("\x01\x61\x16\x10") + name + "(" + args + ")";
}

} // namespace fntest
