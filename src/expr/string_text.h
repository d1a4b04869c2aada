// The string text form: code page 932 bytes in which 0x01 starts an escape
// (0x01 0x01 the byte 0x01, 0x01 "z" a double quote, 0x01 "0" a NUL, 0x01 "y"
// a blank), so any value can stand in a quoted literal of a NUL-terminated
// text.
#pragma once

#include <string>
#include <string_view>

// Writes RAW in string text form, in double quotes when QUOTED is set.
std::string EncodeString(std::string_view raw, bool quoted);

// Appends one raw byte in string text form.
void CharToText(char c, std::string &out);

// The raw bytes of a text in string text form; an escaped NUL becomes a NUL
// when KEEP_NUL is set and a blank otherwise. A 0x01 before any other byte
// is a runtime error: the result is then empty.
std::string DecodeString(std::string_view text, bool keepNul);
// The length DecodeString gives TEXT, without decoding it; npos (and no
// error reported) when DecodeString would fail.
size_t DecodedLength(std::string_view text);
// COUNT bytes (fewer at the end) from byte START of DecodeString(TEXT),
// decoding only those; TEXT must be one that DecodedLength accepts.
std::string DecodeRange(std::string_view text, bool keepNul, size_t start, size_t count);
