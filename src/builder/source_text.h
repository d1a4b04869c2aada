// Reading BASIC source files: the encoding (UTF-8 or code page 932) is
// detected and the text converted to code page 932, the form that program
// text uses; the text is cut into lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace builder {

struct SourceFile {
  std::string name;               // as given on the command line
  std::string text;               // code page 932, without a byte order mark
  std::vector<std::string> lines; // without their line ends (LF, CR LF or CR)
};

// True when TEXT is valid UTF-8 holding at least one multi-byte sequence.
bool LooksLikeUtf8(std::string_view text);

// Converts BYTES (UTF-8 with or without a byte order mark, or code page 932)
// into a SourceFile.
SourceFile MakeSourceFile(const std::string &name, std::string_view bytes);

} // namespace builder
