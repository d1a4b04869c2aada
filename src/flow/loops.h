// Loops: FOR/NEXT, WHILE/WEND and the LOOP end of DO loops. No loop stack
// exists: every head runs again on each pass and reads its operands.
#pragma once

#include <optional>
#include <string>

#include "flow/threads.h"

struct ForParts;

void FOR(std::string &arg, ThreadIndex slot);
// Takes a FOR statement's argument text apart (no evaluation).
ForParts ParseFor(const std::string &arg);
bool SameParts(const ForParts &a, const ForParts &b);
// FOR with its argument text taken apart.
void RunFor(ForParts &parts, ThreadIndex slot);
void NEXT(std::string &arg, ThreadIndex slot);
// NEXT with its operand read: back to the FOR at TARGET (none: nowhere).
void NextTo(std::optional<ProgramPosition> target, ThreadIndex slot);
void WHILE(std::string &arg, ThreadIndex slot);
void WEND(std::string &arg, ThreadIndex slot);
void LOOP(std::string &arg, ThreadIndex slot);
