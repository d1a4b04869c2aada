// Window geometry and the window tree: screen and client rectangles, moving
// and sizing, coordinates between client and screen, parents, identifiers,
// class names and styles, and finding windows by point, identifier or text.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/display.h"
#include "platform/platform.h"
#include "platform/user_internal.h"

namespace platform::user {

HWND TopLevelOf(State &s, HWND hwnd) {
  Window *w = Find(s, hwnd);
  while (w && w->parent) {
    Window *p = Find(s, w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->hwnd : 0;
}

RECT ClientRectOf(const Window &w) {
  int width = w.rect.right - w.rect.left;
  int height = w.rect.bottom - w.rect.top;
  if (w.menu && !(w.style & WS_CHILD)) height = std::max(0, height - kMenuBarHeight);
  return RECT{0, 0, width, height};
}

POINT ClientOrigin(State &s, const Window &w) {
  POINT p{w.rect.left, w.rect.top};
  if (w.menu && !(w.style & WS_CHILD)) p.y += kMenuBarHeight;
  // The depth is bounded: a parent exists before its child, so there is no
  // cycle.
  const Window *c = &w;
  while (c->parent) {
    const Window *parent = Find(s, c->parent);
    if (!parent) break;
    POINT o{parent->rect.left, parent->rect.top};
    if (parent->menu && !(parent->style & WS_CHILD)) o.y += kMenuBarHeight;
    p.x += o.x;
    p.y += o.y;
    c = parent;
  }
  return p;
}

} // namespace platform::user

using namespace platform::user;

namespace {

// GET(state, window) for window HWND with the state's lock held; NONE when
// HWND is no window.
template <typename R, typename Get> R WithWindow(HWND hwnd, R none, Get get) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  return w ? get(s, *w) : none;
}

// Moves POINT by the screen position of HWND's client area, SIGN times.
BOOL ShiftByClientOrigin(HWND hwnd, POINT *point, int sign) {
  if (!point) return FALSE;
  return WithWindow(hwnd, FALSE, [&](State &s, Window &w) {
    POINT o = ClientOrigin(s, w);
    point->x += sign * o.x;
    point->y += sign * o.y;
    return TRUE;
  });
}

// The screen rectangle of W.
RECT ScreenRect(State &s, const Window &w) {
  RECT r = w.rect;
  if (Window *p = Find(s, w.parent)) {
    POINT o = ClientOrigin(s, *p);
    r.left += o.x;
    r.right += o.x;
    r.top += o.y;
    r.bottom += o.y;
  }
  return r;
}

bool Contains(const RECT &r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The deepest visible child of W under the screen point, W itself if none.
HWND Hit(State &s, Window &w, int x, int y) {
  // Later children lie above earlier ones.
  for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
    Window *c = Find(s, *it);
    if (!c || !c->visible || c->destroying) continue;
    if (Contains(ScreenRect(s, *c), x, y)) return Hit(s, *c, x, y);
  }
  return w.hwnd;
}

HWND FindIn(State &s, HWND root, bool byId, int id, const std::string &text) {
  Window *w = Find(s, root);
  if (!w) return 0;
  if (byId ? (w->parent && w->id == id) : w->text == text) return root;
  for (HWND c : w->children)
    if (HWND found = FindIn(s, c, byId, id, text)) return found;
  return 0;
}

} // namespace

BOOL GetWindowRect(HWND hwnd, RECT *rect) {
  if (!rect) return FALSE;
  return WithWindow(hwnd, FALSE, [&](State &s, Window &w) {
    *rect = ScreenRect(s, w);
    return TRUE;
  });
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  State &s = S();
  bool moved, sized;
  RECT rect;
  HWND parent;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || w->destroying) return FALSE;
    // Windows keeps sizes within 16 bits; a negative size is empty.
    width = std::clamp(width, 0, 32767);
    height = std::clamp(height, 0, 32767);
    x = std::clamp(x, -32768, 32767);
    y = std::clamp(y, -32768, 32767);
    RECT old = w->rect;
    rect = RECT{x, y, x + width, y + height};
    moved = old.left != rect.left || old.top != rect.top;
    sized = old.right - old.left != width || old.bottom - old.top != height;
    w->rect = rect;
    w->maximized = false;
    w->minimized = false;
    parent = w->parent;
    if (repaint && (moved || sized)) {
      w->needsPaint = true;
      w->update = ClientRectOf(*w);
      WakeThread(s, w->thread);
      if (Window *p = Find(s, parent)) {
        p->needsPaint = true;
        p->update = ClientRectOf(*p);
        WakeThread(s, p->thread);
      }
    }
    rect = ScreenRect(s, *w);
  }
  if (moved || sized) platform::Display().WindowMoved(hwnd, rect);
  if (sized) {
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED,
                 static_cast<LPARAM>((client.right & 0xFFFF) |
                                     static_cast<uint32_t>(client.bottom & 0xFFFF) << 16));
  }
  if (moved) {
    SendMessageA(hwnd, WM_MOVE, 0,
                 static_cast<LPARAM>((static_cast<uint32_t>(x) & 0xFFFF) |
                                     (static_cast<uint32_t>(y) & 0xFFFF) << 16));
  }
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT *point) {
  return ShiftByClientOrigin(hwnd, point, 1);
}

BOOL ScreenToClient(HWND hwnd, POINT *point) {
  return ShiftByClientOrigin(hwnd, point, -1);
}

BOOL IsIconic(HWND hwnd) {
  return WithWindow(hwnd, FALSE, [](State &, Window &w) { return w.minimized ? TRUE : FALSE; });
}

BOOL IsZoomed(HWND hwnd) {
  return WithWindow(hwnd, FALSE, [](State &, Window &w) { return w.maximized ? TRUE : FALSE; });
}

HWND GetParent(HWND hwnd) {
  return WithWindow(hwnd, HWND(0), [](State &, Window &w) { return w.parent; });
}

BOOL IsChild(HWND parent, HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  while (w && w->parent) {
    if (w->parent == parent) return TRUE;
    w = Find(s, w->parent);
  }
  return FALSE;
}

HWND GetDlgItem(HWND parent, int id) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *p = Find(s, parent);
  if (!p) return 0;
  for (HWND c : p->children)
    if (HWND found = FindIn(s, c, true, id, std::string())) return found;
  return 0;
}

int GetDlgCtrlID(HWND hwnd) {
  return WithWindow(hwnd, 0, [](State &, Window &w) { return w.parent ? w.id : 0; });
}

int GetClassNameA(HWND hwnd, LPSTR name, int max) {
  if (!name || max <= 0) return 0;
  std::string c = platform::ClassNameOf(hwnd);
  size_t n = std::min(c.size(), static_cast<size_t>(max - 1));
  std::memcpy(name, c.data(), n);
  name[n] = '\0';
  return static_cast<int>(n);
}

LONG GetWindowStyle(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return 0;
  DWORD style = w->style & ~(WS_VISIBLE | WS_DISABLED);
  if (w->visible) style |= WS_VISIBLE;
  if (!w->enabled) style |= WS_DISABLED;
  return static_cast<LONG>(style);
}

LONG SetWindowStyle(HWND hwnd, LONG style) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return 0;
  DWORD old = w->style;
  w->style = (static_cast<DWORD>(style) & ~WS_VISIBLE) | (old & WS_VISIBLE);
  return static_cast<LONG>(old);
}

int GetWindowTextLengthA(HWND hwnd) {
  return WithWindow(hwnd, 0, [](State &, Window &w) { return static_cast<int>(w.text.size()); });
}

namespace platform {

HWND WindowAtPoint(HWND top, int x, int y) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, top);
  if (!w || !w->visible || !Contains(ScreenRect(s, *w), x, y)) return 0;
  HWND hit = Hit(s, *w, x, y);
  // A disabled control lets its parent have the click, as Windows does.
  Window *h = Find(s, hit);
  while (h && !h->enabled && h->parent) h = Find(s, h->parent);
  return h ? h->hwnd : 0;
}

std::vector<HWND> TopLevelWindows() {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  std::vector<HWND> out;
  for (HWND h : s.zOrder) {
    Window *w = Find(s, h);
    if (w && w->visible && !w->destroying) out.push_back(h);
  }
  return out;
}

HWND FindWindowIn(HWND root, bool byId, int id, const std::string &text) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  return FindIn(s, root, byId, id, text);
}

std::vector<HWND> WindowAndDescendants(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  std::vector<HWND> out;
  if (!Find(s, hwnd)) return out;
  out.push_back(hwnd);
  for (size_t i = 0; i < out.size(); ++i)
    if (Window *w = Find(s, out[i]))
      for (HWND c : w->children) out.push_back(c);
  return out;
}

std::string ClassNameOf(HWND hwnd) {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return std::string();
  for (const WindowClass &c : s.classes)
    if (c.atom == w->classAtom) return c.name;
  return std::string();
}

} // namespace platform
