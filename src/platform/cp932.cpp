// Conversion between code page 932 and UTF-8 with glibc's iconv ("CP932" is
// the Microsoft mapping). Bytes iconv refuses are replaced, never dropped
// silently in a way that could shift the rest of the text.
#include "platform/cp932.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace cp932 {
namespace {

// iconv descriptors are not thread-safe; one per direction under a mutex.
struct Converter {
  iconv_t cd;
  std::mutex mutex;
  Converter(const char *to, const char *from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

bool Ascii(std::string_view text) {
  for (char c : text)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

std::string Convert(Converter &conv, std::string_view text, std::string_view replacement,
                    bool fromCp932) {
  std::string out;
  if (conv.cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::lock_guard<std::mutex> guard(conv.mutex);
  iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
  char *in = const_cast<char *>(text.data());
  size_t inLeft = text.size();
  char buffer[1024];
  while (inLeft > 0) {
    char *o = buffer;
    size_t oLeft = sizeof buffer;
    size_t r = iconv(conv.cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, o - buffer);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // Skip one unconvertible unit: a byte of code page 932 (two when it is
      // a lead byte followed by something), or one UTF-8 sequence.
      size_t skip = 1;
      auto b = static_cast<uint8_t>(*in);
      if (fromCp932) {
        if (IsLeadByte(b) && inLeft >= 2) skip = 2;
      } else if (b >= 0xC0) {
        while (skip < inLeft && (static_cast<uint8_t>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
      out.append(replacement);
      iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

} // namespace

// ASCII reads the same in both encodings: such text (most paths and
// messages) is copied without loading the converter.
std::string ToUtf8(std::string_view text) {
  if (Ascii(text)) return std::string(text);
  static Converter conv("UTF-8", "CP932");
  return Convert(conv, text, "\xEF\xBF\xBD", true);
}

std::string FromUtf8(std::string_view text) {
  if (Ascii(text)) return std::string(text);
  static Converter conv("CP932", "UTF-8");
  return Convert(conv, text, "?", false);
}

} // namespace cp932
