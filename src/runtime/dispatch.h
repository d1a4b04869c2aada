// Executes one statement text on one BASIC thread.
#pragma once

#include <cstdint>
#include <string>

#include "flow/threads.h"

// Acts on control tokens, pre-evaluates the statement, and calls its
// handler under the interpreter lock (an assignment when it has no token).
// Returns 0 when the current run stops, nonzero when it goes on.
int Dispatch(std::string &statement, ThreadIndex slot);

struct CutEntry;

// Fills in how a freshly cut statement runs (CutEntry::path) and what that
// takes from its text.
void PrepareDirect(CutEntry &cut);

class LockRun;

// Dispatch for a statement that PrepareDirect found direct: the same
// effects without reading the text again. STATEMENT is the run loop's
// buffer; the handler receives it. Brief statements (assignments, IF, FOR,
// NEXT, RETURN, resolved GOTO and GOSUB) run inside RUN's hold of the
// lock; other statements release it first.
int DispatchDirect(const CutEntry &cut, std::string &statement, ThreadIndex slot, LockRun &run);

// What Dispatch does for a marker that PrepareDirect took apart, counted as
// a brief statement in RUN.
int RunMarker(const CutEntry &cut, ThreadIndex slot, LockRun &run);

// The first position at or after START where 0x01 CODE stands, plus 2; 0
// when a 0 byte comes first.
ProgramPosition FindMarker(ProgramPosition start, uint8_t code);
