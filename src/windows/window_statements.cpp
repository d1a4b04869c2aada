// CREATEWINDOW, DESTROYWINDOW, SHOWWINDOW, MOVEWINDOW, SETSCROLLINFO and
// MESSAGEBOX.
#include <strings.h>

#include "platform/winuser_window.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/user_window.h"
#include "windows/window_args.h"
#include "windows/window_statements.h"
#include "windows/without_lock.h"

namespace {

// -1 asks the system for its default.
int Coordinate(int32_t v) {
  return v == -1 ? CW_USEDEFAULT : v;
}

} // namespace

void CREATEWINDOW(std::string &arg, ThreadIndex) {
  Engine &e = E();
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 8, a)) return;
  bool ok = true;
  auto parent = static_cast<HWND>(ArgNumber(a[1], ok));
  int x = Coordinate(ArgNumber(a[2], ok));
  int y = Coordinate(ArgNumber(a[3], ok));
  int width = Coordinate(ArgNumber(a[4], ok));
  int height = Coordinate(ArgNumber(a[5], ok));
  std::string caption = ArgString(a[6], ok);
  auto style = static_cast<DWORD>(ArgNumber(a[7], ok));
  std::string cls = a.size() > 8 ? ArgString(a[8], ok) : std::string(kNormalClass);
  auto menu = static_cast<HMENU>(a.size() > 9 ? ArgNumber(a[9], ok) : 0);
  if (!ok) return;
  HWND hwnd = CreateWindowExA(0, cls.c_str(), caption.c_str(), style, x, y, width, height, parent,
                              menu, e.instance, nullptr);
  if (!AssignNumber(a[0], static_cast<int32_t>(hwnd))) return;
  // A failed creation or a full window table is reported here.
  e.windows.MakeSurface(hwnd, strcasecmp(cls.c_str(), kPromptClass) == 0);
}

void DESTROYWINDOW(std::string &arg, ThreadIndex) {
  Engine &e = E();
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(StripBlanks(arg), ok));
  if (!ok) return;
  // The window's children go with it, and their surfaces with theirs.
  std::vector<HWND> gone = platform::WindowAndDescendants(hwnd);
  for (HWND h : gone)
    if (h == e.windows.Current()) e.windows.SetCurrent(e.mainWindow);
  DestroyWindow(hwnd);
  for (HWND h : gone)
    if (h != e.mainWindow) e.windows.ReleaseSurface(h);
}

void SHOWWINDOW(std::string &arg, ThreadIndex) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 2, a)) return;
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(a[0], ok));
  int command = ArgNumber(a[1], ok);
  if (ok) ShowWindow(hwnd, command);
}

void MOVEWINDOW(std::string &arg, ThreadIndex) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 5, a)) return;
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(a[0], ok));
  int32_t x1 = ArgNumber(a[1], ok), y1 = ArgNumber(a[2], ok);
  int32_t x2 = ArgNumber(a[3], ok), y2 = ArgNumber(a[4], ok);
  int32_t mode = a.size() > 5 ? ArgNumber(a[5], ok) : 0;
  if (!ok) return;
  RECT r;
  if (GetWindowRect(hwnd, &r)) {
    // A child moves within its parent's client area: its rectangle is
    // taken there too, so that the kept corners stay where they are.
    if (HWND parent = GetParent(hwnd)) {
      POINT lt{r.left, r.top}, rb{r.right, r.bottom};
      ScreenToClient(parent, &lt);
      ScreenToClient(parent, &rb);
      r = RECT{lt.x, lt.y, rb.x, rb.y};
    }
  }
  if (x1 < 0) x1 = r.left;
  if (y1 < 0) y1 = r.top;
  if (x2 < 0) x2 = r.right;
  if (y2 < 0) y2 = r.bottom;
  MoveWindow(hwnd, x1, y1, x2 - x1, y2 - y1, TRUE);
  if (mode == 1) ShowWindow(hwnd, SW_MAXIMIZE);
  if (mode == 2) ShowWindow(hwnd, SW_MINIMIZE);
}

void SETSCROLLINFO(std::string &arg, ThreadIndex) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 5, a)) return;
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(a[0], ok));
  if (!ok) return;
  std::string word = a[1];
  Unquote(word);
  int bar;
  if (EqualsNoCase(word, "horz")) {
    bar = SB_HORZ;
  } else if (EqualsNoCase(word, "vert")) {
    bar = SB_VERT;
  } else if (EqualsNoCase(word, "ctl")) {
    bar = SB_CTL;
  } else {
    // Another word names no scroll bar.
    RuntimeError();
    return;
  }
  SCROLLINFO si;
  si.nMin = ArgNumber(a[2], ok);
  si.nMax = ArgNumber(a[3], ok);
  si.nPage = static_cast<UINT>(ArgNumber(a[4], ok));
  si.nPos = a.size() > 5 ? ArgNumber(a[5], ok) : 0;
  if (!ok) return;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (a.size() > 6 && !a[6].empty() && a[6][0] == '1') si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(hwnd, bar, &si, TRUE);
}

void MESSAGEBOX(std::string &arg, ThreadIndex slot) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 2, a)) return;
  bool ok = true;
  auto owner = static_cast<HWND>(ArgNumber(a[0], ok));
  std::string text = ArgString(a[1], ok);
  std::string caption = a.size() > 2 ? ArgString(a[2], ok) : std::string();
  auto type = static_cast<UINT>(a.size() > 3 ? ArgNumber(a[3], ok) : 0);
  if (!ok) return;
  int answer =
      WithoutLock(slot, [&] { return MessageBoxA(owner, text.c_str(), caption.c_str(), type); });
  if (a.size() > 4) AssignNumber(a[4], answer);
}
