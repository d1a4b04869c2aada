// Evaluating the arguments of the window and menu statements: numbers
// truncated to 32 bits, strings decoded from the string text form, and
// results stored through the assignment statement.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The arguments of TEXT (blanks outside quotes removed) cut at top-level
// commas; an empty text has none.
std::vector<std::string> WindowArguments(const std::string &text);
// The same into OUT for a statement that needs at least COUNT arguments;
// with fewer, the runtime error is raised and false returned.
bool RequiredArguments(const std::string &text, size_t count, std::vector<std::string> &out);

// Numeric and string values. OK turns false (and stays false) when an
// error trap caught an error in the evaluation, so that the statement is
// abandoned.
int32_t ArgNumber(const std::string &text, bool &ok);
std::string ArgString(const std::string &text, bool &ok, bool keepNul = false);

// Runs "NAME=VALUE" through the assignment statement; false when that
// reported an error that a trap caught.
bool AssignNumber(const std::string &name, int32_t value);
bool AssignText(const std::string &name, const std::string &raw);
