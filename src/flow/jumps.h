// Jumps: position operands, GOTO, GOSUB and RETURN with the per-thread
// return stack, and ON.
#pragma once

#include <string>

#include "flow/threads.h"

// Reads a label operand (up to its first blank). An unresolved label (first
// byte with bit 7 set) or an operand without digits is a runtime error;
// RESOLVED is then false and the result 0.
ProgramPosition ParseTarget(const std::string &operand, bool &resolved);

void Goto(const std::string &operand, ThreadIndex slot);
void Gosub(const std::string &operand, ThreadIndex slot);
// The same with the operand read: TARGET is what ParseTarget resolved.
void GotoTarget(ProgramPosition target, ThreadIndex slot);
void GosubTarget(ProgramPosition target, ThreadIndex slot);

void GOTO(std::string &arg, ThreadIndex slot);
void GOSUB(std::string &arg, ThreadIndex slot);
void RETURN(std::string &arg, ThreadIndex slot);
void ON(std::string &arg, ThreadIndex slot);
void RUN(std::string &arg, ThreadIndex slot);
void CHAIN(std::string &arg, ThreadIndex slot);

// Forgets the saved positions of every thread and their count (CLEAR).
void ClearReturnStacks();
