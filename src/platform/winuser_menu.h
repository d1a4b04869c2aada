// Menus of our window manager: menu bars and pop-up menus as objects with
// 32-bit handles, their items, the system menu of a window, and tracking a
// pop-up menu. A choice reaches the owner window as WM_COMMAND.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT MFT_STRING = 0x0000;
constexpr UINT MFT_SEPARATOR = 0x0800;
constexpr UINT MFS_ENABLED = 0x0000;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = 0x0008;
constexpr UINT MFS_DEFAULT = 0x1000;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// System menu commands (WM_SYSCOMMAND).
constexpr UINT SC_SIZE = 0xF000;
constexpr UINT SC_MOVE = 0xF010;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_MAXIMIZE = 0xF030;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

struct MENUITEMINFOA {
  UINT cbSize = 44;
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = 0;
  uint32_t hbmpChecked = 0;
  uint32_t hbmpUnchecked = 0;
  uint32_t dwItemData = 0;
  LPSTR dwTypeData = nullptr;
  UINT cch = 0;
  uint32_t hbmpItem = 0;
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys MENU and the submenus its items open.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// Inserts before ITEM (a position when BY_POSITION, else the item with that
// identifier, searched in submenus too); a position past the end appends.
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA *info);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT idOrSubMenu, LPCSTR text);
// DeleteMenu destroys the submenu the item opens; RemoveMenu keeps it.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// The item's previous state (MF_GRAYED, MF_DISABLED), -1 for no such item.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The item's text, at most MAX - 1 bytes and a NUL (MAX 0: only the
// length); 0 for no item or a separator.
int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int max, UINT flags);
// A top-level window's menu bar (0 for none or a child window).
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);
// REVERT FALSE: the window's own copy of the system menu, made on the first
// call; TRUE: the copy goes and the default comes back (result 0).
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// Shows MENU at screen point (x, y) for OWNER until an item is chosen or
// the menu is dismissed. The choice goes to OWNER as WM_COMMAND (posted)
// unless TPM_RETURNCMD asks for it as the result; otherwise the result is
// TRUE for a choice and 0 for none.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT *rect);

namespace platform {

struct MenuItemView {
  std::string text;
  UINT id = 0;
  HMENU subMenu = 0;
  bool separator = false;
  bool grayed = false;
  bool checked = false;
};
// The items of MENU as a painter needs them.
std::vector<MenuItemView> MenuItems(HMENU menu);

// The pop-up menu being tracked now (0: none) and its owner.
HMENU TrackedPopup(HWND *owner);
// Chooses item ID of the tracked pop-up menu (searching its submenus):
// false when no menu is tracked or it has no enabled item ID.
bool ChooseTrackedItem(UINT id);
// Dismisses the tracked pop-up menu without a choice.
void DismissTrackedPopup();
// Whether MENU (with its submenus) has an enabled text item ID.
bool MenuHasEnabledItem(HMENU menu, UINT id);
// Headless: pop-up menus that nothing will choose from are dismissed at
// once (no script, or the script has ended).
void SetPopupChoicesPossible(bool possible);
// Forgets every menu (a new program in the same process).
void ResetMenus();

} // namespace platform
