// The one failure report of a running program.
#pragma once

#include <string>

// With an error trap set, queues the trap's GOTO for thread 0 and returns;
// the caller abandons the rest of its statement. Without one, shows the
// error message and closes the program: a BASIC thread then waits for
// program end and ends without running anything more.
void RuntimeError();

// ON Error: the trap becomes a GOTO of LABELS (at most 255 bytes in all).
void SetErrorTrap(const std::string &labels);
