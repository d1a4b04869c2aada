// BMP decoding, apart from the file access so that tests can feed bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi_internal.h"

namespace platform::gdi {

// Files larger than this are not read.
constexpr int64_t kMaxBmpFileBytes = int64_t{320} << 20;

// The picture of a BMP file's bytes; null for anything malformed, truncated,
// compressed or larger than 64M pixels.
std::shared_ptr<Surface> DecodeBmp(const std::vector<uint8_t> &file);

} // namespace platform::gdi
