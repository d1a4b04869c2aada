// The payload loader and the source map reader on arbitrary image tails:
// whatever the bytes, they are refused or decoded within their bounds, and
// a decoded payload encodes back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/loader.h"
#include "runtime/program_image.h"
#include "runtime/source_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char *>(data), size);
  image::Payload payload;
  if (image::DecodeImage(bytes, payload)) {
    std::string again, error;
    if (image::EncodePayload(payload, again, error)) {
      image::Payload back;
      if (!image::DecodeImage(again, back) || back.program != payload.program ||
          back.faceName != payload.faceName || back.fontNumbers != payload.fontNumbers ||
          back.showFlag != payload.showFlag)
        std::abort();
    }
    LOGFONTA font{};
    int32_t points = 0;
    ReadFontNumbers(payload.fontNumbers.c_str(), font, points);
  }
  srcmap::SourceMap map;
  if (srcmap::DecodeTrailing(bytes, map)) {
    for (const srcmap::Entry &e : map.entries) (void)map.Describe(e.position);
    (void)map.Describe(0xFFFFFFFFu);
  }
  return 0;
}
