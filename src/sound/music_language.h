// The music language of PLAY turned into timed actions: notes, rests and
// instrument changes, each with its duration in milliseconds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MusicChannel;

struct MusicAction {
  enum class Kind { kInstrument, kNote, kRest };
  Kind kind = Kind::kRest;
  int32_t value = 0;    // General MIDI program, or note number (may lie outside 0..127)
  int64_t duration = 0; // milliseconds (notes and rests)
};

// The General MIDI program (0-based) for an instrument number of the language.
int InstrumentProgram(int64_t instrument);

// Reads TEXT (upper or lower case; at most 8192 bytes are read) as a music
// string, starting from CHANNEL's octave and tempo and leaving them as the
// text sets them.
std::vector<MusicAction> ReadMusic(const std::string &text, MusicChannel &channel);
