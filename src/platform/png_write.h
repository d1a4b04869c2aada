// Writing pixel buffers as PNG files (libpng).
#pragma once

#include <string>

#include "platform/pixels.h"

namespace platform {

// Writes the pixels of VIEW (0x00RRGGBB) to PATH as an 8-bit RGB PNG of the
// view's size. False when the file cannot be made or written; ERROR then
// says why.
bool WritePng(const std::string &path, const PixelView &view, std::string &error);

} // namespace platform
