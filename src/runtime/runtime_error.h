// The one failure report of a running program.
#pragma once

#include <cstdint>
#include <string>

// With an error trap set, queues the trap's GOTO for thread 0 and returns;
// the caller abandons the rest of its statement. Without one, shows the
// error message and closes the program: a BASIC thread then waits for
// program end and ends without running anything more.
void RuntimeError();

// How many runtime errors the calling system thread has reported, for the
// checks that compare two ways of doing the same work.
uint64_t RuntimeErrorCount();

// ON Error: the trap becomes a GOTO of LABELS (at most 255 bytes in all).
void SetErrorTrap(const std::string &labels);
