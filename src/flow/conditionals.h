// IF, ELSEIF and ELSEIF SKIP: branch decisions read from the line's THEN,
// ELSE and BLOCK markers.
#pragma once

#include <cstddef>
#include <string>

#include "flow/threads.h"

enum class IfMode { Evaluate, Skip };

// CONDITION is the text between the token and THEN; LENGTH the whole
// statement's length (the counter stands on its terminator).
struct ConditionText;
// PREPARED, when given, is CONDITION prepared.
void EvalIf(const std::string &condition, ThreadIndex slot, size_t length, IfMode mode,
            const ConditionText *prepared = nullptr);
