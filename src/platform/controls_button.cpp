// The BUTTON control: push buttons, check boxes (two and three states),
// radio buttons and group boxes; clicks by mouse, Space, Enter and
// BM_CLICK, the check state, and BN_CLICKED to the parent.
#include "platform/controls_internal.h"
#include "platform/controls_paint.h"
#include "platform/user_internal.h"
#include "platform/winuser_input.h"

namespace platform {
namespace {

using namespace controls;

struct Button {
  std::mutex mutex;
  int check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool captured = false; // the left button went down on it
};

Store<Button> &Buttons() {
  static auto *s = new Store<Button>;
  return *s;
}

DWORD TypeOf(HWND hwnd) {
  return static_cast<DWORD>(GetWindowStyle(hwnd)) & BS_TYPEMASK;
}

// The other automatic radio buttons of HWND's group: the siblings from the
// last WS_GROUP window before it up to the next one.
std::vector<HWND> RadioGroup(HWND hwnd) {
  using namespace platform::user;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  std::vector<HWND> group;
  Window *w = Find(s, hwnd);
  Window *p = w ? Find(s, w->parent) : nullptr;
  if (!p) return group;
  const std::vector<HWND> &sib = p->children;
  size_t at = 0;
  while (at < sib.size() && sib[at] != hwnd) ++at;
  if (at == sib.size()) return group;
  size_t first = at;
  while (first > 0) {
    Window *c = Find(s, sib[first]);
    if (c && (c->style & WS_GROUP)) break;
    --first;
  }
  for (size_t i = first; i < sib.size(); ++i) {
    Window *c = Find(s, sib[i]);
    if (!c) continue;
    if (i > first && (c->style & WS_GROUP)) break;
    if ((c->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && sib[i] != hwnd) group.push_back(sib[i]);
  }
  return group;
}

// What a click does: automatic styles change their check first.
void Click(HWND hwnd) {
  DWORD type = TypeOf(hwnd);
  if (type == BS_GROUPBOX) return;
  std::shared_ptr<Button> b = Buttons().Get(hwnd);
  {
    std::lock_guard<std::mutex> lock(b->mutex);
    if (type == BS_AUTOCHECKBOX) b->check = b->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (type == BS_AUTO3STATE) b->check = (b->check + 1) % 3;
    if (type == BS_AUTORADIOBUTTON) b->check = BST_CHECKED;
  }
  if (type == BS_AUTORADIOBUTTON)
    for (HWND other : RadioGroup(hwnd)) SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
  NotifyParent(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM lParam) {
  RECT r;
  GetClientRect(hwnd, &r);
  int x = static_cast<int16_t>(LOWORD(static_cast<uint32_t>(lParam)));
  int y = static_cast<int16_t>(HIWORD(static_cast<uint32_t>(lParam)));
  return x >= 0 && y >= 0 && x < r.right && y < r.bottom;
}

} // namespace

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) {
    Buttons().Drop(hwnd);
    return 0;
  }
  std::shared_ptr<Button> b = Buttons().Get(hwnd);
  switch (msg) {
  case BM_GETCHECK: {
    std::lock_guard<std::mutex> lock(b->mutex);
    return b->check;
  }
  case BM_SETCHECK: {
    DWORD type = TypeOf(hwnd);
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_GROUPBOX) return 0;
    {
      std::lock_guard<std::mutex> lock(b->mutex);
      int v = static_cast<int>(wParam);
      bool three = type == BS_3STATE || type == BS_AUTO3STATE;
      b->check = v == BST_INDETERMINATE && three ? BST_INDETERMINATE
                 : v == BST_UNCHECKED            ? BST_UNCHECKED
                                                 : BST_CHECKED;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  case BM_GETSTATE: {
    std::lock_guard<std::mutex> lock(b->mutex);
    return b->check | (b->pushed ? BST_PUSHED : 0) | (b->focused ? BST_FOCUS : 0);
  }
  case BM_SETSTATE: {
    {
      std::lock_guard<std::mutex> lock(b->mutex);
      b->pushed = wParam != 0;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  case BM_CLICK:
    if (!IsWindowEnabled(hwnd)) return 0;
    Click(hwnd);
    return 0;
  case WM_LBUTTONDOWN:
    if (TypeOf(hwnd) == BS_GROUPBOX) return 0;
    {
      std::lock_guard<std::mutex> lock(b->mutex);
      b->pushed = b->captured = true;
    }
    SetFocus(hwnd);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  case WM_LBUTTONUP: {
    bool clicked;
    {
      std::lock_guard<std::mutex> lock(b->mutex);
      clicked = b->captured && Inside(hwnd, lParam);
      b->pushed = b->captured = false;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    if (clicked) Click(hwnd);
    return 0;
  }
  case WM_KEYDOWN:
    if (wParam == VK_TAB) MoveFocusFrom(hwnd, GetKeyState(VK_SHIFT) < 0);
    return 0;
  case WM_CHAR:
    // Space clicks any button; Enter clicks push buttons.
    if (wParam == ' ' || (wParam == '\r' && TypeOf(hwnd) <= BS_DEFPUSHBUTTON)) Click(hwnd);
    return 0;
  case WM_SETFOCUS:
  case WM_KILLFOCUS: {
    {
      std::lock_guard<std::mutex> lock(b->mutex);
      b->focused = msg == WM_SETFOCUS;
      if (!b->focused) b->pushed = b->captured = false;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    if (GetWindowStyle(hwnd) & BS_NOTIFY)
      NotifyParent(hwnd, msg == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
    return 0;
  }
  case WM_SETTEXT: {
    LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return r;
  }
  case WM_ENABLE:
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  case WM_PAINT: {
    ButtonLook look;
    look.text = CaptionOf(hwnd);
    look.type = TypeOf(hwnd);
    look.enabled = IsWindowEnabled(hwnd) != 0;
    look.isDefault = look.type == BS_DEFPUSHBUTTON;
    {
      std::lock_guard<std::mutex> lock(b->mutex);
      look.check = b->check;
      look.pushed = b->pushed;
      look.focused = b->focused;
    }
    PaintButton(hwnd, look);
    return 0;
  }
  default:
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

} // namespace platform
