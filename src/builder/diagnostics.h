// Build errors: where in which source file, what is wrong, and the line
// with a caret under the place.
#pragma once

#include <string>
#include <vector>

namespace builder {

struct Diagnostic {
  std::string file;      // source file name
  int line = 0;          // 1-based
  int column = 0;        // 1-based, in characters
  std::string message;   // UTF-8
  std::string lineText;  // the source line, code page 932
  size_t byteOffset = 0; // where the caret goes, in bytes of lineText
};

// "file:line:column: error: message", the line and a caret line, in UTF-8,
// ending with a line feed.
std::string FormatDiagnostic(const Diagnostic &d);

// The 1-based character column of BYTE_OFFSET in a code page 932 line.
int CharacterColumn(const std::string &line, size_t byteOffset);

} // namespace builder
