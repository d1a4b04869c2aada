// The functions of FluidSynth (the software synthesizer) that the platform calls, loaded on
// first use (see lazy_library.h).
#pragma once

#include <fluidsynth.h>

#include "platform/lazy_library.h"

#define QUILL_FLUID_FUNCTIONS(X)                                                                   \
  X(kFluidSynth, delete_fluid_audio_driver)                                                        \
  X(kFluidSynth, delete_fluid_settings)                                                            \
  X(kFluidSynth, delete_fluid_synth)                                                               \
  X(kFluidSynth, fluid_set_log_function)                                                           \
  X(kFluidSynth, fluid_settings_setint)                                                            \
  X(kFluidSynth, fluid_settings_setnum)                                                            \
  X(kFluidSynth, fluid_settings_setstr)                                                            \
  X(kFluidSynth, fluid_synth_cc)                                                                   \
  X(kFluidSynth, fluid_synth_channel_pressure)                                                     \
  X(kFluidSynth, fluid_synth_key_pressure)                                                         \
  X(kFluidSynth, fluid_synth_noteoff)                                                              \
  X(kFluidSynth, fluid_synth_noteon)                                                               \
  X(kFluidSynth, fluid_synth_pitch_bend)                                                           \
  X(kFluidSynth, fluid_synth_program_change)                                                       \
  X(kFluidSynth, fluid_synth_sfload)                                                               \
  X(kFluidSynth, fluid_synth_system_reset)                                                         \
  X(kFluidSynth, new_fluid_audio_driver)                                                           \
  X(kFluidSynth, new_fluid_settings)                                                               \
  X(kFluidSynth, new_fluid_synth)

namespace platform {
QUILL_FLUID_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
