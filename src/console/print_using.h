// PRINT USING: values laid into the fields of a format text.
//
// Fields: "@" (the whole string), "&  &" (a string cut or padded to the
// field's width), and numeric fields of "#" with "+" (sign), "," (thousands),
// "." (decimals) and "^^^^" (exponent form). Everything else in the format,
// double-byte characters included, is copied unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Formats ARG, the text after the word "using" with the blanks outside
// quotes removed: a format expression, ";" and the value list. Values are
// taken one per field; a field without a value gets an empty value and
// values beyond the last field are ignored. Returns the changed format text
// in string text form. A missing ";" or a malformed "&" field is reported as
// a runtime error and gives nothing.
std::optional<std::string> FormatUsing(std::string_view arg);
