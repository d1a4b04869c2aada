// The numeric built-in functions: conversions, arithmetic, word packing and
// colours, and the random numbers of Rnd and RANDOMIZE.
#include <cmath>
#include <ctime>

#include "expr/builtin.h"
#include "expr/eval.h"
#include "expr/function_statements.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

using num::TruncInt32;

// Two's complement wrap-around, as 32-bit integer arithmetic does.
int32_t Wrap(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

std::string N15(double v) {
  return num::FormatG15(v);
}
std::string D(int32_t v) {
  return num::FormatD(v);
}

double Value(std::string_view args) {
  return EvalNumeric(args);
}

// ---- The generator: rand/srand of the C runtime ----

int32_t Rand(RandomGenerator &g) {
  g.state = g.state * 214013u + 2531011u;
  return static_cast<int32_t>((g.state >> 16) & 0x7FFF);
}

// One value in 0 to 0.99999 from two draws.
float Draw(RandomGenerator &g) {
  int32_t a = Rand(g);
  int32_t b = Rand(g);
  int32_t r = (a * b) % 100000;
  return static_cast<float>(r) * 0.00001f;
}

// srand(SEED) and one value drawn into the last value.
void Seed(RandomGenerator &g, int32_t seed) {
  g.seed = seed;
  g.state = static_cast<uint32_t>(seed);
  g.last = Draw(g);
}

std::string Rnd(std::string_view args, ThreadIndex) {
  RandomGenerator &g = E().functions.random;
  int32_t n = args.empty() ? 1 : TruncInt32(Value(args));
  if (n < 0) Seed(g, g.seed);
  float drawn = Draw(g);
  float result = n == 0 ? g.last : drawn;
  g.last = drawn;
  return num::FormatG(result);
}

// ---- Conversions ----

int32_t Floor32(double v) {
  return TruncInt32(std::floor(v));
}

std::string CDbl(std::string_view a, ThreadIndex) {
  return N15(Value(a));
}
std::string CSng(std::string_view a, ThreadIndex) {
  return num::FormatG(Value(a));
}
std::string CInt(std::string_view a, ThreadIndex) {
  double v = Value(a);
  int32_t f = Floor32(v);
  return D(v - std::floor(v) < 0.5 ? f : Wrap(int64_t{f} + 1));
}
std::string Fix(std::string_view a, ThreadIndex) {
  double v = Value(a);
  return D(v > 0 ? Floor32(v) : TruncInt32(std::ceil(v)));
}
std::string Int(std::string_view a, ThreadIndex) {
  return D(Floor32(Value(a)));
}
std::string Abs(std::string_view a, ThreadIndex) {
  return N15(std::fabs(Value(a)));
}
std::string Sgn(std::string_view a, ThreadIndex) {
  double v = Value(a);
  return D(v > 0 ? 1 : v < 0 ? -1 : 0);
}

// ---- Mathematics ----

std::string Sin(std::string_view a, ThreadIndex) {
  return N15(std::sin(Value(a)));
}
std::string Cos(std::string_view a, ThreadIndex) {
  return N15(std::cos(Value(a)));
}
std::string Tan(std::string_view a, ThreadIndex) {
  return N15(std::tan(Value(a)));
}
std::string Atn(std::string_view a, ThreadIndex) {
  return N15(std::atan(Value(a)));
}
std::string Exp(std::string_view a, ThreadIndex) {
  return N15(std::exp(Value(a)));
}
std::string Log(std::string_view a, ThreadIndex) {
  double v = Value(a);
  if (!(v > 0)) {
    RuntimeError();
    return "0";
  }
  return N15(std::log(v));
}
std::string Sqr(std::string_view a, ThreadIndex) {
  double v = Value(a);
  if (!(v >= 0)) {
    RuntimeError();
    return "0";
  }
  return N15(std::sqrt(v));
}

// ---- Words and colours ----

std::string LOWORD(std::string_view a, ThreadIndex) {
  return D(TruncInt32(Value(a)) & 0xFFFF);
}
std::string HIWORD(std::string_view a, ThreadIndex) {
  return D(static_cast<int32_t>(static_cast<uint32_t>(TruncInt32(Value(a))) >> 16));
}

// Looks for the first "," at parenthesis depth 0 in the first 8192 bytes.
size_t TopLevelComma(std::string_view a) {
  int depth = 0;
  for (size_t i = 0; i < a.size() && i < 8192; ++i) {
    if (a[i] == '(') ++depth;
    if (a[i] == ')') --depth;
    if (a[i] == ',' && depth == 0) return i;
  }
  return std::string_view::npos;
}

std::string MAKELONG(std::string_view a, ThreadIndex) {
  size_t comma = TopLevelComma(a);
  if (comma == std::string_view::npos) {
    RuntimeError();
    return "0";
  }
  uint32_t lo = static_cast<uint32_t>(TruncInt32(Value(a.substr(0, comma)))) & 0xFFFF;
  uint32_t hi = static_cast<uint32_t>(TruncInt32(Value(a.substr(comma + 1)))) & 0xFFFF;
  return D(static_cast<int32_t>(hi << 16 | lo));
}

std::string RGB(std::string_view a, ThreadIndex) {
  std::vector<std::string> args;
  if (!CutArguments(a, 3, 3, args)) return "0";
  int32_t r = TruncInt32(Value(args[0])) & 255;
  int32_t g = TruncInt32(Value(args[1])) & 255;
  int32_t b = TruncInt32(Value(args[2])) & 255;
  return D(-(b * 65536 + g * 256 + r));
}

struct Entry {
  uint16_t code;
  BuiltinFunction impl;
};

constexpr Entry kEntries[] = {
    {0x210, CDbl},   {0x211, CInt},   {0x212, CSng},     {0x220, Abs}, {0x221, Atn},
    {0x223, Cos},    {0x224, Exp},    {0x225, Fix},      {0x226, Int}, {0x227, Log},
    {0x22a, Rnd},    {0x22b, Sgn},    {0x22c, Sin},      {0x22d, Sqr}, {0x22e, Tan},
    {0x22f, LOWORD}, {0x230, HIWORD}, {0x231, MAKELONG}, {0x616, RGB},
};

} // namespace

BuiltinFunction FindNumericFunction(uint16_t code) {
  for (const Entry &e : kEntries)
    if (e.code == code) return e.impl;
  return nullptr;
}

void RANDOMIZE(std::string &arg, ThreadIndex) {
  std::string text = StripBlanks(arg);
  int32_t seed;
  if (text.empty()) {
    seed = static_cast<int32_t>(std::time(nullptr));
  } else {
    seed = TruncInt32(EvalNumeric(text));
    if (seed < 0) {
      RuntimeError();
      return;
    }
  }
  Seed(E().functions.random, seed);
}
