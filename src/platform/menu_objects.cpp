// Menu objects: handles, items (text, separator, identifier, submenu,
// state), insertion, removal, enabling and checking, item texts, the menu
// bar of a window and each window's system menu.
#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "platform/display.h"
#include "platform/user_internal.h"
#include "platform/winuser_menu.h"

namespace {

struct Item {
  UINT type = MFT_STRING;
  UINT state = MFS_ENABLED;
  UINT id = 0;
  HMENU sub = 0;
  std::string text;
};

struct Menu {
  bool popup = false;
  std::vector<Item> items;
};

struct Menus {
  std::mutex mutex;
  std::unordered_map<HMENU, Menu> menus;
  uint32_t next = 0;
};

Menus &M() {
  static auto *m = new Menus;
  return *m;
}

// Menu handles have the top bit set, so that programs meet negative handle
// numbers as they do on Windows.
constexpr uint32_t kHandleBase = 0x80120000;
constexpr uint32_t kHandleSpan = 0x0000FFFF;
// Menus at once, at most.
constexpr size_t kMaxMenus = 16384;
// Nested submenus are searched this deep at most (a menu can be made its
// own submenu).
constexpr int kMaxDepth = 32;

HMENU NewMenu(bool popup) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  if (m.menus.size() >= kMaxMenus) return 0;
  for (;;) {
    m.next = (m.next + 1) & kHandleSpan;
    HMENU h = kHandleBase | (m.next << 2);
    if (m.next == 0 || m.menus.contains(h)) continue;
    m.menus[h].popup = popup;
    return h;
  }
}

Menu *FindMenu(Menus &m, HMENU h) {
  auto it = m.menus.find(h);
  return it == m.menus.end() ? nullptr : &it->second;
}

// The item ITEM of MENU (by position, or by identifier searched depth
// first through the submenus); OWNER receives the menu that holds it.
Item *Locate(Menus &m, HMENU menu, UINT item, bool byPosition, HMENU *owner, size_t *index,
             int depth = 0) {
  Menu *mn = FindMenu(m, menu);
  if (!mn || depth > kMaxDepth) return nullptr;
  if (byPosition) {
    if (item >= mn->items.size()) return nullptr;
    if (owner) *owner = menu;
    if (index) *index = item;
    return &mn->items[item];
  }
  for (size_t i = 0; i < mn->items.size(); ++i) {
    Item &it = mn->items[i];
    if (it.sub) {
      if (Item *found = Locate(m, it.sub, item, false, owner, index, depth + 1)) return found;
    } else if (it.id == item && it.type != MFT_SEPARATOR) {
      if (owner) *owner = menu;
      if (index) *index = i;
      return &it;
    }
  }
  // An item that opens a submenu is found by its identifier too.
  for (size_t i = 0; i < mn->items.size(); ++i)
    if (mn->items[i].sub && mn->items[i].id == item) {
      if (owner) *owner = menu;
      if (index) *index = i;
      return &mn->items[i];
    }
  return nullptr;
}

void Destroy(Menus &m, HMENU h, int depth) {
  Menu *mn = FindMenu(m, h);
  if (!mn || depth > kMaxDepth) return;
  std::vector<HMENU> subs;
  for (const Item &it : mn->items)
    if (it.sub && it.sub != h) subs.push_back(it.sub);
  m.menus.erase(h);
  for (HMENU s : subs) Destroy(m, s, depth + 1);
}

// The window that shows MENU as its bar (0: none), to redraw after changes.
void RedrawOwner(HMENU menu) {
  using namespace platform::user;
  State &s = S();
  std::vector<HWND> owners;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    for (auto &[h, w] : s.windows)
      if (w.menu == menu) owners.push_back(h);
  }
  for (HWND h : owners) DrawMenuBar(h);
}

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroySub) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  HMENU owner = 0;
  size_t index = 0;
  Item *it = Locate(m, menu, position, (flags & MF_BYPOSITION) != 0, &owner, &index);
  if (!it) return FALSE;
  HMENU sub = it->sub;
  Menu *mn = FindMenu(m, owner);
  mn->items.erase(mn->items.begin() + static_cast<ptrdiff_t>(index));
  if (destroySub && sub) Destroy(m, sub, 0);
  return TRUE;
}

// The default system menu: restore, move, size, minimise, maximise, a
// separator and close.
void FillSystemMenu(Menu &mn) {
  struct Entry {
    const char *text;
    UINT id;
  };
  static const Entry kItems[] = {
      {"\x8c\xb3\x82\xcc\x83T\x83"
       "C\x83Y\x82\xc9\x96\xdf\x82\xb7(&R)",
       SC_RESTORE},
      {"\x88\xda\x93\xae(&M)", SC_MOVE},
      {"\x83T\x83"
       "C\x83Y\x95\xcf\x8dX(&S)",
       SC_SIZE},
      {"\x8d\xc5\x8f\xac\x89\xbb(&N)", SC_MINIMIZE},
      {"\x8d\xc5\x91\xe5\x89\xbb(&X)", SC_MAXIMIZE},
      {nullptr, 0},
      {"\x95\xc2\x82\xb6\x82\xe9(&C)\tAlt+F4", SC_CLOSE},
  };
  for (const Entry &e : kItems) {
    Item it;
    if (e.text) {
      it.text = e.text;
      it.id = e.id;
    } else {
      it.type = MFT_SEPARATOR;
    }
    mn.items.push_back(it);
  }
}

} // namespace

HMENU CreateMenu() {
  return NewMenu(false);
}

HMENU CreatePopupMenu() {
  return NewMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
  {
    Menus &m = M();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (!FindMenu(m, menu)) return FALSE;
    Destroy(m, menu, 0);
  }
  // A window whose bar it was has no bar any more.
  using namespace platform::user;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (auto &[h, w] : s.windows) {
    (void)h;
    if (w.menu == menu) w.menu = 0;
    if (w.systemMenu == menu) w.systemMenu = 0;
  }
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  return FindMenu(m, menu) ? TRUE : FALSE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA *info) {
  if (!info) return FALSE;
  Item it;
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) it.type = info->fType & MFT_SEPARATOR;
  if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) && it.type != MFT_SEPARATOR && info->dwTypeData)
    it.text = info->dwTypeData;
  if (info->fMask & MIIM_ID) it.id = info->wID & 0xFFFF;
  if (info->fMask & MIIM_STATE) it.state = info->fState;
  {
    Menus &m = M();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (info->fMask & MIIM_SUBMENU) {
      if (info->hSubMenu && !FindMenu(m, info->hSubMenu)) return FALSE;
      it.sub = info->hSubMenu;
    }
    Menu *mn = FindMenu(m, menu);
    if (!mn) return FALSE;
    if (byPosition) {
      size_t at = std::min<size_t>(item, mn->items.size());
      mn->items.insert(mn->items.begin() + static_cast<ptrdiff_t>(at), it);
    } else {
      HMENU owner = 0;
      size_t index = 0;
      if (!Locate(m, menu, item, false, &owner, &index)) return FALSE;
      Menu *o = FindMenu(m, owner);
      o->items.insert(o->items.begin() + static_cast<ptrdiff_t>(index), it);
    }
  }
  RedrawOwner(menu);
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT idOrSubMenu, LPCSTR text) {
  MENUITEMINFOA info;
  info.fMask = MIIM_TYPE | MIIM_STATE;
  info.fType = flags & MF_SEPARATOR;
  info.fState = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
  info.dwTypeData = const_cast<LPSTR>(text);
  if (flags & MF_POPUP) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = idOrSubMenu;
  } else {
    info.fMask |= MIIM_ID;
    info.wID = idOrSubMenu;
  }
  return InsertMenuItemA(menu, 0xFFFFFFFF, TRUE, &info);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  BOOL r = Remove(menu, position, flags, true);
  if (r) RedrawOwner(menu);
  return r;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  BOOL r = Remove(menu, position, flags, false);
  if (r) RedrawOwner(menu);
  return r;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  UINT old;
  {
    Menus &m = M();
    std::lock_guard<std::mutex> lock(m.mutex);
    Item *it = Locate(m, menu, item, (flags & MF_BYPOSITION) != 0, nullptr, nullptr);
    if (!it) return -1;
    old = it->state & (MF_GRAYED | MF_DISABLED);
    it->state = (it->state & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) |
                (flags & (MF_GRAYED | MF_DISABLED));
  }
  RedrawOwner(menu);
  return static_cast<BOOL>(old);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item *it = Locate(m, menu, item, (flags & MF_BYPOSITION) != 0, nullptr, nullptr);
  if (!it) return 0xFFFFFFFF;
  DWORD old = it->state & MF_CHECKED;
  it->state = (it->state & ~MF_CHECKED) | (flags & MF_CHECKED);
  return old;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item *it = Locate(m, menu, item, (flags & MF_BYPOSITION) != 0, nullptr, nullptr);
  if (!it) return 0xFFFFFFFF;
  UINT state = (it->state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) | it->type;
  if (it->sub) {
    Menu *sub = FindMenu(m, it->sub);
    state |= MF_POPUP | (sub ? static_cast<UINT>(sub->items.size()) << 8 : 0);
  }
  return state;
}

int GetMenuItemCount(HMENU menu) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Menu *mn = FindMenu(m, menu);
  return mn ? static_cast<int>(mn->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Menu *mn = FindMenu(m, menu);
  if (!mn || position < 0 || static_cast<size_t>(position) >= mn->items.size()) return 0xFFFFFFFF;
  const Item &it = mn->items[position];
  return it.sub ? 0xFFFFFFFF : it.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Menu *mn = FindMenu(m, menu);
  if (!mn || position < 0 || static_cast<size_t>(position) >= mn->items.size()) return 0;
  return mn->items[position].sub;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int max, UINT flags) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item *it = Locate(m, menu, item, (flags & MF_BYPOSITION) != 0, nullptr, nullptr);
  if (text && max > 0) text[0] = '\0';
  if (!it || it->type == MFT_SEPARATOR) return 0;
  if (!text || max <= 0) return static_cast<int>(it->text.size());
  size_t n = std::min(it->text.size(), static_cast<size_t>(max - 1));
  std::memcpy(text, it->text.data(), n);
  text[n] = '\0';
  return static_cast<int>(n);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (menu && !IsMenu(menu)) return FALSE;
  using namespace platform::user;
  State &s = S();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w || (w->style & WS_CHILD)) return FALSE;
    if (w->menu == menu) return TRUE;
    w->menu = menu;
  }
  // The client area changes with the bar.
  RECT client;
  GetClientRect(hwnd, &client);
  SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED,
               static_cast<LPARAM>((client.right & 0xFFFF) |
                                   static_cast<uint32_t>(client.bottom & 0xFFFF) << 16));
  DrawMenuBar(hwnd);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  using namespace platform::user;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w || (w->style & WS_CHILD)) return 0;
  return IsMenu(w->menu) ? w->menu : 0;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  RECT bar{0, 0, 0, kMenuBarHeight};
  RECT window;
  GetWindowRect(hwnd, &window);
  bar.right = window.right - window.left;
  platform::Display().WindowInvalidated(hwnd, bar);
  platform::Display().MenuBarChanged(hwnd);
  return TRUE;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  using namespace platform::user;
  State &s = S();
  HMENU old = 0;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w) return 0;
    if (!revert && w->systemMenu && IsMenu(w->systemMenu)) return w->systemMenu;
    old = w->systemMenu;
    w->systemMenu = 0;
  }
  if (old) DestroyMenu(old);
  if (revert) return 0;
  HMENU made = CreatePopupMenu();
  if (!made) return 0;
  {
    Menus &m = M();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (Menu *mn = FindMenu(m, made)) FillSystemMenu(*mn);
  }
  std::lock_guard<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return made;
  w->systemMenu = made;
  return made;
}

namespace platform {

std::vector<MenuItemView> MenuItems(HMENU menu) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::vector<MenuItemView> out;
  Menu *mn = FindMenu(m, menu);
  if (!mn) return out;
  for (const Item &it : mn->items) {
    MenuItemView v;
    v.text = it.text;
    v.id = it.id;
    v.subMenu = it.sub;
    v.separator = it.type == MFT_SEPARATOR;
    v.grayed = (it.state & (MF_GRAYED | MF_DISABLED)) != 0;
    v.checked = (it.state & MF_CHECKED) != 0;
    out.push_back(v);
  }
  return out;
}

bool MenuHasEnabledItem(HMENU menu, UINT id) {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item *it = Locate(m, menu, id, false, nullptr, nullptr);
  return it && !it->sub && it->type != MFT_SEPARATOR && !(it->state & (MF_GRAYED | MF_DISABLED));
}

void ResetMenus() {
  Menus &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  m.menus.clear();
}

} // namespace platform
