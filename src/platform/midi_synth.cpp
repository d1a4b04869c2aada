// The built-in synthesiser: FluidSynth with a General MIDI soundfont,
// playing through the first audio output that opens. Without any audio
// output it still takes every message, so programs behave the same.
#include <sys/stat.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/fluid_calls.h"
#include "platform/midi_device.h"

namespace platform::midi {
namespace {

bool IsFile(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// $QUILLRUNNER_SOUNDFONT, else Debian's General MIDI soundfont.
std::string SoundfontPath() {
  const char *chosen = std::getenv("QUILLRUNNER_SOUNDFONT");
  if (chosen && *chosen) return IsFile(chosen) ? chosen : "";
  for (const char *path :
       {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"})
    if (IsFile(path)) return path;
  return "";
}

class Synthesizer : public Device {
public:
  ~Synthesizer() override { Release(); }

  bool Start() {
    std::string font = SoundfontPath();
    if (font.empty() || !lazy::Load(lazy::kFluidSynth)) return false;
    settings_ = new_fluid_settings();
    if (!settings_) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", 44100.0);
    // Samples are read as presets need them: a fraction of the time and
    // memory of loading the whole soundfont.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    synth_ = new_fluid_synth(settings_);
    if (!synth_ || fluid_synth_sfload(synth_, font.c_str(), 1) == FLUID_FAILED) return false;
    // The desktop's sound server first, then the sound card itself.
    for (const char *driver : {"pulseaudio", "alsa"}) {
      if (fluid_settings_setstr(settings_, "audio.driver", driver) != FLUID_OK) continue;
      audio_ = new_fluid_audio_driver(settings_, synth_);
      if (audio_) break;
    }
    return true;
  }

  bool Send(uint8_t status, uint8_t data1, uint8_t data2) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!synth_) return false;
    int channel = status & 0x0F;
    // The synthesiser's own results (a note-off for a note that already
    // ended, for example) are no delivery failures.
    switch (status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth_, channel, data1);
      break;
    case 0x90:
      if (data2 == 0)
        fluid_synth_noteoff(synth_, channel, data1);
      else
        fluid_synth_noteon(synth_, channel, data1, data2);
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth_, channel, data1, data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth_, channel, data1, data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth_, channel, data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth_, channel, data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7);
      break;
    default:
      if (status == 0xFF) fluid_synth_system_reset(synth_);
      break;
    }
    return true;
  }

  bool Close() override {
    Release();
    return true;
  }

private:
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (audio_) delete_fluid_audio_driver(audio_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
    audio_ = nullptr;
    synth_ = nullptr;
    settings_ = nullptr;
  }

  std::mutex mutex_;
  fluid_settings_t *settings_ = nullptr;
  fluid_synth_t *synth_ = nullptr;
  fluid_audio_driver_t *audio_ = nullptr;
};

} // namespace

std::unique_ptr<Device> OpenSynthesizer() {
  QuietAudioLibraries();
  auto synth = std::make_unique<Synthesizer>();
  if (!synth->Start()) return nullptr;
  return synth;
}

} // namespace platform::midi
