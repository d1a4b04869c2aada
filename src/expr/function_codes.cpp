#include "expr/function_codes.h"

#include <cctype>

namespace fn {
namespace {

constexpr FunctionInfo kFunctions[] = {
    {"CDbl", 0x210, 1, 1, Result::kNumber},        {"CInt", 0x211, 1, 1, Result::kInteger},
    {"CSng", 0x212, 1, 1, Result::kGeneral},       {"Abs", 0x220, 1, 1, Result::kNumber},
    {"Atn", 0x221, 1, 1, Result::kNumber},         {"Cos", 0x223, 1, 1, Result::kNumber},
    {"Exp", 0x224, 1, 1, Result::kNumber},         {"Fix", 0x225, 1, 1, Result::kInteger},
    {"Int", 0x226, 1, 1, Result::kInteger},        {"Log", 0x227, 1, 1, Result::kNumber},
    {"Rnd", 0x22a, 0, 1, Result::kGeneral},        {"Sgn", 0x22b, 1, 1, Result::kInteger},
    {"Sin", 0x22c, 1, 1, Result::kNumber},         {"Sqr", 0x22d, 1, 1, Result::kNumber},
    {"Tan", 0x22e, 1, 1, Result::kNumber},         {"LOWORD", 0x22f, 1, 1, Result::kInteger},
    {"HIWORD", 0x230, 1, 1, Result::kInteger},     {"MAKELONG", 0x231, 2, 2, Result::kInteger},
    {"FullWidth$", 0x310, 1, 1, Result::kString},  {"Asc", 0x311, 1, 1, Result::kInteger},
    {"Chr$", 0x312, 1, 1, Result::kString},        {"Date$", 0x313, 0, 0, Result::kString},
    {"Hex$", 0x314, 1, 1, Result::kString},        {"Inkey$", 0x315, 0, 0, Result::kString},
    {"Input$", 0x316, 1, 1, Result::kString},      {"Instr", 0x317, 2, 3, Result::kInteger},
    {"HalfWidth$", 0x318, 1, 1, Result::kString},  {"KInstr", 0x319, 2, 3, Result::kInteger},
    {"KLen", 0x31a, 1, 1, Result::kInteger},       {"KMid$", 0x31b, 2, 3, Result::kString},
    {"Left$", 0x31c, 2, 2, Result::kString},       {"Len", 0x31d, 1, 1, Result::kInteger},
    {"Mid$", 0x31e, 2, 3, Result::kString},        {"Oct$", 0x31f, 1, 1, Result::kString},
    {"Right$", 0x320, 2, 2, Result::kString},      {"Space$", 0x321, 1, 1, Result::kString},
    {"Str$", 0x323, 1, 1, Result::kString},        {"String$", 0x324, 2, 2, Result::kString},
    {"Time$", 0x325, 0, 0, Result::kString},       {"Val", 0x326, 1, 1, Result::kNumber},
    {"CurDir$", 0x410, 0, 0, Result::kString},     {"EOF", 0x411, 1, 1, Result::kInteger},
    {"LOF", 0x412, 1, 1, Result::kInteger},        {"LOC", 0x413, 1, 1, Result::kInteger},
    {"hWnd", 0x510, 0, 0, Result::kInteger},       {"MenuHandle", 0x580, 1, 1, Result::kInteger},
    {"SubMenu", 0x581, 2, 2, Result::kInteger},    {"MenuStr$", 0x582, 3, 3, Result::kString},
    {"SysMenu", 0x583, 1, 1, Result::kInteger},    {"Clipboard$", 0x610, 0, 0, Result::kString},
    {"Command$", 0x611, 0, 0, Result::kString},    {"Environ$", 0x612, 1, 1, Result::kString},
    {"KeyState", 0x613, 1, 1, Result::kInteger},   {"Mouse", 0x614, 1, 1, Result::kInteger},
    {"Point", 0x615, 2, 2, Result::kInteger},      {"RGB", 0x616, 3, 3, Result::kInteger},
    {"SysMetrics", 0x617, 1, 1, Result::kInteger},
};

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

} // namespace

const FunctionInfo *Functions(size_t &count) {
  count = sizeof kFunctions / sizeof kFunctions[0];
  return kFunctions;
}

const FunctionInfo *FindFunctionByName(std::string_view name) {
  if (EqualNoCase(name, "Spc")) name = "Space$";
  for (const FunctionInfo &f : kFunctions)
    if (EqualNoCase(name, f.name)) return &f;
  return nullptr;
}

const FunctionInfo *FindFunctionByCode(uint16_t code) {
  for (const FunctionInfo &f : kFunctions)
    if (f.code == code) return &f;
  return nullptr;
}

} // namespace fn
