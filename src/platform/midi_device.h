// The MIDI output devices behind midiOut*: each takes complete short
// messages (status byte first) and is used from several threads at once, so
// each guards itself.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::midi {

class Device {
public:
  virtual ~Device() = default;
  // False when the message could not be delivered.
  virtual bool Send(uint8_t status, uint8_t data1, uint8_t data2) = 0;
  // Flushes and releases; false when what was recorded could not be kept.
  virtual bool Close() { return true; }
};

// One timed message of a recording.
struct TimedMessage {
  uint32_t milliseconds = 0;
  uint8_t status = 0, data1 = 0, data2 = 0;
};

// The number of data bytes that follow STATUS in a short message.
int DataBytes(uint8_t status);

// The Standard MIDI File of a recording: format 0, one track, 1000 ticks per
// quarter note and 1,000,000 microseconds per quarter note (one tick is one
// millisecond), no running status.
std::string StandardMidiFile(const std::vector<TimedMessage> &messages);

// A recorder writing to PATH at Close.
std::unique_ptr<Device> OpenRecorder(const std::string &path);

// The built-in synthesiser (FluidSynth with the General MIDI soundfont),
// sounding through the system's audio when there is any, silently otherwise.
// Null when the synthesiser cannot start (no soundfont).
std::unique_ptr<Device> OpenSynthesizer();

// The ALSA sequencer ports a program can play on, by name; empty when there
// is no sequencer.
std::vector<std::string> SequencerPorts();
// Connects to port INDEX of SequencerPorts; null on failure.
std::unique_ptr<Device> OpenSequencerPort(size_t index);

// Keeps FluidSynth, ALSA and SDL from writing to stderr.
void QuietAudioLibraries();

} // namespace platform::midi
