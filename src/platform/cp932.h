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

// The double-byte form of a single byte (ASCII 0x20-0x7E and half-width
// katakana 0xA1-0xDF), high byte first; any other byte is returned unchanged.
uint16_t ToFullWidth(uint8_t b);

// The single-byte form of a double-byte character (code = lead << 8 | trail):
// full-width ASCII, symbols, katakana and hiragana, voicing marks dropped.
// A code without a single-byte form is returned unchanged.
uint16_t ToHalfWidth(uint16_t code);

} // namespace cp932
