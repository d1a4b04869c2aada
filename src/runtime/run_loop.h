// The run loop: cuts statements out of the program text at a thread's
// counter and dispatches them one by one.
#pragma once

#include <string>

#include "flow/threads.h"
#include "runtime/program.h"

class LockRun;

// Runs thread SLOT from its counter until the text ends, a statement says
// stop, or program end has begun. A routine's loop goes on with its
// caller's hold on the lock, RUN, and may leave it held or not.
void RunLoop(ThreadIndex slot, LockRun *run = nullptr);

// Appends the statement at COUNTER to OUT and leaves COUNTER on its
// terminator (newline, 0, or a ":" outside quotes). The in-quotes state
// carries over from one statement to the next.
void CutStatement(const Program &prog, ProgramPosition &counter, bool &inQuotes, std::string &out);

// Inside the THEN part of a single-line IF: cuts STATEMENT at its ELSE and
// moves the thread's counter to the end of the line.
void CutAtElse(std::string &statement, ThreadIndex slot);
