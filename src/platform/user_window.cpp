// Window classes and windows: creation and destruction with their messages,
// the window tree, visibility, foreground, text, client size and the paint
// state that makes the message functions generate WM_PAINT.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "platform/display.h"
#include "platform/platform.h"
#include "platform/user_internal.h"
#include "platform/winuser_menu.h"

namespace platform::user {

State &S() {
  static auto *s = new State;
  return *s;
}

Window *Find(State &s, HWND hwnd) {
  if (hwnd == 0) return nullptr;
  auto it = s.windows.find(hwnd);
  return it == s.windows.end() ? nullptr : &it->second;
}

bool IsVisible(const State &s, const Window &w) {
  const Window *p = &w;
  // The depth is bounded by the number of windows: a parent always exists
  // before its child, so the chain has no cycle.
  while (p) {
    if (!p->visible) return false;
    if (p->parent == 0) return true;
    auto it = s.windows.find(p->parent);
    p = it == s.windows.end() ? nullptr : &it->second;
  }
  return true;
}

void RemoveWindowTree(State &s, HWND hwnd, std::vector<HWND> &removed) {
  Window *w = Find(s, hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) RemoveWindowTree(s, c, removed);
  w = Find(s, hwnd);
  if (!w) return;
  if (Window *p = Find(s, w->parent)) std::erase(p->children, hwnd);
  ForgetActive(s, hwnd);
  std::erase(s.zOrder, hwnd);
  // Messages sent to the window and not yet handled get the answer 0.
  for (auto &[thread, q] : s.queues) {
    (void)thread;
    for (auto it = q->sent.begin(); it != q->sent.end();) {
      if ((*it)->hwnd == hwnd) {
        (*it)->done = true;
        (*it)->result = 0;
        WakeThread(s, (*it)->sender);
        it = q->sent.erase(it);
      } else {
        ++it;
      }
    }
  }
  s.windows.erase(hwnd);
  removed.push_back(hwnd);
}

void ReportRemoved(const std::vector<HWND> &removed) {
  for (HWND h : removed) Display().WindowDestroyed(h);
}

} // namespace platform::user

using namespace platform::user;

namespace {

HWND TopLevelOfWindow(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  return TopLevelOf(s, hwnd);
}

// Class names are compared without regard to letter case, as Windows does.
// The system's control classes are registered when first asked for.
WindowClass *FindClass(State &s, LPCSTR name) {
  auto atom = reinterpret_cast<uintptr_t>(name);
  for (auto &c : s.classes) {
    if (atom < 0x10000) {
      if (c.atom == atom) return &c;
    } else if (strcasecmp(c.name.c_str(), name) == 0) {
      return &c;
    }
  }
  if (atom < 0x10000) return nullptr;
  WNDPROC proc = SystemClassProc(name);
  if (!proc || s.lastAtom == 0xFFFF) return nullptr;
  WindowClass c;
  c.atom = ++s.lastAtom;
  c.name = name;
  for (char &ch : c.name) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  c.proc = proc;
  s.classes.push_back(c);
  return &s.classes.back();
}

// The place of a top-level window that asks for the default: each one a
// little lower and further right than the one before, sized to reach the
// screen's right and bottom edges.
void DefaultPlacement(State &s, int &x, int &y, int &width, int &height, bool position, bool size) {
  int step = s.defaultPlacements % 8;
  if (position || size) ++s.defaultPlacements;
  int sw = platform::ScreenWidth(), sh = platform::ScreenHeight();
  if (position) x = y = step * 26;
  if (size) {
    width = std::max(sw - x, 100);
    height = std::max(sh - y, 100);
  }
}

// Handles grow and wrap, skipping 0, values that look like atoms and those in
// use, so a destroyed window's handle is not handed out again soon.
HWND NewHandle(State &s) {
  for (;;) {
    s.lastHandle += 2;
    if (s.lastHandle < 0x00010000 || s.lastHandle >= 0x7FFFFFF0) s.lastHandle = 0x00010002;
    if (!s.windows.contains(s.lastHandle)) return s.lastHandle;
  }
}

RECT WholeRect(const Window &w) {
  return ClientRectOf(w);
}

void AddToUpdate(Window &w, const RECT *rect) {
  RECT whole = WholeRect(w);
  RECT r = rect ? *rect : whole;
  r.left = std::max(r.left, whole.left);
  r.top = std::max(r.top, whole.top);
  r.right = std::min(r.right, whole.right);
  r.bottom = std::min(r.bottom, whole.bottom);
  if (r.left >= r.right || r.top >= r.bottom) return; // nothing to paint
  if (!w.needsPaint) {
    w.update = r;
  } else {
    w.update.left = std::min(w.update.left, r.left);
    w.update.top = std::min(w.update.top, r.top);
    w.update.right = std::max(w.update.right, r.right);
    w.update.bottom = std::max(w.update.bottom, r.bottom);
  }
  w.needsPaint = true;
}

LRESULT CallProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

// Destruction in the owner thread: WM_DESTROY to the window, its children
// destroyed in turn, WM_NCDESTROY, then the window is gone.
BOOL DestroyInOwner(HWND hwnd) {
  State &s = S();
  WNDPROC proc;
  bool wasVisible;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    proc = w->proc;
    wasVisible = w->visible;
    w->visible = false;
    ForgetActive(s, hwnd);
  }
  if (wasVisible) platform::Display().WindowShown(hwnd, false);
  CallProc(proc, hwnd, WM_DESTROY, 0, 0);
  for (;;) {
    HWND child = 0;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      Window *w = Find(s, hwnd);
      if (!w) break;
      for (HWND c : w->children) {
        Window *cw = Find(s, c);
        if (cw && !cw->destroying) {
          child = c;
          break;
        }
      }
    }
    if (!child) break;
    if (!DestroyWindow(child)) {
      // A child that could not be destroyed the normal way is removed.
      std::vector<HWND> removed;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        RemoveWindowTree(s, child, removed);
      }
      ReportRemoved(removed);
    }
  }
  CallProc(proc, hwnd, WM_NCDESTROY, 0, 0);
  std::vector<HWND> removed;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    RemoveWindowTree(s, hwnd, removed);
  }
  ReportRemoved(removed);
  return TRUE;
}

} // namespace

// ---- Classes ----

ATOM RegisterClassExA(const WNDCLASSEXA *wc) {
  if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || !*wc->lpszClassName) return 0;
  if (reinterpret_cast<uintptr_t>(wc->lpszClassName) < 0x10000) return 0;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (FindClass(s, wc->lpszClassName)) return 0;
  if (s.lastAtom == 0xFFFF) return 0;
  WindowClass c;
  c.atom = ++s.lastAtom;
  c.name = wc->lpszClassName;
  c.proc = wc->lpfnWndProc;
  c.style = wc->style;
  s.classes.push_back(c);
  return c.atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  if (!className) return FALSE;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  WindowClass *c = FindClass(s, className);
  if (!c) return FALSE;
  for (auto &[h, w] : s.windows) {
    (void)h;
    if (w.classAtom == c->atom) return FALSE;
  }
  s.classes.erase(s.classes.begin() + (c - s.classes.data()));
  return TRUE;
}

// ---- Creation and destruction ----

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE, void *param) {
  DWORD self = GetCurrentThreadId();
  State &s = S();
  HWND hwnd;
  WNDPROC proc;
  RECT rect;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!className) return 0;
    WindowClass *c = FindClass(s, className);
    if (!c) return 0;
    if (parent) {
      Window *p = Find(s, parent);
      if (!p || p->destroying) return 0;
    } else if (style & WS_CHILD) {
      return 0; // a child window needs its parent
    }
    bool topLevel = parent == 0;
    bool child = (style & WS_CHILD) != 0;
    if (topLevel) {
      DefaultPlacement(s, x, y, width, height, x == CW_USEDEFAULT, width == CW_USEDEFAULT);
    } else {
      if (x == CW_USEDEFAULT) x = y = 0;
      if (width == CW_USEDEFAULT) width = height = 0;
    }
    width = std::clamp(width, 0, 32767);
    height = std::clamp(height, 0, 32767);
    x = std::clamp(x, -32768, 32767);
    y = std::clamp(y, -32768, 32767);
    hwnd = NewHandle(s);
    Window w;
    w.hwnd = hwnd;
    w.parent = parent;
    w.thread = self;
    w.proc = proc = c->proc;
    w.classAtom = c->atom;
    w.style = style;
    w.exStyle = exStyle;
    if (windowName) w.text = windowName;
    w.rect = rect = RECT{x, y, x + width, y + height};
    w.param = param;
    w.enabled = !(style & WS_DISABLED);
    // The menu argument is a child's identifier, a top-level window's menu.
    if (child) {
      w.id = static_cast<int>(menu);
    } else {
      w.menu = menu;
    }
    for (SCROLLINFO &si : w.scroll) si.nMax = 100;
    s.windows.emplace(hwnd, std::move(w));
    if (parent) Find(s, parent)->children.push_back(hwnd);
    if (topLevel) s.zOrder.push_back(hwnd);
  }
  platform::Display().WindowCreated(hwnd, parent, rect);
  // Creation data travels through WindowCreateParam: a pointer does not fit
  // in a 32-bit lParam.
  if (!proc(hwnd, WM_NCCREATE, 0, 0)) {
    proc(hwnd, WM_NCDESTROY, 0, 0);
    std::vector<HWND> removed;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      RemoveWindowTree(s, hwnd, removed);
    }
    ReportRemoved(removed);
    return 0;
  }
  if (proc(hwnd, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (!IsWindow(hwnd)) return 0; // destroyed by its own creation messages
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  DWORD self = GetCurrentThreadId();
  State &s = S();
  std::unique_lock<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w || w->destroying) return FALSE;
  if (w->thread != self) {
    // Another thread's window is destroyed in its owner thread, which gets
    // the request like a sent message. If the wait is given up, the window
    // is removed without its procedure.
    SentMessage m;
    m.kind = SentMessage::Kind::kDestroy;
    m.hwnd = hwnd;
    bool aborted = false;
    LRESULT r = SendAcross(lock, s, self, w->thread, m, &aborted);
    if (!aborted) return r ? TRUE : FALSE;
    std::vector<HWND> removed;
    RemoveWindowTree(s, hwnd, removed);
    lock.unlock();
    ReportRemoved(removed);
    return removed.empty() ? FALSE : TRUE;
  }
  lock.unlock();
  return DestroyInOwner(hwnd);
}

BOOL platform::user::DestroyRequested(HWND hwnd) {
  return DestroyInOwner(hwnd);
}

BOOL IsWindow(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  return Find(s, hwnd) ? TRUE : FALSE;
}

// ---- Visibility, foreground, text, size ----

BOOL IsWindowVisible(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  return w && IsVisible(s, *w) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  State &s = S();
  bool show = cmd != SW_HIDE;
  bool activate = cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWNA && cmd != SW_SHOWMINNOACTIVE &&
                  cmd != SW_MINIMIZE && show;
  bool was, firstShow = false, sized = false, topLevel, child;
  RECT rect, screenRect;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || w->destroying) return FALSE;
    was = w->visible;
    topLevel = w->parent == 0;
    child = (w->style & WS_CHILD) != 0;
    // Maximising fills the screen (a child: its parent's client area);
    // restoring brings the earlier rectangle back.
    if (cmd == SW_MAXIMIZE && !w->maximized) {
      if (!w->minimized) w->restoreRect = w->rect;
      RECT area{0, 0, platform::ScreenWidth(), platform::ScreenHeight()};
      if (Window *p = Find(s, w->parent)) area = ClientRectOf(*p);
      w->rect = area;
      w->maximized = true;
      w->minimized = false;
      sized = true;
    } else if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINNOACTIVE) {
      if (!w->minimized && !w->maximized) w->restoreRect = w->rect;
      w->minimized = true;
    } else if ((cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) && (w->maximized || w->minimized)) {
      sized = w->maximized;
      if (w->maximized) w->rect = w->restoreRect;
      w->maximized = w->minimized = false;
    }
    rect = w->rect;
    if (show && !w->shownOnce) firstShow = w->shownOnce = true;
    if (was == show && !sized) {
      if (!show || !activate || !topLevel || s.foreground == hwnd) return was ? TRUE : FALSE;
    }
    screenRect = rect;
  }
  if (was != show) SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || w->destroying) return was ? TRUE : FALSE;
    w->visible = show;
    if (show) {
      AddToUpdate(*w, nullptr);
      WakeThread(s, w->thread);
    } else {
      ForgetActive(s, hwnd);
      // A hidden focus window's children lose the focus too.
      if (Find(s, s.focus) && s.focus != 0) {
        for (Window *f = Find(s, s.focus); f; f = Find(s, f->parent))
          if (f->hwnd == hwnd) {
            s.focus = 0;
            break;
          }
      }
    }
  }
  if (was != show) platform::Display().WindowShown(hwnd, show);
  if (show) platform::Display().WindowShowState(hwnd, cmd);
  if (sized) {
    if (!topLevel) GetWindowRect(hwnd, &screenRect);
    platform::Display().WindowMoved(hwnd, screenRect);
  }
  if (activate && topLevel && !child) {
    platform::user::ActivateWindow(hwnd);
    // The activated window takes the focus unless one of its own windows
    // has it already.
    HWND focus = GetFocus();
    if (!focus || TopLevelOfWindow(focus) != hwnd) SetFocus(hwnd);
  }
  if (firstShow || sized) {
    RECT client;
    GetClientRect(hwnd, &client);
    WPARAM kind = IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    auto width = static_cast<uint32_t>(client.right) & 0xFFFF;
    auto height = static_cast<uint32_t>(client.bottom) & 0xFFFF;
    SendMessageA(hwnd, WM_SIZE, kind, static_cast<LPARAM>(width | height << 16));
    auto x = static_cast<uint32_t>(rect.left) & 0xFFFF;
    auto y = static_cast<uint32_t>(rect.top) & 0xFFFF;
    SendMessageA(hwnd, WM_MOVE, 0, static_cast<LPARAM>(x | y << 16));
  }
  return was ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND hwnd) {
  State &s = S();
  HWND top;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    top = TopLevelOf(s, hwnd);
    if (!top) return FALSE;
  }
  platform::user::ActivateWindow(top);
  HWND focus = GetFocus();
  if (!focus || TopLevelOfWindow(focus) != top) SetFocus(top);
  return TRUE;
}

HWND GetForegroundWindow() {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  return Find(s, s.foreground) ? s.foreground : 0;
}

BOOL GetClientRect(HWND hwnd, RECT *rect) {
  if (!rect) return FALSE;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return FALSE;
  *rect = ClientRectOf(*w);
  return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD *processId) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return 0;
  if (processId) *processId = static_cast<DWORD>(getpid());
  return w->thread;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int max) {
  if (!text || max <= 0) return 0;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) {
    text[0] = '\0';
    return 0;
  }
  size_t n = std::min(w->text.size(), static_cast<size_t>(max - 1));
  std::memcpy(text, w->text.data(), n);
  text[n] = '\0';
  return static_cast<int>(n);
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  State &s = S();
  std::string copy;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w) return FALSE;
    w->text = text ? text : "";
    copy = w->text;
  }
  platform::Display().WindowTextChanged(hwnd, copy);
  return TRUE;
}

// ---- Paint state ----

BOOL InvalidateRect(HWND hwnd, const RECT *rect, BOOL) {
  State &s = S();
  std::vector<std::pair<HWND, RECT>> changed;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (hwnd == 0) {
      // Every window, as Windows does for a null handle.
      for (auto &[h, w] : s.windows) {
        AddToUpdate(w, nullptr);
        WakeThread(s, w.thread);
        changed.emplace_back(h, w.update);
      }
    } else {
      Window *w = Find(s, hwnd);
      if (!w) return FALSE;
      AddToUpdate(*w, rect);
      if (w->needsPaint) {
        WakeThread(s, w->thread);
        changed.emplace_back(hwnd, w->update);
      }
    }
  }
  for (auto &[h, r] : changed) platform::Display().WindowInvalidated(h, r);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT *) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return FALSE;
  w->needsPaint = false;
  w->update = RECT{};
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  State &s = S();
  bool paint;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w) return FALSE;
    paint = w->needsPaint && IsVisible(s, *w);
  }
  if (paint) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

// ---- Platform extras ----

namespace platform {

void *WindowCreateParam(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  return w ? w->param : nullptr;
}

void ResetWindowManager() {
  State &s = S();
  std::vector<HWND> removed;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<HWND> tops;
    for (auto &[h, w] : s.windows)
      if (w.parent == 0 || !s.windows.contains(w.parent)) tops.push_back(h);
    for (HWND h : tops) RemoveWindowTree(s, h, removed);
    s.windows.clear();
    s.classes.clear();
    s.foreground = 0;
    s.focus = 0;
    s.zOrder.clear();
    s.defaultPlacements = 0;
    platform::ResetMenus();
    for (auto &[thread, q] : s.queues) {
      (void)thread;
      for (auto &m : q->sent) {
        m->done = true;
        m->result = 0;
      }
      q->sent.clear();
      q->posted.clear();
      q->quit = false;
      q->cv.notify_all();
    }
    // Threads waiting for answers hold their own queue; wake them all.
    for (auto &[thread, q] : s.queues) {
      (void)thread;
      q->cv.notify_all();
    }
  }
  ReportRemoved(removed);
}

} // namespace platform
