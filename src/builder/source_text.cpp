#include "builder/source_text.h"

#include <cstdint>

#include "platform/cp932.h"

namespace builder {

bool LooksLikeUtf8(std::string_view text) {
  bool multiByte = false;
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<uint8_t>(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t extra;
    uint32_t min;
    if ((b & 0xE0) == 0xC0) {
      extra = 1;
      min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    uint32_t cp = b & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      auto c = static_cast<uint8_t>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = cp << 6 | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    multiByte = true;
    i += extra + 1;
  }
  return multiByte;
}

SourceFile MakeSourceFile(const std::string &name, std::string_view bytes) {
  SourceFile file;
  file.name = name;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
    file.text = cp932::FromUtf8(bytes);
  } else if (LooksLikeUtf8(bytes)) {
    file.text = cp932::FromUtf8(bytes);
  } else {
    file.text.assign(bytes);
  }
  const std::string &t = file.text;
  size_t start = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\n' || t[i] == '\r') {
      file.lines.emplace_back(t, start, i - start);
      if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < t.size()) file.lines.emplace_back(t, start, t.size() - start);
  return file;
}

} // namespace builder
