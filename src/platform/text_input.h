// Text typed on a real keyboard or through an input method arrives as UTF-8;
// windows receive it as WM_CHAR messages of code page 932 bytes.
#pragma once

#include <string_view>
#include <vector>

#include "platform/win32.h"

namespace platform {

// The wParam of each WM_CHAR that TEXT (UTF-8) gives, in order: one per
// single-byte character, two (lead byte, then trail byte) per double-byte
// character. Characters code page 932 cannot hold, control characters and
// malformed UTF-8 give nothing.
std::vector<WPARAM> CharMessagesFromUtf8(std::string_view text);

} // namespace platform
