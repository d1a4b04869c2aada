// Code page 932 (Shift-JIS) helpers: lead bytes and conversion to and from
// UTF-8 at the edges of the system (terminal, file names, fonts).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cp932 {

// 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Converts code page 932 text to UTF-8; a byte sequence without a mapping
// becomes U+FFFD.
std::string ToUtf8(std::string_view text);

// Converts UTF-8 to code page 932; a character without a mapping becomes "?".
std::string FromUtf8(std::string_view text);

} // namespace cp932
