// Process start-up: the command-line text, the display backend, the screen
// size, and the executable's own path in Windows form.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/cp932.h"
#include "platform/display.h"
#include "platform/paths.h"
#include "platform/platform.h"

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
  const char *backend = std::getenv("QUILLRUNNER_BACKEND");
  if (backend && std::strcmp(backend, "sdl") == 0) {
    std::fprintf(stderr, "quillrunner: the sdl display backend is not available in this build; "
                         "using headless\n");
    std::fflush(stderr);
  }
  // Only the headless driver exists; it reads the screen size and the
  // terminal encoding from the environment now.
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

// The sizes of the window parts drawn by our own window manager, as the
// classic Windows look has them, and the facts of a Japanese desktop with a
// mouse (index, value).
constexpr int kFixedMetrics[][2] = {
    {2, 16},   // SM_CXVSCROLL
    {3, 16},   // SM_CYHSCROLL
    {4, 19},   // SM_CYCAPTION
    {5, 1},    // SM_CXBORDER
    {6, 1},    // SM_CYBORDER
    {7, 3},    // SM_CXDLGFRAME
    {8, 3},    // SM_CYDLGFRAME
    {9, 16},   // SM_CYVTHUMB
    {10, 16},  // SM_CXHTHUMB
    {11, 32},  // SM_CXICON
    {12, 32},  // SM_CYICON
    {13, 32},  // SM_CXCURSOR
    {14, 32},  // SM_CYCURSOR
    {15, 19},  // SM_CYMENU
    {19, 1},   // SM_MOUSEPRESENT
    {20, 16},  // SM_CYVSCROLL
    {21, 16},  // SM_CXHSCROLL
    {28, 112}, // SM_CXMIN
    {29, 27},  // SM_CYMIN
    {30, 18},  // SM_CXSIZE
    {31, 18},  // SM_CYSIZE
    {32, 4},   // SM_CXFRAME
    {33, 4},   // SM_CYFRAME
    {34, 112}, // SM_CXMINTRACK
    {35, 27},  // SM_CYMINTRACK
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

int GetSystemMetrics(int index) {
  const int width = platform::ScreenWidth();
  const int height = platform::ScreenHeight();
  switch (index) {
  case SM_CXSCREEN:
  case 78: // SM_CXVIRTUALSCREEN
    return width;
  case SM_CYSCREEN:
  case 79: // SM_CYVIRTUALSCREEN
    return height;
  case 16: // SM_CXFULLSCREEN: the client area of a maximised window
    return width;
  case 17: // SM_CYFULLSCREEN
    return height - 19;
  case 59: // SM_CXMAXTRACK
  case 61: // SM_CXMAXIMIZED
    return width + 8;
  case 60: // SM_CYMAXTRACK
  case 62: // SM_CYMAXIMIZED
    return height + 8;
  default:
    for (const auto &m : kFixedMetrics)
      if (m[0] == index) return m[1];
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
