// Window geometry, the window tree, activation and keyboard focus, scroll
// bars and class names of our window manager, beside the basics of win32.h.
// Also the lending of buffers: a pointer does not fit a 32-bit lParam, so
// messages that carry one carry a lent-buffer number instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

// More window messages.
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_MOUSEWHEEL = 0x020A;

constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

// More styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;

// More ShowWindow commands.
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// System metrics beyond the screen size.
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_DBCSENABLED = 42;

// The height of a menu bar, which the client area of a window with a menu
// gives up at its top.
constexpr int kMenuBarHeight = 20;

// ---- Scroll bars ----
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Scroll requests in the low word of WM_HSCROLL / WM_VSCROLL.
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

struct SCROLLINFO {
  UINT cbSize = 28;
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Sets the parts FMASK names; the page is cut to the range and the position
// kept inside [min, max - page + 1]. Returns the new position. A window's
// own bars (SB_HORZ, SB_VERT) and the bar of a SCROLLBAR control (SB_CTL).
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO *info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO *info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);

// ---- Geometry ----
// The window's rectangle on the screen.
BOOL GetWindowRect(HWND hwnd, RECT *rect);
// Moves a top-level window on the screen, a child in its parent's client
// area; WM_MOVE and WM_SIZE follow when position or size change.
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL ClientToScreen(HWND hwnd, POINT *point);
BOOL ScreenToClient(HWND hwnd, POINT *point);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);

// ---- The tree ----
HWND GetParent(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
// The child of PARENT (at any depth) whose identifier is ID.
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
int GetClassNameA(HWND hwnd, LPSTR name, int max);
LONG GetWindowStyle(HWND hwnd);
// Sets the style bits that are not visibility (WS_VISIBLE goes through
// ShowWindow); returns the old style.
LONG SetWindowStyle(HWND hwnd, LONG style);
int GetWindowTextLengthA(HWND hwnd);

// ---- Activation, focus, enabling ----
// The window with the keyboard focus (any thread: the screen has one).
HWND GetFocus();
// Gives HWND the focus (0: nobody): WM_KILLFOCUS to the old window,
// WM_SETFOCUS to the new one, whose top-level window becomes the
// foreground window. Returns the old focus; 0 and nothing else for a
// disabled or hidden window.
HWND SetFocus(HWND hwnd);
HWND GetActiveWindow();
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);

namespace platform {

// The deepest visible, enabled child of top-level window TOP under the
// screen point (x, y), TOP itself when there is none, 0 when the point is
// outside TOP. For display backends and scripted input.
HWND WindowAtPoint(HWND top, int x, int y);
// The visible top-level windows, frontmost first.
std::vector<HWND> TopLevelWindows();
// The first window under ROOT (ROOT included, depth first) whose identifier
// is ID (when BY_ID) or whose text equals TEXT.
HWND FindWindowIn(HWND root, bool byId, int id, const std::string &text);
// HWND and every window under it, parents before children.
std::vector<HWND> WindowAndDescendants(HWND hwnd);
// The class name of HWND ("" for no window).
std::string ClassNameOf(HWND hwnd);

// ---- Lent buffers ----
// Lends SIZE bytes at DATA for the duration of one message; the number
// travels as the message's wParam or lParam. Never 0.
LPARAM LendBuffer(void *data, size_t size);
void ReturnBuffer(LPARAM lent);
// The buffer lent as NUMBER; null (and SIZE 0) when none is.
void *BorrowedBuffer(LPARAM number, size_t *size);

// Lends for a scope.
class LentBuffer {
public:
  LentBuffer(void *data, size_t size) : number_(LendBuffer(data, size)) {}
  ~LentBuffer() { ReturnBuffer(number_); }
  LentBuffer(const LentBuffer &) = delete;
  LentBuffer &operator=(const LentBuffer &) = delete;
  LPARAM Number() const { return number_; }

private:
  LPARAM number_;
};

// Sends a message whose lParam is TEXT (lent, NUL-terminated).
LRESULT SendTextMessage(HWND hwnd, UINT msg, WPARAM wParam, const std::string &text);
// The text of a window through WM_GETTEXTLENGTH and WM_GETTEXT.
std::string WindowText(HWND hwnd);

// Sends a message and waits for the answer, or until ABORT (polled at least
// every 10 ms) says to give up (ABORTED set). For callers that are no
// BASIC thread and must not wait for ever (scripted input).
LRESULT SendMessageAbortable(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                             bool (*abort)(void *), void *context, bool *aborted);

} // namespace platform
