// Scroll bars: the two bars of every window and the bar of a SCROLLBAR
// control, each a range, a page and a position kept consistent as Windows
// keeps them.
#include <algorithm>
#include <strings.h>

#include "platform/user_internal.h"

using namespace platform::user;

namespace {

// The position stays within [min, max - page + 1] (max when page is 0).
void Clamp(SCROLLINFO &si) {
  if (si.nMax < si.nMin) si.nMax = si.nMin;
  int64_t span = static_cast<int64_t>(si.nMax) - si.nMin + 1;
  if (si.nPage > span) si.nPage = static_cast<UINT>(span);
  int64_t top = static_cast<int64_t>(si.nMax) - std::max<int64_t>(si.nPage, 1) + 1;
  top = std::max<int64_t>(top, si.nMin);
  si.nPos = static_cast<int>(std::clamp<int64_t>(si.nPos, si.nMin, top));
}

SCROLLINFO *Bar(State &s, HWND hwnd, int bar) {
  Window *w = Find(s, hwnd);
  if (!w) return nullptr;
  if (bar == SB_HORZ || bar == SB_VERT) return &w->scroll[bar];
  if (bar == SB_CTL) return ControlBar(s, hwnd);
  return nullptr;
}

} // namespace

namespace platform::user {

SCROLLINFO *ControlBar(State &s, HWND hwnd) {
  Window *w = Find(s, hwnd);
  if (!w) return nullptr;
  for (const WindowClass &c : s.classes)
    if (c.atom == w->classAtom) {
      if (strcasecmp(c.name.c_str(), "SCROLLBAR") != 0) return nullptr;
      // A control's bar lives in the slot of its orientation's window bar.
      return &w->scroll[SB_HORZ];
    }
  return nullptr;
}

} // namespace platform::user

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO *info, BOOL redraw) {
  if (!info) return 0;
  State &s = S();
  int pos;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    SCROLLINFO *si = Bar(s, hwnd, bar);
    if (!si) return 0;
    if (info->fMask & SIF_RANGE) {
      si->nMin = info->nMin;
      si->nMax = info->nMax;
    }
    if (info->fMask & SIF_PAGE) si->nPage = info->nPage;
    if (info->fMask & SIF_POS) si->nPos = info->nPos;
    si->fMask |= info->fMask & SIF_DISABLENOSCROLL;
    Clamp(*si);
    pos = si->nPos;
    if (redraw) {
      Window *w = Find(s, hwnd);
      w->needsPaint = true;
      w->update = ClientRectOf(*w);
      WakeThread(s, w->thread);
    }
  }
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO *info) {
  if (!info) return FALSE;
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  SCROLLINFO *si = Bar(s, hwnd, bar);
  if (!si) return FALSE;
  UINT mask = info->fMask;
  if (mask & SIF_RANGE) {
    info->nMin = si->nMin;
    info->nMax = si->nMax;
  }
  if (mask & SIF_PAGE) info->nPage = si->nPage;
  if (mask & SIF_POS) info->nPos = si->nPos;
  if (mask & SIF_TRACKPOS) info->nTrackPos = si->nPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  SCROLLINFO old;
  old.fMask = SIF_POS;
  if (!GetScrollInfo(hwnd, bar, &old)) return 0;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old.nPos;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si;
  si.fMask = SIF_POS;
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}
