#include "sound/music_language.h"

#include <algorithm>
#include <cmath>

#include "platform/cp932.h"
#include "sound/music_state.h"

namespace {

struct InstrumentEntry {
  int instrument;
  int program;
};

constexpr InstrumentEntry kInstruments[] = {
    {1, 63},  {2, 51},   {3, 4},    {4, 39},   {5, 18},  {6, 20},  {7, 73},   {8, 68},
    {9, 71},  {10, 11},  {12, 112}, {13, 1},   {21, 62}, {22, 63}, {23, 56},  {24, 50},
    {25, 51}, {26, 2},   {27, 5},   {28, 4},   {29, 27}, {30, 39}, {31, 38},  {32, 18},
    {33, 16}, {34, 20},  {35, 19},  {36, 73},  {37, 72}, {39, 71}, {40, 9},   {41, 11},
    {42, 13}, {43, 107}, {45, 7},   {47, 112}, {48, 46}, {50, 22}, {51, 114}, {52, 47},
    {53, 69}, {63, 10},  {64, 42},  {65, 58},  {67, 25}, {75, 85}, {80, 40},
};

constexpr int kDefaultProgram = 6;

// Letters C D E F G A B as semitones above C.
int Step(char letter) {
  switch (letter) {
  case 'C':
    return 0;
  case 'D':
    return 2;
  case 'E':
    return 4;
  case 'F':
    return 5;
  case 'G':
    return 7;
  case 'A':
    return 9;
  case 'B':
    return 11;
  default:
    return -1;
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads digits at I; a number too large for 32 bits stays at its limit.
// False when there are none.
bool ReadNumber(const std::string &s, size_t &i, int64_t &out) {
  if (i >= s.size() || !IsDigit(s[i])) return false;
  out = 0;
  while (i < s.size() && IsDigit(s[i])) {
    if (out < 0x7FFFFFFF) out = std::min<int64_t>(out * 10 + (s[i] - '0'), 0x7FFFFFFF);
    ++i;
  }
  return true;
}

// trunc(Q / (n * 0.25)), times 1.5 before truncation when DOTTED; a length
// of 0 would last forever and counts as a quarter note.
int64_t LengthOf(int64_t quarter, int64_t n, bool dotted) {
  if (n == 0) n = 4;
  double d = static_cast<double>(quarter) / (static_cast<double>(n) * 0.25);
  if (dotted) d *= 1.5;
  return static_cast<int64_t>(std::trunc(d));
}

} // namespace

int InstrumentProgram(int64_t instrument) {
  for (const InstrumentEntry &e : kInstruments)
    if (e.instrument == instrument) return e.program;
  return kDefaultProgram;
}

std::vector<MusicAction> ReadMusic(const std::string &source, MusicChannel &channel) {
  std::string s = source.substr(0, kMusicBufferSize);
  // Upper case, leaving double-byte characters alone: their second bytes
  // are no commands.
  for (size_t i = 0; i < s.size(); ++i) {
    uint8_t b = static_cast<uint8_t>(s[i]);
    if (cp932::IsLeadByte(b)) {
      s[i] = ' ';
      if (i + 1 < s.size()) s[++i] = ' ';
    } else if (b >= 'a' && b <= 'z') {
      s[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  std::vector<MusicAction> actions;
  int32_t octave = channel.octave.load();
  int64_t quarter = channel.quarter.load();
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i++];
    if (c == 'O') {
      // Exactly one character: its code minus that of "0".
      if (i < s.size()) octave = static_cast<int32_t>(static_cast<uint8_t>(s[i++])) - '0';
    } else if (c == 'T') {
      int64_t n = 0;
      // Tempo 0 would make every note endless; it leaves the tempo as it was.
      if (ReadNumber(s, i, n) && n > 0)
        quarter = static_cast<int64_t>(std::trunc(60.0 / static_cast<double>(n) * 1000.0));
    } else if (c == '@') {
      int64_t n = 0;
      ReadNumber(s, i, n);
      actions.push_back({MusicAction::Kind::kInstrument, InstrumentProgram(n), 0});
    } else if (Step(c) >= 0 || c == 'P') {
      MusicAction a;
      if (c == 'P') {
        a.kind = MusicAction::Kind::kRest;
      } else {
        a.kind = MusicAction::Kind::kNote;
        int note = 12 * octave + 12 + Step(c);
        if (i < s.size() && s[i] == '+') {
          ++note;
          ++i;
        } else if (i < s.size() && s[i] == '-') {
          --note;
          ++i;
        }
        a.value = note;
      }
      int64_t n = 4;
      bool hasDigits = ReadNumber(s, i, n);
      if (!hasDigits) n = 4;
      bool dotted = i < s.size() && s[i] == '.';
      if (dotted) ++i;
      int64_t d = LengthOf(quarter, n, dotted);
      if (i < s.size() && s[i] == '^') {
        ++i;
        int64_t m = 4;
        if (!ReadNumber(s, i, m)) m = 4;
        bool tieDotted = i < s.size() && s[i] == '.';
        if (tieDotted) ++i;
        d += LengthOf(quarter, m, tieDotted);
      }
      a.duration = d;
      actions.push_back(a);
    }
    // Anything else is skipped.
  }
  channel.octave.store(octave);
  channel.quarter.store(static_cast<int32_t>(quarter));
  return actions;
}
