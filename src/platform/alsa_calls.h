// The functions of libasound (the ALSA sequencer, for MIDI output to a
// port) that the platform calls, loaded on first use (see lazy_library.h).
// The header's event and allocation macros expand to calls of these names.
#pragma once

#include <alsa/asoundlib.h>

#include "platform/lazy_library.h"

#define QUILL_ALSA_FUNCTIONS(X)                                                                    \
  X(kAlsa, snd_lib_error_set_handler)                                                              \
  X(kAlsa, snd_seq_client_id)                                                                      \
  X(kAlsa, snd_seq_client_info_get_client)                                                         \
  X(kAlsa, snd_seq_client_info_set_client)                                                         \
  X(kAlsa, snd_seq_client_info_sizeof)                                                             \
  X(kAlsa, snd_seq_close)                                                                          \
  X(kAlsa, snd_seq_connect_to)                                                                     \
  X(kAlsa, snd_seq_create_simple_port)                                                             \
  X(kAlsa, snd_seq_event_output_direct)                                                            \
  X(kAlsa, snd_seq_open)                                                                           \
  X(kAlsa, snd_seq_port_info_get_capability)                                                       \
  X(kAlsa, snd_seq_port_info_get_name)                                                             \
  X(kAlsa, snd_seq_port_info_get_port)                                                             \
  X(kAlsa, snd_seq_port_info_get_type)                                                             \
  X(kAlsa, snd_seq_port_info_set_client)                                                           \
  X(kAlsa, snd_seq_port_info_set_port)                                                             \
  X(kAlsa, snd_seq_port_info_sizeof)                                                               \
  X(kAlsa, snd_seq_query_next_client)                                                              \
  X(kAlsa, snd_seq_query_next_port)                                                                \
  X(kAlsa, snd_seq_set_client_name)

namespace platform {
QUILL_ALSA_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
