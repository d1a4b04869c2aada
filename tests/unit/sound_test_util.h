// Helpers for the sound tests: a small Standard MIDI File reader (separate
// from the engine's writer, so that it checks the contract), a WAV maker,
// and running a BASIC source file through quill run with extra environment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

namespace soundtest {

struct MidiEvent {
  uint32_t tick = 0; // absolute
  uint8_t status = 0, data1 = 0, data2 = 0;
};

struct MidiFile {
  bool ok = false;
  std::string problem;
  uint16_t format = 0, tracks = 0, division = 0;
  uint32_t tempo = 0; // of the tempo event at tick 0
  bool endOfTrack = false;
  std::vector<MidiEvent> events; // channel messages only
};

// Reads format-0 files strictly: no running status allowed.
MidiFile ReadMidiFile(const std::string &bytes);

// A mono 16-bit PCM WAV file of MILLISECONDS of a square tone.
std::string MakeWav(int milliseconds, int rate = 22050);

// Writes SOURCE to DIR/NAME.bas and runs it with `quill run` in DIR, with
// the variables ENV ("A='1' B='2'", no double quotes) set.
testsupport::RunResult RunSource(const std::string &dir, const std::string &name,
                                 const std::string &source, const std::string &env = "",
                                 int seconds = 60);

} // namespace soundtest
