// The functions of SDL2_mixer (MCI media) that the platform calls, loaded on
// first use (see lazy_library.h).
#pragma once

#include <SDL_mixer.h>

#include "platform/lazy_library.h"

#define QUILL_SDL_MIXER_FUNCTIONS(X)                                                               \
  X(kSdlMixer, Mix_AllocateChannels)                                                               \
  X(kSdlMixer, Mix_CloseAudio)                                                                     \
  X(kSdlMixer, Mix_FreeChunk)                                                                      \
  X(kSdlMixer, Mix_GetSoundFonts)                                                                  \
  X(kSdlMixer, Mix_HaltChannel)                                                                    \
  X(kSdlMixer, Mix_LoadWAV_RW)                                                                     \
  X(kSdlMixer, Mix_OpenAudio)                                                                      \
  X(kSdlMixer, Mix_Pause)                                                                          \
  X(kSdlMixer, Mix_PlayChannel)                                                                    \
  X(kSdlMixer, Mix_Playing)                                                                        \
  X(kSdlMixer, Mix_QuerySpec)                                                                      \
  X(kSdlMixer, Mix_QuickLoad_RAW)                                                                  \
  X(kSdlMixer, Mix_Resume)                                                                         \
  X(kSdlMixer, Mix_SetSoundFonts)

namespace platform {
QUILL_SDL_MIXER_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
