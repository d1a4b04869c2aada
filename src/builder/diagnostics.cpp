#include "builder/diagnostics.h"

#include <cstdint>

#include "platform/cp932.h"

namespace builder {

int CharacterColumn(const std::string &line, size_t byteOffset) {
  int column = 1;
  size_t i = 0;
  while (i < byteOffset && i < line.size()) {
    i += cp932::IsLeadByte(static_cast<uint8_t>(line[i])) && i + 1 < line.size() ? 2 : 1;
    ++column;
  }
  return column;
}

std::string FormatDiagnostic(const Diagnostic &d) {
  std::string out = d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
                    ": error: " + d.message + "\n";
  if (d.line > 0) {
    out += "  " + cp932::ToUtf8(d.lineText) + "\n  ";
    // In code page 932 a double-byte character is as wide as two single-byte
    // ones, so the byte count is also the display width; tabs stay tabs.
    for (size_t i = 0; i < d.byteOffset && i < d.lineText.size(); ++i)
      out += d.lineText[i] == '\t' ? '\t' : ' ';
    out += "^\n";
  }
  return out;
}

} // namespace builder
