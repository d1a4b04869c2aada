// A window of the platform layer alone, for the on-screen tests: it fills
// its backing store with a known picture, logs the input messages it gets
// (one line each on stdout) and answers commands typed as keys.
//   sdl_probe picture     the picture below; ends on WM_CLOSE
//   sdl_probe box TYPE    a message box of style TYPE; prints its answer
//   sdl_probe windows N   opens and closes N windows, then ends
//   sdl_probe caret       a caret at (40, 30), 9 x 6, shown
//   sdl_probe clipboard TEXT  puts TEXT (UTF-8) on the clipboard, reads it back
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/cp932.h"
#include "platform/display.h"
#include "platform/pixels.h"
#include "platform/platform.h"
#include "platform/win32.h"
#include "platform/winuser_input.h"

namespace {

HWND gMain = 0;

// Quadrants red, green, blue and grey, a white square at (100, 100) to
// (119, 119) and the colour 0x123456 in the bottom-right pixel.
void FillPicture(HWND hwnd) {
  auto store = platform::WindowBackingStore(hwnd);
  if (!store) return;
  std::lock_guard<std::mutex> lock(store->mutex);
  int w = store->width, h = store->height;
  platform::PixelView view = store->View();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c =
          y < h / 2 ? (x < w / 2 ? 0xFF0000 : 0x00FF00) : (x < w / 2 ? 0x0000FF : 0x808080);
      if (x >= 100 && x < 120 && y >= 100 && y < 120) c = 0xFFFFFF;
      view.Row(y)[x] = c;
    }
  if (w > 0 && h > 0) view.Row(h - 1)[w - 1] = 0x123456;
  store->MarkDirty(RECT{0, 0, w, h});
}

void Log(const char *name, WPARAM w, LPARAM l) {
  std::printf("%s %u %d %d\n", name, static_cast<unsigned>(w), static_cast<int>(l & 0xFFFF),
              static_cast<int>((static_cast<uint32_t>(l) >> 16) & 0xFFFF));
  std::fflush(stdout);
}

LRESULT Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
  case WM_KEYDOWN:
    Log("keydown", w, 0);
    // F2 reports the key state of the letter A, F3 the clipboard.
    if (w == 0x71) std::printf("async-a %d\n", GetAsyncKeyState('A') < 0 ? 1 : 0);
    std::fflush(stdout);
    return 0;
  case WM_KEYUP:
    Log("keyup", w, 0);
    return 0;
  case WM_CHAR:
    Log("char", w, 0);
    return 0;
  case WM_MOUSEMOVE:
    return 0; // too many to log
  case WM_LBUTTONDOWN:
    Log("ldown", w, l);
    return 0;
  case WM_LBUTTONUP:
    Log("lup", w, l);
    return 0;
  case WM_RBUTTONDOWN:
    Log("rdown", w, l);
    return 0;
  case WM_RBUTTONUP:
    Log("rup", w, l);
    return 0;
  case WM_SETFOCUS:
    Log("setfocus", 0, 0);
    return 0;
  case WM_KILLFOCUS:
    Log("killfocus", 0, 0);
    return 0;
  case WM_SIZE:
    Log("size", w, l);
    FillPicture(hwnd);
    return 0;
  case WM_PAINT:
    ValidateRect(hwnd, nullptr);
    return 0;
  case WM_CLOSE:
    Log("close", 0, 0);
    DestroyWindow(hwnd);
    return 0;
  case WM_DESTROY:
    if (hwnd == gMain) PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(hwnd, msg, w, l);
  }
}

HWND Open(const char *title, int x, int y, int w, int h) {
  std::string caption = cp932::FromUtf8(title);
  return CreateWindowExA(0, "Probe", caption.c_str(), WS_OVERLAPPEDWINDOW, x, y, w, h, 0, 0, 0,
                         nullptr);
}

int Loop() {
  MSG m;
  while (GetMessageA(&m, 0, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  platform::Initialize(argc, argv);
  std::printf("backend %s %dx%d\n", platform::Display().Name(), GetSystemMetrics(SM_CXSCREEN),
              GetSystemMetrics(SM_CYSCREEN));
  std::fflush(stdout);
  WNDCLASSEXA wc;
  wc.cbSize = 48;
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "Probe";
  if (!RegisterClassExA(&wc)) return 2;
  std::string mode = argc > 1 ? argv[1] : "picture";
  if (mode == "windows") {
    int n = argc > 2 ? std::atoi(argv[2]) : 100;
    for (int i = 0; i < n; ++i) {
      HWND h = Open("many", 10 + i % 50, 10 + i % 40, 200, 150);
      if (!h) return 3;
      ShowWindow(h, SW_SHOW);
      FillPicture(h);
      Sleep(5);
      DestroyWindow(h);
    }
    std::printf("opened and closed %d\n", n);
    return 0;
  }
  if (mode == "box") {
    UINT type = argc > 2 ? static_cast<UINT>(std::strtoul(argv[2], nullptr, 0)) : MB_OK;
    std::string text = cp932::FromUtf8("日本語の\n二行目");
    std::string caption = cp932::FromUtf8("確認");
    int answer = MessageBoxA(0, text.c_str(), caption.c_str(), type);
    std::printf("answer %d\n", answer);
    return 0;
  }
  if (mode == "clipboard") {
    std::string text = cp932::FromUtf8(argc > 2 ? argv[2] : "");
    bool set = platform::Display().SetClipboardText(text);
    std::string back;
    bool got = platform::Display().GetClipboardText(back);
    std::printf("clipboard %d %d %s\n", set ? 1 : 0, got ? 1 : 0, cp932::ToUtf8(back).c_str());
    return 0;
  }
  gMain = Open("probe 日本", 0, 0, 320, 240);
  if (!gMain) return 3;
  ShowWindow(gMain, SW_SHOW);
  FillPicture(gMain);
  if (mode == "caret") {
    CreateCaret(gMain, 0, 9, 6);
    SetCaretPos(40, 30);
    ShowCaret(gMain);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  return Loop();
}
