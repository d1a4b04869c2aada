// One-line functions defined by DEFFN: the table shared by all BASIC threads
// and the calls made from statement text.
#pragma once

#include <string>
#include <string_view>

#include "flow/threads.h"

// Calls the DEFFN function NAME with ARGS (already pre-evaluated): binds the
// parameters as ordinary variables of the current scope and evaluates the
// body. The result is number text, or a quoted literal for a name ending in
// "$". A name without a definition, an argument count that differs from the
// parameter count, or calls nested too deeply report a runtime error and give
// 0 or an empty literal.
std::string FN(std::string_view name, std::string_view args, ThreadIndex slot);

// Removes every DEFFN definition.
void ClearUserFunctions();
