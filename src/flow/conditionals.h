// IF, ELSEIF and ELSEIF SKIP: branch decisions read from the line's THEN,
// ELSE and BLOCK markers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "flow/threads.h"

enum class IfMode { Evaluate, Skip };

// Where an IF sends the counter for one value of its condition.
struct IfOutcome {
  enum Kind : uint8_t { Error, Stay, Jump, Line } kind = Stay;
  ProgramPosition counter = 0; // Jump: the target; Line: the counter, with IfLineFlag set
};

// A statement's outcomes for false and true, found on first use.
struct IfOutcomes {
  bool known[2] = {false, false};
  IfOutcome branch[2];
};

// CONDITION is the text between the token and THEN; LENGTH the whole
// statement's length (the counter stands on its terminator).
struct ConditionText;
// PREPARED, when given, is CONDITION prepared; OUTCOMES, when given, keeps
// the statement's outcomes.
void EvalIf(const std::string &condition, ThreadIndex slot, size_t length, IfMode mode,
            const ConditionText *prepared = nullptr, IfOutcomes *outcomes = nullptr);
