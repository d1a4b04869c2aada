#include "platform/text_input.h"

#include <cstdint>
#include <string>

#include "platform/cp932.h"

namespace platform {
namespace {

// The length of the UTF-8 sequence starting with LEAD, 0 when LEAD cannot
// start one.
size_t SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(uint8_t b) {
  return (b & 0xC0) == 0x80;
}

} // namespace

std::vector<WPARAM> CharMessagesFromUtf8(std::string_view text) {
  std::vector<WPARAM> out;
  size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<uint8_t>(text[i]);
    size_t n = SequenceLength(lead);
    bool whole = n > 0 && i + n <= text.size();
    for (size_t k = 1; whole && k < n; ++k)
      whole = IsContinuation(static_cast<uint8_t>(text[i + k]));
    if (!whole) {
      ++i; // a stray byte: skip it and resynchronise
      continue;
    }
    std::string_view one = text.substr(i, n);
    i += n;
    if (n == 1) {
      if (lead >= 0x20 && lead != 0x7F) out.push_back(lead);
      continue;
    }
    // The converter writes "?" for a character without a mapping; a real
    // question mark is ASCII and never reaches here.
    std::string bytes = cp932::FromUtf8(one);
    if (bytes.empty() || bytes == "?") continue;
    if (bytes.size() > 2) continue;
    auto first = static_cast<uint8_t>(bytes[0]);
    if (bytes.size() == 2 && !cp932::IsLeadByte(first)) continue;
    if (bytes.size() == 1 && first < 0x20) continue;
    for (char c : bytes) out.push_back(static_cast<uint8_t>(c));
  }
  return out;
}

} // namespace platform
