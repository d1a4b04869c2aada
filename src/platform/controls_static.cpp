// The STATIC and SCROLLBAR controls. A static control shows its text or a
// rectangle and, with SS_NOTIFY, tells its parent about clicks. A scroll
// bar control keeps its range, page and position (the SB_CTL bar), answers
// the SBM_ messages and turns clicks and arrow keys into WM_HSCROLL or
// WM_VSCROLL to its parent, which moves the thumb itself, as on Windows.
#include <algorithm>

#include "platform/controls_internal.h"
#include "platform/controls_paint.h"
#include "platform/winuser_input.h"

namespace platform {
namespace {

using namespace controls;

// The length of a scroll bar's arrow buttons.
constexpr int kArrow = 16;

void ScrollParent(HWND hwnd, int request, int pos) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  bool vertical = (GetWindowStyle(hwnd) & SBS_VERT) != 0;
  SendMessageA(parent, vertical ? WM_VSCROLL : WM_HSCROLL,
               MAKEWPARAM(request, static_cast<uint16_t>(pos)), static_cast<LPARAM>(hwnd));
}

SCROLLINFO Info(HWND hwnd) {
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd, SB_CTL, &si);
  return si;
}

} // namespace

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_LBUTTONDOWN:
    if (GetWindowStyle(hwnd) & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
    return 0;
  case WM_SETTEXT: {
    LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return r;
  }
  case WM_PAINT: {
    StaticLook look;
    look.text = CaptionOf(hwnd);
    look.style = static_cast<DWORD>(GetWindowStyle(hwnd));
    PaintStatic(hwnd, look);
    return 0;
  }
  default:
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case SBM_SETPOS: {
    int old = GetScrollPos(hwnd, SB_CTL);
    SetScrollPos(hwnd, SB_CTL, static_cast<int32_t>(wParam), lParam);
    return old;
  }
  case SBM_GETPOS:
    return GetScrollPos(hwnd, SB_CTL);
  case SBM_SETRANGE:
  case SBM_SETRANGEREDRAW: {
    int old = GetScrollPos(hwnd, SB_CTL);
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = static_cast<int32_t>(wParam);
    si.nMax = lParam;
    SetScrollInfo(hwnd, SB_CTL, &si, msg == SBM_SETRANGEREDRAW);
    return old;
  }
  case SBM_GETRANGE: {
    SCROLLINFO si = Info(hwnd);
    StoreCell(static_cast<LPARAM>(wParam), static_cast<uint32_t>(si.nMin));
    StoreCell(lParam, static_cast<uint32_t>(si.nMax));
    return 0;
  }
  case SBM_SETSCROLLINFO:
  case SBM_GETSCROLLINFO: {
    size_t size = 0;
    auto *si = static_cast<SCROLLINFO *>(BorrowedBuffer(lParam, &size));
    if (!si || size < sizeof(SCROLLINFO)) return 0;
    if (msg == SBM_GETSCROLLINFO) return GetScrollInfo(hwnd, SB_CTL, si);
    return SetScrollInfo(hwnd, SB_CTL, si, static_cast<BOOL>(wParam));
  }
  case WM_LBUTTONDOWN: {
    // The arrows step by a line, the track either side of the thumb by a
    // page.
    RECT r;
    GetClientRect(hwnd, &r);
    bool vertical = (GetWindowStyle(hwnd) & SBS_VERT) != 0;
    int at = vertical ? static_cast<int16_t>(HIWORD(static_cast<uint32_t>(lParam)))
                      : static_cast<int16_t>(LOWORD(static_cast<uint32_t>(lParam)));
    int length = vertical ? r.bottom : r.right;
    SCROLLINFO si = Info(hwnd);
    int request;
    if (at < kArrow) {
      request = SB_LINEUP;
    } else if (at >= length - kArrow) {
      request = SB_LINEDOWN;
    } else {
      int track = std::max(1, length - 2 * kArrow);
      int64_t span = static_cast<int64_t>(si.nMax) - si.nMin + 1;
      int thumb =
          span > 0 ? static_cast<int>((static_cast<int64_t>(si.nPos) - si.nMin) * track / span) : 0;
      request = at - kArrow < thumb ? SB_PAGEUP : SB_PAGEDOWN;
    }
    ScrollParent(hwnd, request, si.nPos);
    ScrollParent(hwnd, SB_ENDSCROLL, si.nPos);
    return 0;
  }
  case WM_KEYDOWN: {
    SCROLLINFO si = Info(hwnd);
    int request = -1;
    switch (wParam) {
    case VK_UP:
    case VK_LEFT:
      request = SB_LINEUP;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      request = SB_LINEDOWN;
      break;
    case VK_PRIOR:
      request = SB_PAGEUP;
      break;
    case VK_NEXT:
      request = SB_PAGEDOWN;
      break;
    case VK_HOME:
      request = SB_TOP;
      break;
    case VK_END:
      request = SB_BOTTOM;
      break;
    case VK_TAB:
      MoveFocusFrom(hwnd, GetKeyState(VK_SHIFT) < 0);
      return 0;
    default:
      return 0;
    }
    ScrollParent(hwnd, request, si.nPos);
    ScrollParent(hwnd, SB_ENDSCROLL, si.nPos);
    return 0;
  }
  case WM_PAINT: {
    SCROLLINFO si = Info(hwnd);
    ScrollLook look;
    look.vertical = (GetWindowStyle(hwnd) & SBS_VERT) != 0;
    look.min = si.nMin;
    look.max = si.nMax;
    look.page = static_cast<int>(si.nPage);
    look.pos = si.nPos;
    PaintScrollBar(hwnd, look);
    return 0;
  }
  default:
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

} // namespace platform
