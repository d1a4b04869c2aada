// The program image: the engine executable with a payload behind its last
// byte (console font, show flag, the program text stored complemented) and
// the payload's big-endian length in the last four bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace image {

constexpr size_t kMaxFaceName = 31;
constexpr size_t kMaxFontNumbers = 127;

// The default console font of programs built without font options.
extern const char *const kDefaultFaceName;    // code page 932
extern const char *const kDefaultFontNumbers; // 14 numbers

struct Payload {
  std::string faceName;    // code page 932, at most 31 bytes
  std::string fontNumbers; // 14 decimal integers separated by blanks
  uint8_t showFlag = 0;    // 0 shows the main window at start
  std::string program;     // the program text as it runs (not complemented)
};

// The payload bytes followed by the 4-byte length, ready to append to an
// engine executable. Fails (returns false) when a field is too long.
bool EncodePayload(const Payload &payload, std::string &out, std::string &error);

// Finds and decodes the payload at the end of an image. Every length is
// checked against the data; false for anything that does not fit.
bool DecodeImage(std::string_view image, Payload &out);

// Writes ENGINE + payload to PATH with the run bit set. SOURCE_MAP, the
// encoded statement positions of a debug image, goes between the engine and
// the payload, where loaders that do not know it never look.
bool WriteProgramImage(const std::string &enginePath, const std::string &path,
                       const Payload &payload, std::string &error,
                       const std::string &sourceMap = std::string());

} // namespace image
