// FluidSynth, libasound and SDL write their diagnostics to stderr by
// default; the engine's stderr carries only message boxes, so they are
// silenced once, before any of them is used.
#include <mutex>

#include "platform/alsa_calls.h"
#include "platform/fluid_calls.h"
#include "platform/midi_device.h"
#include "platform/sdl_calls.h"

namespace platform::midi {
namespace {

void NoFluidLog(int, const char *, void *) {}
void NoAlsaLog(const char *, int, const char *, int, const char *, ...) {}
void NoSdlLog(void *, int, SDL_LogPriority, const char *) {}

} // namespace

void QuietAudioLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (lazy::Load(lazy::kFluidSynth))
      for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, NoFluidLog, nullptr);
    if (lazy::Load(lazy::kAlsa)) snd_lib_error_set_handler(NoAlsaLog);
    if (lazy::Load(lazy::kSdl)) SDL_LogSetOutputFunction(NoSdlLog, nullptr);
  });
}

} // namespace platform::midi
