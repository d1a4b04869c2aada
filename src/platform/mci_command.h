// An MCI command string taken apart: the command, the device (an alias, a
// device type or a file name, possibly in double quotes) and the words
// after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/mmsystem.h"

namespace platform::mci {

struct Command {
  std::string verb;               // lower case
  std::string device;             // as written, quotes removed
  std::vector<std::string> words; // as written, quotes removed
  std::vector<bool> quoted;       // whether each word was quoted
};

// Splits TEXT at blanks and tabs; double quotes group. 0 or an MCIERR_ code.
MCIERROR Parse(const std::string &text, Command &out);

// Lower-case ASCII copy.
std::string Lower(const std::string &text);

// A whole decimal number that fits 32 bits.
std::optional<uint32_t> Number(const std::string &text);

} // namespace platform::mci
