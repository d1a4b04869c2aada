#include "data/assignment.h"

#include "runtime/runtime_error.h"

// Variables are not stored yet: an assignment is refused.
void Assign(std::string &) {
  RuntimeError();
}
