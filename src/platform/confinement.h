// Confinement of untrusted programs (the fuzz harness).
#pragma once

#include <string>

namespace platform {

// From now on every path resolved from a program's Windows path must lie
// under ROOT (an existing directory) or it is refused like a drive without
// mapping; no process is started, no serial port is opened and no system
// printer or sequencer port is listed (only the file printer and the MIDI
// recorder, whose paths the caller keeps under ROOT). False when ROOT does
// not exist; an empty ROOT lifts the confinement.
bool ConfineTo(const std::string &root);
// Whether ConfineTo is in force.
bool Confined();
// Whether PATH (Linux form, relative to the current directory) lies under
// the root after ".." and symbolic links; always true when unconfined.
bool PathInsideConfinement(const std::string &path);

} // namespace platform
