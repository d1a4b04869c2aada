// Process start-up: the command-line text, the display backend, the screen
// size, and the executable's own path in Windows form.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/clipboard.h"
#include "platform/cp932.h"
#include "platform/display.h"
#include "platform/display_sdl.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/winuser_window.h"

namespace {

std::mutex &CommandLineMutex() {
  static auto *m = new std::mutex;
  return *m;
}

// Kept for the life of the process: GetCommandLineA hands out its text.
std::string &CommandLineText() {
  static auto *s = new std::string;
  return *s;
}

} // namespace

namespace platform {

void Initialize(int argc, char **argv) {
  std::string line;
  for (int i = 1; i < argc && argv; ++i) {
    if (!argv[i]) break;
    if (i > 1) line += ' ';
    line += argv[i];
  }
  {
    std::lock_guard<std::mutex> lock(CommandLineMutex());
    CommandLineText() = cp932::FromUtf8(line);
  }
  // A display is used when asked for, or by default when the session has
  // one and SDL's video starts on it; otherwise headless, silently.
  const char *backend = std::getenv("QUILLRUNNER_BACKEND");
  bool asked = backend && std::strcmp(backend, "sdl") == 0;
  bool automatic = !backend || !*backend;
  auto has = [](const char *name) {
    const char *v = std::getenv(name);
    return v && *v;
  };
  bool session = has("DISPLAY") || has("WAYLAND_DISPLAY");
  // Asked for, SDL's own offscreen or dummy drivers serve too.
  bool display = session || (asked && has("SDL_VIDEODRIVER"));
  if (asked || (automatic && session)) {
    std::string error = display ? std::string() : "no display (DISPLAY is not set)";
    std::unique_ptr<DisplayDriver> sdl = display ? MakeSdlDisplay(error) : nullptr;
    if (sdl) {
      SetDisplayDriver(std::move(sdl));
      SetClipboardBackend(MakeDesktopClipboard());
      return;
    }
    if (asked) {
      std::fprintf(stderr, "quillrunner: cannot open the display (%s); running headless\n",
                   error.c_str());
      std::fflush(stderr);
    }
  }
  SetDisplayDriver(MakeHeadlessDisplay());
}

bool IsHeadless() {
  return Display().IsHeadless();
}
int ScreenWidth() {
  return Display().ScreenWidth();
}
int ScreenHeight() {
  return Display().ScreenHeight();
}

} // namespace platform

namespace {

// Further facts of a Japanese desktop with a mouse, as the classic look has
// them (index, value); the window parts come from the switch below.
constexpr int kFixedMetrics[][2] = {
    {2, 16},   // SM_CXVSCROLL
    {3, 16},   // SM_CYHSCROLL
    {9, 16},   // SM_CYVTHUMB
    {10, 16},  // SM_CXHTHUMB
    {11, 32},  // SM_CXICON
    {12, 32},  // SM_CYICON
    {13, 32},  // SM_CXCURSOR
    {14, 32},  // SM_CYCURSOR
    {19, 1},   // SM_MOUSEPRESENT
    {20, 16},  // SM_CYVSCROLL
    {21, 16},  // SM_CXHSCROLL
    {30, 18},  // SM_CXSIZE
    {31, 18},  // SM_CYSIZE
    {36, 4},   // SM_CXDOUBLECLK
    {37, 4},   // SM_CYDOUBLECLK
    {38, 75},  // SM_CXICONSPACING
    {39, 75},  // SM_CYICONSPACING
    {42, 1},   // SM_DBCSENABLED
    {43, 3},   // SM_CMOUSEBUTTONS
    {45, 2},   // SM_CXEDGE
    {46, 2},   // SM_CYEDGE
    {49, 16},  // SM_CXSMICON
    {50, 16},  // SM_CYSMICON
    {51, 15},  // SM_CYSMCAPTION
    {71, 13},  // SM_CXMENUCHECK
    {72, 13},  // SM_CYMENUCHECK
    {75, 1},   // SM_MOUSEWHEELPRESENT
    {80, 1},   // SM_CMONITORS
    {82, 1},   // SM_IMMENABLED
};

} // namespace

// The metrics of a plain, classic look: a 20-pixel menu bar, 16-pixel
// scroll bars, no caption or border drawn by the window manager.
int GetSystemMetrics(int index) {
  switch (index) {
  case SM_CXSCREEN:
  case SM_CXFULLSCREEN:
  case SM_CXMAXIMIZED:
  case 59: // SM_CXMAXTRACK
  case 78: // SM_CXVIRTUALSCREEN
    return platform::ScreenWidth();
  case SM_CYSCREEN:
  case SM_CYFULLSCREEN:
  case SM_CYMAXIMIZED:
  case 60: // SM_CYMAXTRACK
  case 79: // SM_CYVIRTUALSCREEN
    return platform::ScreenHeight();
  case SM_CXVSCROLL:
  case SM_CYHSCROLL:
    return 16;
  case SM_CYMENU:
    return kMenuBarHeight;
  case SM_CXMIN:
  case SM_CYMIN:
    return 0;
  case SM_MOUSEPRESENT:
  case SM_DBCSENABLED:
    return 1;
  case SM_CMOUSEBUTTONS:
    return 3;
  default:
    return 0;
  }
}

LPCSTR GetCommandLineA() {
  std::lock_guard<std::mutex> lock(CommandLineMutex());
  return CommandLineText().c_str();
}

DWORD GetModuleFileNameA(HINSTANCE, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string path = platform::ToWindowsPath(platform::SelfExecutablePath());
  if (path.size() < size) {
    std::memcpy(buffer, path.data(), path.size());
    buffer[path.size()] = '\0';
    return static_cast<DWORD>(path.size());
  }
  // Too small: cut to size-1 characters and terminated; the result is SIZE,
  // as on Windows.
  std::memcpy(buffer, path.data(), size - 1);
  buffer[size - 1] = '\0';
  return size;
}
