// Argument texts of the drawing statements: coordinate pairs "(x, y)",
// comma-separated argument lists with empty positions, and numbers
// truncated to 32 bits. Texts have their blanks stripped first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

// The index of the ")" matching the "(" at OPEN (quotes skipped), or npos.
size_t MatchingParen(std::string_view text, size_t open);

// Reads the pair at POS, which must be "(": two expressions separated by a
// comma at depth 0 and the matching ")". POS moves behind the ")". A
// missing comma, a third or an empty expression, or no ")" is a runtime
// error (false). Errors inside an expression are reported by the evaluator;
// the caller tests with ErrorWatch.
bool ReadPair(std::string_view text, size_t &pos, int32_t &x, int32_t &y);

// TEXT as a point and ",A1,A2...": MIN to MAX arguments after the comma,
// the first not empty, into ARGS. Anything else is a runtime error (false);
// false also when an error trap caught an error in the point.
bool ReadPointAndArguments(std::string_view text, int32_t &x, int32_t &y, size_t min, size_t max,
                           std::vector<std::string> &args);

// The arguments of TEXT: pieces between commas at parenthesis depth 0
// outside quotes. An empty text gives none; "a,,b" gives "a", "", "b".
std::vector<std::string> SplitArguments(std::string_view text);
// The arguments of a statement that takes exactly COUNT, none of them
// empty, into OUT; otherwise the runtime error is raised and false returned.
bool ExactArguments(std::string_view text, size_t count, std::vector<std::string> &out);

// A numeric expression truncated toward zero to 32 bits.
int32_t EvalInt(std::string_view text);

// A number argument that may be empty: DEFAULT when it is.
int32_t EvalIntOr(std::string_view text, int32_t fallback);

} // namespace gfx
