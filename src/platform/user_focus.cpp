// Activation and keyboard focus: one foreground window and one focus window
// for the screen, the z-order of top-level windows, and enabling.
#include <algorithm>

#include "platform/display.h"
#include "platform/user_internal.h"

using namespace platform::user;

namespace {

// Brings top-level TOP to the front and makes it the foreground window;
// the old and new foreground windows hear WM_ACTIVATE. Lock not held.
void Activate(HWND top) {
  State &s = S();
  HWND old;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, top);
    if (!w || w->destroying) return;
    std::erase(s.zOrder, top);
    s.zOrder.insert(s.zOrder.begin(), top);
    old = s.foreground;
    if (old == top) return;
    s.foreground = top;
  }
  platform::Display().WindowToForeground(top);
  if (old && IsWindow(old)) SendMessageA(old, WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(top));
  SendMessageA(top, WM_ACTIVATE, WA_ACTIVE, static_cast<LPARAM>(old));
}

} // namespace

namespace platform::user {

// Called with the lock held when HWND goes away or is hidden: the focus
// moves to its parent (or nobody) and the foreground to the next visible
// top-level window. No messages: the window is already leaving.
void ForgetActive(State &s, HWND hwnd) {
  if (s.focus == hwnd) {
    Window *w = Find(s, hwnd);
    s.focus = w && w->parent && Find(s, w->parent) ? w->parent : 0;
  }
  if (s.foreground == hwnd) {
    s.foreground = 0;
    for (HWND h : s.zOrder) {
      Window *w = Find(s, h);
      if (h != hwnd && w && w->visible && !w->destroying) {
        s.foreground = h;
        break;
      }
    }
  }
}

void ActivateWindow(HWND top) {
  Activate(top);
}

} // namespace platform::user

HWND GetFocus() {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  return Find(s, s.focus) ? s.focus : 0;
}

HWND SetFocus(HWND hwnd) {
  State &s = S();
  HWND old, top = 0;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    old = Find(s, s.focus) ? s.focus : 0;
    if (hwnd) {
      Window *w = Find(s, hwnd);
      if (!w || w->destroying || !w->enabled || !IsVisible(s, *w)) return 0;
      top = TopLevelOf(s, hwnd);
    }
    if (old == hwnd) return old;
    s.focus = hwnd;
  }
  if (top) Activate(top);
  if (old) SendMessageA(old, WM_KILLFOCUS, static_cast<WPARAM>(hwnd), 0);
  if (hwnd) {
    // The focus may have moved on while WM_KILLFOCUS was handled.
    bool still;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      still = s.focus == hwnd;
    }
    if (still) SendMessageA(hwnd, WM_SETFOCUS, static_cast<WPARAM>(old), 0);
  }
  return old;
}

HWND GetActiveWindow() {
  return GetForegroundWindow();
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  State &s = S();
  bool was, loseFocus = false;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w) return FALSE;
    was = !w->enabled;
    if (w->enabled == (enable != 0)) return was ? TRUE : FALSE;
    w->enabled = enable != 0;
    w->needsPaint = true;
    w->update = ClientRectOf(*w);
    WakeThread(s, w->thread);
    loseFocus = !enable && s.focus == hwnd;
  }
  if (loseFocus) SetFocus(0);
  SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  // The result says whether the window was disabled before.
  return was ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  return w && w->enabled ? TRUE : FALSE;
}
