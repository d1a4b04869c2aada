// mciSendStringA over SDL2_mixer: every medium (WAV, MIDI through the
// synthesiser, OGG, MP3) is decoded into memory when it is opened, so its
// length is exact and "play from ... to ..." plays a slice of it. Each open
// device has a mixer channel of its own. A watcher thread notices the end of
// playing and sends the notifications; the audio thread is never waited on
// while a lock of ours is held.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/mci_command.h"
#include "platform/midi_device.h"
#include "platform/mmsystem.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/sdl_calls.h"
#include "platform/sdl_mixer_calls.h"
#include "platform/smf_length.h"
#include "platform/winuser_input.h"

namespace platform {
namespace {

using platform::mci::Command;
using platform::mci::Lower;
using platform::mci::Number;
using Clock = std::chrono::steady_clock;

constexpr int kChannels = 64; // open devices at most
constexpr int kRate = 44100;

enum class Mode { kStopped, kPlaying, kPaused };

struct Media {
  MCIDEVICEID id = 0;
  std::string name; // lower case: alias or element
  std::string type; // waveaudio, sequencer, mpegvideo
  Mix_Chunk *chunk = nullptr;
  Mix_Chunk *slice = nullptr; // the part being played (points into chunk)
  int channel = -1;
  uint32_t frameBytes = 4;
  uint32_t length = 0; // milliseconds
  Mode mode = Mode::kStopped;
  uint32_t position = 0;     // where the current play began, or where it stands
  uint32_t playEnd = 0;      // where the current play ends
  Clock::time_point started; // when the current play (or its resumed part) began
  uint32_t startedAt = 0;    // the position at STARTED
  HWND notify = 0;           // a play notification is pending for this window
  bool autoOpened = false;
};

struct State {
  std::mutex mutex;
  std::condition_variable changed; // a device stopped or was closed
  bool audioOpen = false;
  int audioFormatBytes = 2;
  int audioChannels = 2;
  int audioRate = kRate;
  std::map<MCIDEVICEID, std::unique_ptr<Media>> devices;
  MCIDEVICEID lastId = 0;
  bool channelUsed[kChannels] = {};
  std::thread watcher;
  bool watching = false;
  std::string directory; // Windows form
};

State &S() {
  static auto *s = new State;
  return *s;
}

uint32_t ToMs(uint64_t frames, int rate) {
  return static_cast<uint32_t>(frames * 1000 / static_cast<uint64_t>(rate));
}

// The position of a device now.
uint32_t PositionOf(const Media &m) {
  if (m.mode != Mode::kPlaying) return m.position;
  auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m.started).count();
  uint64_t at = m.startedAt + static_cast<uint64_t>(std::max<int64_t>(0, elapsed));
  return static_cast<uint32_t>(std::min<uint64_t>(at, m.playEnd));
}

void Notify(HWND window, WPARAM flag, MCIDEVICEID id) {
  if (window) PostMessageA(window, MM_MCINOTIFY, flag, static_cast<LPARAM>(id));
}

// Stops what the device plays (lock held); a pending play notification is
// aborted.
void Halt(State &, Media &m) {
  if (m.mode != Mode::kStopped) {
    m.position = PositionOf(m);
    Mix_HaltChannel(m.channel);
    m.mode = Mode::kStopped;
  }
  if (m.slice) {
    Mix_FreeChunk(m.slice); // the samples belong to the whole chunk
    m.slice = nullptr;
  }
  if (m.notify) Notify(m.notify, MCI_NOTIFY_ABORTED, m.id);
  m.notify = 0;
}

void Close(State &s, MCIDEVICEID id) {
  auto it = s.devices.find(id);
  if (it == s.devices.end()) return;
  Media &m = *it->second;
  Halt(s, m);
  if (m.chunk) Mix_FreeChunk(m.chunk);
  if (m.channel >= 0) s.channelUsed[m.channel] = false;
  s.devices.erase(it);
  s.changed.notify_all();
}

// The watcher: every 10 ms, devices whose sound has ended become stopped,
// and their notification goes out. It ends when nothing plays.
void Watch() {
  State &s = S();
  std::unique_lock<std::mutex> lock(s.mutex);
  for (;;) {
    bool playing = false;
    std::vector<MCIDEVICEID> finished;
    for (auto &[id, m] : s.devices) {
      if (m->mode == Mode::kPaused) playing = true;
      if (m->mode != Mode::kPlaying) continue;
      if (Mix_Playing(m->channel)) {
        playing = true;
        continue;
      }
      finished.push_back(id);
    }
    for (MCIDEVICEID id : finished) {
      Media &m = *s.devices[id];
      m.mode = Mode::kStopped;
      m.position = m.playEnd;
      if (m.slice) {
        Mix_FreeChunk(m.slice);
        m.slice = nullptr;
      }
      HWND window = m.notify;
      m.notify = 0;
      Notify(window, MCI_NOTIFY_SUCCESSFUL, id);
      if (m.autoOpened) Close(s, id);
    }
    if (!finished.empty()) s.changed.notify_all();
    if (!playing) {
      s.watching = false;
      SDL_TLSCleanup(); // what SDL kept for this thread, which ends now
      return;
    }
    s.changed.wait_for(lock, std::chrono::milliseconds(10));
  }
}

void StartWatcher(State &s) {
  if (s.watching) return;
  if (s.watcher.joinable()) s.watcher.join(); // it has returned already
  s.watching = true;
  s.watcher = std::thread(Watch);
}

// Closes every device, awaits the watcher and closes the audio output, so
// that no thread of ours or of the mixer outlives the media (program end
// closes all). The lock is left while the watcher ends.
void CloseAll(State &s, std::unique_lock<std::mutex> &lock) {
  std::vector<MCIDEVICEID> ids;
  for (auto &[id, d] : s.devices) ids.push_back(id);
  for (MCIDEVICEID id : ids) Close(s, id);
  std::thread watcher = std::move(s.watcher);
  if (watcher.joinable()) {
    lock.unlock();
    watcher.join();
    lock.lock();
  }
  // Another thread may have opened a device meanwhile: it keeps the output.
  if (!s.audioOpen || !s.devices.empty() || s.watching) return;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  s.audioOpen = false;
}

// Opens the audio output once: the system's, else SDL's silent dummy
// driver, which plays at the real pace.
bool OpenAudio(State &s) {
  if (s.audioOpen) return true;
  if (!lazy::Load(lazy::kSdl) || !lazy::Load(lazy::kSdlMixer)) return false;
  platform::midi::QuietAudioLibraries();
  auto tryOpen = [&s]() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    return true;
  };
  bool open = tryOpen();
  if (!open) {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    open = tryOpen();
  }
  if (!open) return false;
  Uint16 format = 0;
  int rate = kRate, channels = 2;
  Mix_QuerySpec(&rate, &format, &channels);
  s.audioRate = rate > 0 ? rate : kRate;
  s.audioChannels = channels > 0 ? channels : 2;
  s.audioFormatBytes = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
  if (s.audioFormatBytes <= 0) s.audioFormatBytes = 2;
  Mix_AllocateChannels(kChannels);
  // MIDI goes through FluidSynth with the General MIDI soundfont.
  const char *font = std::getenv("QUILLRUNNER_SOUNDFONT");
  std::string chosen = font && *font ? font : "/usr/share/sounds/sf2/default-GM.sf2";
  Mix_SetSoundFonts(chosen.c_str());
  s.audioOpen = true;
  return true;
}

bool IsFile(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReadFile(const std::string &path) {
  std::string bytes;
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

// The Linux path of a media file named in a command.
std::string MediaPath(const State &s, const std::string &element) {
  bool absolute = element.find(':') != std::string::npos || element.starts_with("\\\\") ||
                  element.starts_with("/") || element.starts_with("\\");
  std::string windows = absolute || s.directory.empty() ? element : s.directory + "\\" + element;
  if (element.starts_with("/")) return element;
  return platform::ToUnixPath(windows);
}

std::string TypeOfExtension(const std::string &element) {
  std::string lower = Lower(element);
  size_t dot = lower.rfind('.');
  std::string ext = dot == std::string::npos ? "" : lower.substr(dot + 1);
  if (ext == "wav") return "waveaudio";
  if (ext == "mid" || ext == "midi" || ext == "rmi") return "sequencer";
  if (ext == "mp3" || ext == "ogg" || ext == "oga") return "mpegvideo";
  return "";
}

Media *FindByName(State &s, const std::string &name) {
  std::string key = Lower(name);
  for (auto &[id, m] : s.devices)
    if (m->name == key) return m.get();
  return nullptr;
}

// open ELEMENT [type T] [alias A] [shareable] [wait] [notify]
MCIERROR OpenDevice(State &s, const Command &c, bool autoOpen, Media **opened) {
  std::string element = c.device;
  std::string type, alias;
  for (size_t i = 0; i < c.words.size(); ++i) {
    std::string w = Lower(c.words[i]);
    if (w == "type" || w == "alias") {
      if (i + 1 >= c.words.size()) return MCIERR_MISSING_PARAMETER;
      (w == "type" ? type : alias) = c.words[++i];
    } else if (w == "shareable" || w == "wait" || w == "notify") {
    } else if (!autoOpen) {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  // "waveaudio!file.wav" names the type in front of the file.
  size_t bang = element.find('!');
  if (bang != std::string::npos && type.empty()) {
    type = element.substr(0, bang);
    element = element.substr(bang + 1);
  }
  type = Lower(type);
  if (type.empty()) type = TypeOfExtension(element);
  if (type == "avivideo" || type == "mpegvideo2") type = "mpegvideo";
  if (type.empty()) return MCIERR_EXTENSION_NOT_FOUND;
  if (type != "waveaudio" && type != "sequencer" && type != "mpegvideo")
    return MCIERR_INVALID_DEVICE_NAME;
  std::string name = Lower(alias.empty() ? element : alias);
  if (FindByName(s, name)) return MCIERR_DUPLICATE_ALIAS;

  std::string path = MediaPath(s, element);
  if (path.empty() || !IsFile(path)) return MCIERR_FILE_NOT_FOUND;
  std::string bytes = ReadFile(path);
  if (bytes.empty()) return MCIERR_INVALID_FILE;
  std::optional<uint32_t> midiLength;
  if (bytes.compare(0, 4, "MThd") == 0) {
    midiLength = platform::midi::StandardMidiFileLength(bytes);
    if (!midiLength) return MCIERR_INVALID_FILE;
    // Without a soundfont a MIDI file would play silence.
    if (!lazy::Load(lazy::kSdlMixer)) return MCIERR_HARDWARE;
    const char *fonts = Mix_GetSoundFonts();
    if (!fonts || !IsFile(fonts)) return MCIERR_CANNOT_LOAD_DRIVER;
  }
  if (!OpenAudio(s)) return MCIERR_HARDWARE;
  int channel = 0;
  while (channel < kChannels && s.channelUsed[channel]) ++channel;
  if (channel == kChannels) return MCIERR_OUT_OF_MEMORY;

  SDL_RWops *rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  Mix_Chunk *chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  if (!chunk || chunk->alen == 0) {
    if (chunk) Mix_FreeChunk(chunk);
    return MCIERR_INVALID_FILE;
  }
  auto m = std::make_unique<Media>();
  m->frameBytes = static_cast<uint32_t>(s.audioFormatBytes * s.audioChannels);
  uint64_t frames = chunk->alen / m->frameBytes;
  if (midiLength) {
    // The rendering goes on while the last notes die away; the piece ends
    // with its last event.
    uint64_t piece = static_cast<uint64_t>(*midiLength) * s.audioRate / 1000;
    if (piece > 0 && piece < frames) {
      frames = piece;
      chunk->alen = static_cast<Uint32>(frames * m->frameBytes);
    }
  }
  m->id = ++s.lastId;
  if (m->id == 0) m->id = ++s.lastId;
  m->name = name;
  m->type = type;
  m->chunk = chunk;
  m->channel = channel;
  m->length = ToMs(frames, s.audioRate);
  m->autoOpened = autoOpen;
  s.channelUsed[channel] = true;
  *opened = m.get();
  s.devices[m->id] = std::move(m);
  return 0;
}

// A position word's value (milliseconds), bounded by the length.
MCIERROR PositionValue(const Media &m, const std::string &text, uint32_t &out) {
  std::optional<uint32_t> v = Number(text);
  if (!v) return MCIERR_BAD_INTEGER;
  if (*v > m.length) return MCIERR_OUTOFRANGE;
  out = *v;
  return 0;
}

MCIERROR Play(State &s, Media &m, const Command &c, HWND callback, bool notify) {
  uint32_t from = PositionOf(m), to = m.length;
  bool fromGiven = false;
  for (size_t i = 0; i < c.words.size(); ++i) {
    std::string w = Lower(c.words[i]);
    if (w == "from" || w == "to") {
      if (i + 1 >= c.words.size()) return MCIERR_MISSING_PARAMETER;
      MCIERROR e = PositionValue(m, c.words[++i], w == "from" ? from : to);
      if (e) return e;
      if (w == "from") fromGiven = true;
    } else if (w != "notify" && w != "wait" && w != "repeat") {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  // Playing on from the end starts again at the beginning.
  if (!fromGiven && from >= m.length) from = 0;
  if (to < from) return MCIERR_OUTOFRANGE;
  HWND previous = m.notify;
  m.notify = 0;
  if (m.mode != Mode::kStopped) Mix_HaltChannel(m.channel);
  m.mode = Mode::kStopped;
  if (m.slice) {
    Mix_FreeChunk(m.slice);
    m.slice = nullptr;
  }
  // A new notification request takes the place of the old one; a play
  // without one ends the old one's wait.
  if (previous && !notify) Notify(previous, MCI_NOTIFY_ABORTED, m.id);
  uint64_t rate = static_cast<uint64_t>(s.audioRate);
  uint64_t fromByte = from * rate / 1000 * m.frameBytes;
  uint64_t toByte = std::min<uint64_t>(to * rate / 1000 * m.frameBytes, m.chunk->alen);
  m.position = from;
  m.playEnd = to;
  if (toByte <= fromByte) {
    // Nothing to play: the play ends at once.
    m.position = to;
    if (notify) Notify(callback, MCI_NOTIFY_SUCCESSFUL, m.id);
    return 0;
  }
  m.slice = Mix_QuickLoad_RAW(m.chunk->abuf + fromByte, static_cast<Uint32>(toByte - fromByte));
  if (!m.slice || Mix_PlayChannel(m.channel, m.slice, 0) < 0) {
    if (m.slice) Mix_FreeChunk(m.slice);
    m.slice = nullptr;
    return MCIERR_HARDWARE;
  }
  m.mode = Mode::kPlaying;
  m.started = Clock::now();
  m.startedAt = from;
  if (notify) m.notify = callback;
  StartWatcher(s);
  return 0;
}

MCIERROR Status(State &, Media &m, const Command &c, std::string &result) {
  std::string item;
  for (const std::string &w : c.words) {
    if (Lower(w) == "wait" || Lower(w) == "notify") continue;
    item += (item.empty() ? "" : " ") + Lower(w);
  }
  if (item == "mode") {
    result = m.mode == Mode::kPlaying ? "playing" : m.mode == Mode::kPaused ? "paused" : "stopped";
  } else if (item == "length") {
    result = std::to_string(m.length);
  } else if (item == "position") {
    result = std::to_string(PositionOf(m));
  } else if (item == "ready" || item == "media present") {
    result = "true";
  } else if (item == "time format") {
    result = "milliseconds";
  } else if (item == "number of tracks" || item == "current track") {
    result = "1";
  } else if (item.empty()) {
    return MCIERR_MISSING_PARAMETER;
  } else {
    return MCIERR_UNRECOGNIZED_KEYWORD;
  }
  return 0;
}

MCIERROR Set(Media &, const Command &c) {
  std::vector<std::string> w;
  for (const std::string &word : c.words)
    if (Lower(word) != "wait" && Lower(word) != "notify") w.push_back(Lower(word));
  if (w.empty()) return MCIERR_MISSING_PARAMETER;
  if (w.size() >= 2 && w[0] == "time" && w[1] == "format") {
    if (w.size() != 3) return MCIERR_MISSING_PARAMETER;
    return w[2] == "milliseconds" || w[2] == "ms" ? 0 : MCIERR_BAD_TIME_FORMAT;
  }
  // Audio switches are accepted and change nothing.
  if (w[0] == "audio" || w[0] == "door") return 0;
  return MCIERR_UNRECOGNIZED_KEYWORD;
}

MCIERROR Seek(Media &m, const Command &c, State &s) {
  if (c.words.empty()) return MCIERR_MISSING_PARAMETER;
  uint32_t to = 0;
  std::string first = Lower(c.words[0]);
  if (first == "to" && c.words.size() >= 2) {
    std::string where = Lower(c.words[1]);
    if (where == "start") {
      to = 0;
    } else if (where == "end") {
      to = m.length;
    } else if (MCIERROR e = PositionValue(m, c.words[1], to)) {
      return e;
    }
  } else {
    return MCIERR_MISSING_PARAMETER;
  }
  Halt(s, m);
  m.position = to;
  s.changed.notify_all();
  return 0;
}

void CopyResult(const std::string &result, LPSTR out, UINT size) {
  if (!out || size == 0) return;
  size_t n = std::min<size_t>(result.size(), size - 1);
  std::memcpy(out, result.data(), n);
  out[n] = '\0';
}

bool HasWord(const Command &c, const char *word) {
  for (const std::string &w : c.words)
    if (Lower(w) == word) return true;
  return false;
}

} // namespace

void SetMediaDirectory(const std::string &windowsDirectory) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.directory = windowsDirectory;
}
static MCIERROR SendCommandString(LPCSTR command, LPSTR returnText, UINT returnLength,
                                  HWND callback) {
  if (returnText && returnLength) returnText[0] = '\0';
  if (!command) return MCIERR_MISSING_COMMAND_STRING;
  Command c;
  if (MCIERROR e = platform::mci::Parse(command, c)) return e;
  bool notify = HasWord(c, "notify");
  bool wait = HasWord(c, "wait");
  State &s = S();
  std::unique_lock<std::mutex> lock(s.mutex);
  std::string result;
  MCIERROR error = 0;
  Media *m = nullptr;

  if (c.verb == "open") {
    error = OpenDevice(s, c, false, &m);
    if (!error) result = std::to_string(m->id);
  } else if (c.verb == "close" && Lower(c.device) == "all") {
    CloseAll(s, lock);
  } else {
    m = FindByName(s, c.device);
    if (!m && c.verb == "play") {
      // A file named directly is opened for this play and closed after it.
      Command open = c;
      open.words.clear();
      error = OpenDevice(s, open, true, &m);
    } else if (!m) {
      error = MCIERR_INVALID_DEVICE_NAME;
    }
    if (!error) {
      if (c.verb == "play") {
        error = Play(s, *m, c, callback, notify);
      } else if (c.verb == "stop") {
        Halt(s, *m);
        s.changed.notify_all();
      } else if (c.verb == "pause") {
        if (m->mode == Mode::kPlaying) {
          m->position = PositionOf(*m);
          Mix_Pause(m->channel);
          m->mode = Mode::kPaused;
        }
      } else if (c.verb == "resume") {
        if (m->mode == Mode::kPaused) {
          Mix_Resume(m->channel);
          m->mode = Mode::kPlaying;
          m->started = Clock::now();
          m->startedAt = m->position;
        }
      } else if (c.verb == "seek") {
        error = Seek(*m, c, s);
      } else if (c.verb == "status") {
        error = Status(s, *m, c, result);
      } else if (c.verb == "set") {
        error = Set(*m, c);
      } else if (c.verb == "close") {
        Close(s, m->id);
        m = nullptr;
      } else if (c.verb == "cue" || c.verb == "realize") {
      } else {
        error = MCIERR_UNRECOGNIZED_COMMAND;
      }
    }
  }
  if (error) return error;
  MCIDEVICEID id = m ? m->id : 0;
  bool playing = c.verb == "play" && m && m->mode == Mode::kPlaying;
  if (wait && playing) {
    // Until the play ends, the device goes away, or program end.
    while (!platform::WaitAborted()) {
      auto it = s.devices.find(id);
      if (it == s.devices.end() || it->second->mode != Mode::kPlaying) break;
      s.changed.wait_for(lock, std::chrono::milliseconds(10));
    }
  }
  // Commands other than play report their end at once.
  if (notify && c.verb != "play") Notify(callback, MCI_NOTIFY_SUCCESSFUL, id);
  CopyResult(result, returnText, returnLength);
  return 0;
}

} // namespace platform

MCIERROR mciSendStringA(LPCSTR command, LPSTR returnText, UINT returnLength, HWND callback) {
  MCIERROR error = platform::SendCommandString(command, returnText, returnLength, callback);
  // SDL keeps an error text per thread that only threads SDL started free
  // when they end; the calling thread is ours, so free it after each call.
  if (platform::lazy::Loaded(platform::lazy::kSdl)) platform::SDL_TLSCleanup();
  return error;
}
