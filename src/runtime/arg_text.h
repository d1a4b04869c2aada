// Helpers that take statement argument texts apart. Texts are byte strings
// in code page 932; double quotes delimit string literals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/program.h"

// Copies TEXT without the blanks and tabs outside double quotes.
std::string StripBlanks(std::string_view text);

// Copies TEXT from START into OUT up to the next "," at parenthesis depth 0
// outside quotes, or the end. Returns the index behind that "," (or the
// text's length when it ended).
size_t NextArgument(std::string_view text, size_t start, std::string &out);

// Whether TEXT holds exactly N arguments (one more than its commas outside
// quotes at depth 0); reports a runtime error on a mismatch when REPORT is
// set. A ")" closing more than was opened is a runtime error.
bool ArgCount(std::string_view text, int n, bool report);

// Removes a leading double quote and cuts at the next one; a text without a
// closing quote loses only its first byte.
void Unquote(std::string &text);

// Puts double quotes around a text that does not start with one.
void Quote(std::string &text);

// Moves the text from index AT on by N bytes: right (the bytes in front stay
// as they were) or left (overwriting the -N bytes in front of AT).
void ShiftText(std::string &text, size_t at, long n);

// Keywords inside argument texts are compared without regard to letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view word);

// Reads one "%d" conversion at P (white space, sign, digits; the value wraps
// to 32 bits) and moves P behind it; false when there is no digit.
bool ScanInt(const char *&p, int32_t &out);

// Reads a position operand as "%x" does: leading blanks, optional sign,
// optional 0x, hexadecimal digits, kept modulo 2^32. Empty when there is no
// digit.
std::optional<ProgramPosition> ReadHex(const char *text);
