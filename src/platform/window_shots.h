// Headless pictures of user windows: each visible top-level window composed
// from its own backing store and its children's, written as a PNG.
#pragma once

#include <string>

#include "platform/win32.h"

namespace platform {

// Writes every visible top-level window but EXCLUDED into DIR as <n>.png
// (n from 1, in creation order) with its caption in <n>.txt; a menu bar is
// drawn above the client area. The calling thread's windows still waiting
// to paint are painted first. Returns false
// (ERROR says why) when a file cannot be written; the others still are.
bool WriteWindowShots(const std::string &dir, HWND excluded, std::string &error);

} // namespace platform
