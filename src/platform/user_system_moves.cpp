// Moves and resizes that the window system makes (the user drags or resizes
// a top-level window): the window manager takes the new rectangle and the
// window hears about it as it would on Windows; likewise the keyboard focus
// moving between our windows and other programs.
#include <algorithm>
#include <unordered_map>

#include "platform/user_internal.h"

namespace platform::user {

void SystemMovedWindow(HWND hwnd, const RECT &rect, WPARAM sizeType) {
  State &s = S();
  bool moved = false, resized = false;
  RECT now;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || w->destroying || w->parent != 0) return;
    now.left = std::clamp<LONG>(rect.left, -32768, 32767);
    now.top = std::clamp<LONG>(rect.top, -32768, 32767);
    now.right = now.left + std::clamp<LONG>(rect.right - rect.left, 0, 32767);
    now.bottom = now.top + std::clamp<LONG>(rect.bottom - rect.top, 0, 32767);
    moved = now.left != w->rect.left || now.top != w->rect.top;
    resized = now.right - now.left != w->rect.right - w->rect.left ||
              now.bottom - now.top != w->rect.bottom - w->rect.top;
    w->rect = now;
  }
  if (resized) {
    auto width = static_cast<uint32_t>(now.right - now.left) & 0xFFFF;
    auto height = static_cast<uint32_t>(now.bottom - now.top) & 0xFFFF;
    PostMessageA(hwnd, WM_SIZE, sizeType, static_cast<LPARAM>(width | height << 16));
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  if (moved) {
    auto x = static_cast<uint32_t>(now.left) & 0xFFFF;
    auto y = static_cast<uint32_t>(now.top) & 0xFFFF;
    PostMessageA(hwnd, WM_MOVE, 0, static_cast<LPARAM>(x | y << 16));
  }
}

void SystemFocusChanged(HWND hwnd, bool gained) {
  State &s = S();
  // The window inside each top-level window that had the focus when the
  // window system took it away, to give it back on return.
  static std::unordered_map<HWND, HWND> *lost = new std::unordered_map<HWND, HWND>;
  HWND target = 0;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || w->destroying || w->parent != 0) return;
    HWND focusTop = Find(s, s.focus) ? TopLevelOf(s, s.focus) : 0;
    if (gained) {
      s.foreground = hwnd;
      std::erase(s.zOrder, hwnd);
      s.zOrder.insert(s.zOrder.begin(), hwnd);
      if (focusTop == hwnd) return; // the window manager gave it already
      auto it = lost->find(hwnd);
      HWND back = it != lost->end() ? it->second : hwnd;
      if (it != lost->end()) lost->erase(it);
      if (!Find(s, back) || TopLevelOf(s, back) != hwnd) back = hwnd;
      s.focus = target = back;
    } else {
      if (s.foreground == hwnd) s.foreground = 0;
      if (focusTop != hwnd) return;
      (*lost)[hwnd] = target = s.focus;
      s.focus = 0;
    }
  }
  // Posted: the window system's thread never waits for a window procedure.
  PostMessageA(target, gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

} // namespace platform::user
