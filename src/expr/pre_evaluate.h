// Replaces built-in function and routine calls inside a statement by their
// values before the statement runs.
#pragma once

#include <string>

#include "flow/threads.h"

void PreEvaluate(std::string &text, ThreadIndex slot);
