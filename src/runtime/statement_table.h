// The statement codes and their handlers.
#pragma once

#include <cstdint>
#include <string>

#include "flow/threads.h"

// A statement handler: the argument text (its own copy, modifiable) and the
// thread that runs it.
using StatementHandler = void (*)(std::string &arg, ThreadIndex slot);

// The handler of a statement code; null when the code has none.
StatementHandler FindHandler(uint16_t code);
