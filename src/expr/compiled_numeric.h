// Numeric expression texts compiled once into the steps the text algorithm
// takes on them, with each value that the text algorithm writes back as
// number text rounded exactly as reading that text back would round it.
#pragma once

#include <string_view>

struct CompiledNumeric;

// The compiled form of TEXT, made once per thread and kept for the thread's
// life; null when TEXT has a form the compiler does not take.
const CompiledNumeric *CompiledFormOf(std::string_view text);

// The values of the routine calls cut out of a text, in text order, and
// (for the checking mode) the text with their number texts written in, as
// pre-evaluation writes them.
struct HoleValues {
  const double *values = nullptr;
  std::string_view filled;
};

// The marker that stands for one cut-out call in a text given to
// CompiledFormWithHoles.
inline constexpr char kHoleMarker[] = "\x01\x63";

// The compiled form of TEXT in which each kHoleMarker is an operand whose
// value a HoleValues gives; null when TEXT has another form, or a marker
// that does not stand as a whole operand (inside an array subscript, or
// behind an operator that would fold with its sign).
const CompiledNumeric *CompiledFormWithHoles(std::string_view text);

// Whether C can run at the current nesting.
bool CompiledFormFits(const CompiledNumeric &c);

// The value of TEXT through its compiled form C; false when the form cannot
// run at the current nesting (the caller then evaluates the text).
bool RunCompiledForm(const CompiledNumeric &c, std::string_view text, double &value);

// The same for a form with holes, whose values HOLES gives; the checking
// mode compares the value with HOLES.filled's.
bool RunCompiledForm(const CompiledNumeric &c, const HoleValues &holes, double &value);

// CompiledFormOf and RunCompiledForm together.
bool EvalCompiled(std::string_view text, double &value);
