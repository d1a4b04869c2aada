// Numeric expression texts compiled once into the steps the text algorithm
// takes on them, with each value that the text algorithm writes back as
// number text rounded exactly as reading that text back would round it.
#pragma once

#include <string_view>

struct CompiledNumeric;

// The compiled form of TEXT, made once per thread and kept for the thread's
// life; null when TEXT has a form the compiler does not take.
const CompiledNumeric *CompiledFormOf(std::string_view text);

// The value of TEXT through its compiled form C; false when the form cannot
// run at the current nesting (the caller then evaluates the text).
bool RunCompiledForm(const CompiledNumeric &c, std::string_view text, double &value);

// CompiledFormOf and RunCompiledForm together.
bool EvalCompiled(std::string_view text, double &value);
