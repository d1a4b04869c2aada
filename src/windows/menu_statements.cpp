// The menu statements and the menu functions: thin calls of the menu
// functions of the window manager with handles as plain numbers.
#include "expr/string_text.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/window_args.h"
#include "windows/window_statements.h"
#include "windows/without_lock.h"

namespace {

// Stores a new menu's handle into the variable named by the argument.
void StoreNewMenu(std::string &arg, HMENU menu) {
  std::vector<std::string> a = WindowArguments(arg);
  if (a.empty()) {
    if (menu) DestroyMenu(menu);
    RuntimeError();
    return;
  }
  AssignNumber(a[0], static_cast<int32_t>(menu));
}

// The three-number statements: menu, position or item, flags.
template <typename Call> void ThreeNumbers(std::string &arg, Call call) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 3, a)) return;
  bool ok = true;
  auto menu = static_cast<HMENU>(ArgNumber(a[0], ok));
  auto item = static_cast<UINT>(ArgNumber(a[1], ok));
  auto flags = static_cast<UINT>(ArgNumber(a[2], ok));
  if (ok) call(menu, item, flags);
}

// One number: a menu or a window.
bool OneNumber(std::string &arg, uint32_t &out) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 1, a)) return false;
  bool ok = true;
  out = static_cast<uint32_t>(ArgNumber(a[0], ok));
  return ok;
}

std::string Number(uint32_t v) {
  return std::to_string(static_cast<int32_t>(v));
}

std::string MenuHandleFunction(std::string_view args, ThreadIndex) {
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(std::string(args), ok));
  return Number(ok ? GetMenu(hwnd) : 0);
}

std::string SubMenuFunction(std::string_view args, ThreadIndex) {
  std::vector<std::string> a = CutList(args);
  if (a.size() < 2) {
    // A single argument names no position.
    RuntimeError();
    return "0";
  }
  bool ok = true;
  auto menu = static_cast<HMENU>(ArgNumber(a[0], ok));
  int position = ArgNumber(a[1], ok);
  return Number(ok ? GetSubMenu(menu, position) : 0);
}

std::string SysMenuFunction(std::string_view args, ThreadIndex) {
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(std::string(args), ok));
  return Number(ok ? GetSystemMenu(hwnd, FALSE) : 0);
}

// The item's text, quoted; in string text form, so that a double quote in
// a menu text cannot end the literal early.
std::string MenuStrFunction(std::string_view args, ThreadIndex) {
  std::vector<std::string> a;
  if (!CutArguments(args, 3, 3, a)) return "\"\"";
  bool ok = true;
  auto menu = static_cast<HMENU>(ArgNumber(a[0], ok));
  auto item = static_cast<UINT>(ArgNumber(a[1], ok));
  auto flags = static_cast<UINT>(ArgNumber(a[2], ok));
  if (!ok) return "\"\"";
  char text[8192];
  int n = GetMenuStringA(menu, item, text, sizeof text, flags);
  return EncodeString(std::string(text, static_cast<size_t>(std::max(n, 0))), true);
}

} // namespace

void CREATEMENU(std::string &arg, ThreadIndex) {
  StoreNewMenu(arg, CreateMenu());
}

void CREATEPOPUPMENU(std::string &arg, ThreadIndex) {
  StoreNewMenu(arg, CreatePopupMenu());
}

void DELETEMENU(std::string &arg, ThreadIndex) {
  ThreeNumbers(arg, [](HMENU m, UINT p, UINT f) { DeleteMenu(m, p, f); });
}

void REMOVEMENU(std::string &arg, ThreadIndex) {
  ThreeNumbers(arg, [](HMENU m, UINT p, UINT f) { RemoveMenu(m, p, f); });
}

void ENABLEMENUITEM(std::string &arg, ThreadIndex) {
  ThreeNumbers(arg, [](HMENU m, UINT p, UINT f) { EnableMenuItem(m, p, f); });
}

void DESTROYMENU(std::string &arg, ThreadIndex) {
  uint32_t menu;
  if (OneNumber(arg, menu)) DestroyMenu(menu);
}

void DRAWMENUBAR(std::string &arg, ThreadIndex) {
  uint32_t hwnd;
  if (OneNumber(arg, hwnd)) DrawMenuBar(hwnd);
}

void RESETSYSTEMMENU(std::string &arg, ThreadIndex) {
  uint32_t hwnd;
  if (OneNumber(arg, hwnd)) GetSystemMenu(hwnd, TRUE);
}

void SETMENU(std::string &arg, ThreadIndex) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 2, a)) return;
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(a[0], ok));
  auto menu = static_cast<HMENU>(ArgNumber(a[1], ok));
  if (ok) SetMenu(hwnd, menu);
}

void INSERTMENUITEM(std::string &arg, ThreadIndex) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 2, a)) return;
  bool ok = true;
  auto menu = static_cast<HMENU>(ArgNumber(a[0], ok));
  auto item = static_cast<UINT>(ArgNumber(a[1], ok));
  BOOL byPosition = a.size() > 2 && ArgNumber(a[2], ok) != 0 ? TRUE : FALSE;
  MENUITEMINFOA info;
  info.fMask = MIIM_TYPE;
  info.fType = MFT_SEPARATOR;
  std::string text;
  if (a.size() > 3) {
    info.fType = MFT_STRING;
    text = ArgString(a[3], ok);
    info.dwTypeData = text.data();
    if (a.size() > 4) {
      info.fMask |= MIIM_ID;
      info.wID = static_cast<UINT>(ArgNumber(a[4], ok));
      if (a.size() > 5) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = static_cast<HMENU>(ArgNumber(a[5], ok));
        if (a.size() > 6) {
          info.fMask |= MIIM_STATE;
          info.fState = static_cast<UINT>(ArgNumber(a[6], ok));
        }
      }
    }
  }
  if (ok) InsertMenuItemA(menu, item, byPosition, &info);
}

void TRACKPOPUPMENU(std::string &arg, ThreadIndex slot) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 4, a)) return;
  bool ok = true;
  auto menu = static_cast<HMENU>(ArgNumber(a[0], ok));
  auto hwnd = static_cast<HWND>(ArgNumber(a[1], ok));
  POINT p;
  p.x = ArgNumber(a[2], ok);
  p.y = ArgNumber(a[3], ok);
  if (!ok) return;
  ClientToScreen(hwnd, &p);
  // The menu waits for the user: other threads run meanwhile.
  WithoutLock(slot,
              [&] { return TrackPopupMenu(menu, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd, nullptr); });
}

BuiltinFunction FindWindowFunction(uint16_t code) {
  switch (code) {
  case 0x580:
    return MenuHandleFunction;
  case 0x581:
    return SubMenuFunction;
  case 0x582:
    return MenuStrFunction;
  case 0x583:
    return SysMenuFunction;
  default:
    return nullptr;
  }
}
