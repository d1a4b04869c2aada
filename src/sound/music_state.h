// The state of PLAY: the eight channel records that carry octave and tempo
// from one PLAY to the next, the MIDI output, and the music threads of the
// PLAY that is sounding.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

constexpr int kMusicChannels = 8;
constexpr size_t kMusicBufferSize = 8192;

struct MusicChannel {
  std::atomic<int32_t> spare{0};
  std::atomic<int32_t> octave{4};
  std::atomic<int32_t> quarter{500}; // quarter-note duration, milliseconds
};

struct MusicState {
  MusicChannel channels[kMusicChannels];
  std::atomic<uint32_t> output{0}; // HMIDIOUT; 0 while closed
  std::atomic<int32_t> runningCount{0};
  std::thread threads[kMusicChannels];
  std::atomic<bool> playing{false}; // a PLAY owns the threads
  // A music thread could not send a message: the PLAY that waits for the
  // threads reports it, holding the interpreter's lock as errors need.
  std::atomic<bool> failed{false};
  // The music threads sleep here; STOP ends them early.
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;
  // Set once every music thread of the PLAY exists: the common start.
  bool go = false;
  std::chrono::steady_clock::time_point start;
};
