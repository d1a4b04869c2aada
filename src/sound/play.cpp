// PLAY: one music thread per string, each timing its notes from one common
// start on the monotonic clock, so that strings played together stay
// together however long they run. The BASIC thread waits outside the
// interpreter lock; program end stops the music at once, switching off the
// notes that sound.
#include <chrono>
#include <string>
#include <system_error>

#include "expr/eval.h"
#include "files/error_watch.h"
#include "flow/threads.h"
#include "platform/mmsystem.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "sound/music_language.h"
#include "sound/sound.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kVelocity = 96;
constexpr auto kStartLead = std::chrono::milliseconds(20);

DWORD Message(uint8_t status, uint8_t data1, uint8_t data2) {
  return static_cast<DWORD>(status) | static_cast<DWORD>(data1) << 8 |
         static_cast<DWORD>(data2) << 16;
}

// Sleeps until AT; false when the music is being stopped.
bool SleepUntil(MusicState &m, Clock::time_point at) {
  std::unique_lock<std::mutex> lock(m.mutex);
  return !m.wake.wait_until(lock, at, [&m] { return m.stop; });
}

void MusicThread(int channel, std::string text) {
  Engine &e = E();
  MusicState &m = e.music;
  std::vector<MusicAction> actions = ReadMusic(text, m.channels[channel]);
  Clock::time_point start;
  {
    std::unique_lock<std::mutex> lock(m.mutex);
    m.wake.wait(lock, [&m] { return m.go || m.stop; });
    start = m.start;
    // Stopped before it began: nothing is sent.
    if (m.stop) actions.clear();
  }
  HMIDIOUT out = m.output.load();
  const uint8_t noteStatus = static_cast<uint8_t>(0x90 + channel);
  Clock::time_point at = start;
  bool failed = false;
  bool started = false;
  for (const MusicAction &a : actions) {
    if (a.kind == MusicAction::Kind::kInstrument) {
      uint8_t status = static_cast<uint8_t>(0xC0 + channel);
      if (midiOutShortMsg(out, Message(status, static_cast<uint8_t>(a.value), 0)) != 0) {
        failed = true;
        break;
      }
      continue;
    }
    if (!started) {
      started = true;
      if (!SleepUntil(m, start)) break;
    }
    at += std::chrono::milliseconds(a.duration);
    // Notes outside 0..127 (from an octave that is no digit) are silent for
    // their length: the note number never spills into the velocity byte.
    bool sounds = a.kind == MusicAction::Kind::kNote && a.value >= 0 && a.value <= 127;
    uint8_t note = static_cast<uint8_t>(sounds ? a.value : 0);
    if (sounds && midiOutShortMsg(out, Message(noteStatus, note, kVelocity)) != 0) {
      failed = true;
      break;
    }
    bool goOn = SleepUntil(m, at);
    if (sounds && midiOutShortMsg(out, Message(noteStatus, note, 0)) != 0) {
      failed = true;
      break;
    }
    if (!goOn) break;
  }
  if (failed) m.failed.store(true);
  m.runningCount.fetch_sub(1);
  WakeWaiters();
}

// Stops the music threads and waits for them (interpreter lock held).
void StopThreads(MusicState &m) {
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    m.stop = true;
  }
  m.wake.notify_all();
  for (std::thread &t : m.threads)
    if (t.joinable()) t.join();
  m.playing = false;
}

// Ends the music however the wait of PLAY ends: normally, or unwound by
// program end.
struct MusicHold {
  MusicState &m;
  ~MusicHold() { StopThreads(m); }
};

// Opens the last MIDI device and selects instrument 0 on every channel;
// false after a runtime error.
bool OpenOutput(MusicState &m) {
  if (m.output.load()) return true;
  UINT devices = midiOutGetNumDevs();
  if (devices == 0) {
    RuntimeError();
    return false;
  }
  HMIDIOUT out = 0;
  if (midiOutOpen(&out, devices - 1, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    RuntimeError();
    return false;
  }
  m.output.store(out);
  for (uint8_t c = 0; c < kMusicChannels; ++c)
    midiOutShortMsg(out, Message(static_cast<uint8_t>(0xC0 + c),
                                 static_cast<uint8_t>(InstrumentProgram(0)), 0));
  return true;
}

} // namespace

void PLAY(std::string &arg, ThreadIndex slot) {
  Engine &e = E();
  MusicState &m = e.music;
  size_t first = arg.find_first_not_of(" \t");
  if (first != std::string::npos && StartsWithNoCase(std::string_view(arg).substr(first), "alloc"))
    return;
  // The buffers and the count exist once: a PLAY started while another
  // plays waits for it to end. Several may have waited: the one that takes
  // the lock first plays, the others wait again.
  while (m.playing) BlockingWait(slot, [&m] { return !m.playing; });
  if (!OpenOutput(m)) return;

  std::vector<std::string> strings;
  ErrorWatch watch;
  size_t at = 0;
  while (at < arg.size()) {
    std::string piece;
    size_t next = NextArgument(arg, at, piece);
    // Strings beyond the eighth have no channel and are not played.
    if (strings.size() < kMusicChannels) {
      std::string value = StripBlanks(EvalString(piece));
      if (watch.Raised()) return;
      if (value.size() > kMusicBufferSize) value.resize(kMusicBufferSize);
      strings.push_back(value);
    }
    if (next <= at) break;
    at = next;
  }
  if (strings.empty()) return;

  m.playing = true;
  MusicHold hold{m};
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    m.stop = false;
    m.go = false;
  }
  m.failed.store(false);
  m.runningCount.store(static_cast<int32_t>(strings.size()));
  for (size_t c = 0; c < strings.size(); ++c) {
    try {
      m.threads[c] = std::thread(MusicThread, static_cast<int>(c), strings[c]);
    } catch (const std::system_error &) {
      m.runningCount.fetch_sub(static_cast<int32_t>(strings.size() - c));
      RuntimeError();
      break;
    }
  }
  // The strings begin together a moment after the last thread exists, so
  // that starting threads delays no first note.
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    m.start = Clock::now() + kStartLead;
    m.go = true;
  }
  m.wake.notify_all();
  BlockingWait(slot, [&m] { return m.runningCount.load() <= 0; });
  if (m.failed.exchange(false)) RuntimeError();
}

void ResetMusicChannels() {
  for (MusicChannel &c : E().music.channels) {
    c.spare.store(0);
    c.octave.store(4);
    c.quarter.store(500);
  }
}

void CloseMusic() {
  Engine &e = E();
  MusicState &m = e.music;
  StopThreads(m);
  if (HMIDIOUT out = m.output.exchange(0)) midiOutClose(out);
}
