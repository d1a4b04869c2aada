// The lister: program text back to source that builds to the same bytes.
// Jump targets get invented labels (*L1, *L2...), the bodies of DO loops
// get their DO back, and routine calls and record types their names.
#pragma once

#include <string>
#include <string_view>

namespace builder {

struct ListOptions {
  bool bytes = false; // show every statement's position and bytes
};

// Returns the listing in code page 932.
std::string ListProgram(std::string_view text, const ListOptions &options = {});

} // namespace builder
