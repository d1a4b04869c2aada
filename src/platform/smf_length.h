// The length of a Standard MIDI File in milliseconds, from its tempo map.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::midi {

// When the last event of BYTES happens; empty when BYTES is no readable
// Standard MIDI File.
std::optional<uint32_t> StandardMidiFileLength(const std::string &bytes);

} // namespace platform::midi
