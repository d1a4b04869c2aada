#include "runtime/program_image.h"

#include <fstream>
#include <iterator>

#include "platform/platform.h"

namespace image {

const char *const kDefaultFaceName = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
const char *const kDefaultFontNumbers = "-16 0 0 0 0 0 0 0 128 0 0 0 1 12";

namespace {

void PutBigEndian(std::string &out, uint32_t v) {
  out.push_back(static_cast<char>(v >> 24));
  out.push_back(static_cast<char>(v >> 16));
  out.push_back(static_cast<char>(v >> 8));
  out.push_back(static_cast<char>(v));
}

uint32_t GetBigEndian(std::string_view s, size_t at) {
  auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(s[at + i])); };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

} // namespace

bool EncodePayload(const Payload &p, std::string &out, std::string &error) {
  if (p.faceName.size() > kMaxFaceName) {
    error = "the font face name is longer than 31 bytes";
    return false;
  }
  if (p.fontNumbers.size() > kMaxFontNumbers) {
    error = "the font numbers text is longer than 127 bytes";
    return false;
  }
  if (p.program.size() > 0x7FFFFF00u) {
    error = "the program is too large";
    return false;
  }
  out.clear();
  out.push_back(static_cast<char>(p.faceName.size()));
  out += p.faceName;
  out.push_back(static_cast<char>(p.fontNumbers.size()));
  out += p.fontNumbers;
  out.push_back(static_cast<char>(p.showFlag));
  PutBigEndian(out, static_cast<uint32_t>(p.program.size()));
  for (char c : p.program) out.push_back(static_cast<char>(~static_cast<uint8_t>(c)));
  PutBigEndian(out, static_cast<uint32_t>(out.size()));
  return true;
}

bool DecodeImage(std::string_view image, Payload &out) {
  if (image.size() < 4) return false;
  uint64_t length = GetBigEndian(image, image.size() - 4);
  if (length < 7 || length > image.size() - 4) return false;
  std::string_view payload = image.substr(image.size() - 4 - length, length);
  size_t at = 0;
  size_t f = static_cast<uint8_t>(payload[at++]);
  if (f > kMaxFaceName || at + f + 1 > payload.size()) return false;
  std::string_view face = payload.substr(at, f);
  at += f;
  size_t t = static_cast<uint8_t>(payload[at++]);
  if (t > kMaxFontNumbers || at + t + 1 + 4 > payload.size()) return false;
  std::string_view numbers = payload.substr(at, t);
  at += t;
  uint8_t show = static_cast<uint8_t>(payload[at++]);
  uint64_t p = GetBigEndian(payload, at);
  at += 4;
  if (p > payload.size() - at) return false;
  out.faceName.assign(face);
  out.fontNumbers.assign(numbers);
  out.showFlag = show;
  out.program.resize(p);
  for (size_t i = 0; i < p; ++i)
    out.program[i] = static_cast<char>(~static_cast<uint8_t>(payload[at + i]));
  return true;
}

bool WriteProgramImage(const std::string &enginePath, const std::string &path,
                       const Payload &payload, std::string &error, const std::string &sourceMap) {
  std::string tail;
  if (!EncodePayload(payload, tail, error)) return false;
  std::ifstream engine(enginePath, std::ios::binary);
  if (!engine) {
    error = "cannot read the engine " + enginePath;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(engine)), std::istreambuf_iterator<char>());
  std::ofstream outFile(path, std::ios::binary | std::ios::trunc);
  if (!outFile) {
    error = "cannot write " + path;
    return false;
  }
  outFile.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  outFile.write(sourceMap.data(), static_cast<std::streamsize>(sourceMap.size()));
  outFile.write(tail.data(), static_cast<std::streamsize>(tail.size()));
  outFile.close();
  if (!outFile) {
    error = "cannot write " + path;
    return false;
  }
  platform::MakeExecutable(path);
  return true;
}

} // namespace image
