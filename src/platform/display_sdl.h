// The on-screen display driver (SDL2).
#pragma once

#include <memory>
#include <string>

#include "platform/display.h"

namespace platform {

// Starts SDL's video on the driver's own user-interface thread. Null when
// there is no usable display, with the reason in ERROR.
std::unique_ptr<DisplayDriver> MakeSdlDisplay(std::string &error);

class ClipboardBackend;
// The clipboard backend over the display driver's desktop clipboard (text);
// installed with the driver.
std::unique_ptr<ClipboardBackend> MakeDesktopClipboard();

} // namespace platform
