// The LISTBOX and COMBOBOX controls: a list of texts with one selected
// item, the LB_ and CB_ messages with their results (LB_ERR, lengths,
// prefix matching without regard to case), keyboard and mouse selection,
// and the notifications to the parent. A combo box adds its field: an edit
// text (simple and drop-down styles) or the selected item (drop-down list).
#include <algorithm>

#include "platform/controls_internal.h"
#include "platform/controls_paint.h"
#include "platform/cp932.h"
#include "platform/nls.h"
#include "platform/winuser_input.h"

namespace platform {
namespace {

using namespace controls;

// The height of a combo box's field above its list.
int FieldHeight() {
  return LineHeight() + 6;
}

struct List {
  std::mutex mutex;
  std::vector<std::string> items;
  std::vector<uint32_t> data;
  int selected = -1;
  int top = 0;
  bool focused = false;
  // Combo boxes only.
  std::string field;
  size_t fieldStart = 0, fieldEnd = 0;
  size_t limit = kEditMaxLimit;
  bool dropped = false;
  uint8_t pendingLead = 0;
};

Store<List> &Lists() {
  static auto *s = new Store<List>;
  return *s;
}

int Count(const List &l) {
  return static_cast<int>(l.items.size());
}

// Where a sorted list puts TEXT: after every item that does not sort
// behind it.
size_t SortedPlace(const List &l, const std::string &text) {
  size_t i = 0;
  while (i < l.items.size() && CompareStringA(LOCALE_JAPANESE, 0, l.items[i].c_str(), -1,
                                              text.c_str(), -1) != CSTR_GREATER_THAN)
    ++i;
  return i;
}

LRESULT Insert(List &l, int index, const std::string &text, bool sorted) {
  size_t at;
  if (sorted && index == -2) {
    at = SortedPlace(l, text);
  } else if (index < 0) {
    at = l.items.size();
  } else if (index > Count(l)) {
    return LB_ERR;
  } else {
    at = static_cast<size_t>(index);
  }
  if (l.items.size() >= 0x7FFFFFF) return LB_ERRSPACE;
  l.items.insert(l.items.begin() + static_cast<ptrdiff_t>(at), text);
  l.data.insert(l.data.begin() + static_cast<ptrdiff_t>(at), 0);
  if (l.selected >= static_cast<int>(at)) ++l.selected;
  return static_cast<LRESULT>(at);
}

LRESULT Delete(List &l, int index) {
  if (index < 0 || index >= Count(l)) return LB_ERR;
  l.items.erase(l.items.begin() + index);
  l.data.erase(l.data.begin() + index);
  if (l.selected == index) {
    l.selected = -1;
  } else if (l.selected > index) {
    --l.selected;
  }
  l.top = std::clamp(l.top, 0, std::max(0, Count(l) - 1));
  return Count(l);
}

// The first item after START (wrapping round; -1: from the first) that
// starts with TEXT (EXACT: equals it), without regard to case.
LRESULT FindItem(const List &l, int start, const std::string &text, bool exact) {
  int n = Count(l);
  if (n == 0) return LB_ERR;
  if (start < -1 || start >= n) start = -1;
  for (int step = 1; step <= n; ++step) {
    int i = (start + step) % n;
    if (exact ? EqualNoCase(l.items[i], text) : PrefixMatches(l.items[i], text)) return i;
  }
  return LB_ERR;
}

int VisibleRows(HWND hwnd, bool combo) {
  RECT r;
  GetClientRect(hwnd, &r);
  int height = r.bottom - (combo ? FieldHeight() : 0) - 2;
  return std::max(1, height / LineHeight());
}

void KeepInView(HWND hwnd, List &l, bool combo) {
  if (l.selected < 0) return;
  int rows = VisibleRows(hwnd, combo);
  if (l.selected < l.top) l.top = l.selected;
  if (l.selected >= l.top + rows) l.top = l.selected - rows + 1;
}

// A key that moves the selection: the new index, or -2 for no move.
int KeyTarget(HWND hwnd, const List &l, WPARAM key, bool combo) {
  int n = Count(l);
  if (n == 0) return -2;
  int sel = l.selected;
  int rows = VisibleRows(hwnd, combo);
  switch (key) {
  case VK_UP:
    return sel < 0 ? 0 : std::max(0, sel - 1);
  case VK_DOWN:
    return sel < 0 ? 0 : std::min(n - 1, sel + 1);
  case VK_HOME:
    return 0;
  case VK_END:
    return n - 1;
  case VK_PRIOR:
    return std::max(0, (sel < 0 ? 0 : sel) - rows);
  case VK_NEXT:
    return std::min(n - 1, (sel < 0 ? 0 : sel) + rows);
  default:
    return -2;
  }
}

int16_t YOf(LPARAM lParam) {
  return static_cast<int16_t>(HIWORD(static_cast<uint32_t>(lParam)));
}

ListLook LookOf(const List &l, bool combo) {
  ListLook look;
  look.items = l.items;
  look.selected = l.selected;
  look.top = l.top;
  look.focused = l.focused;
  look.combo = combo;
  look.field = l.field;
  look.dropped = l.dropped;
  return look;
}

// The messages both controls share, by their list-box numbers; false when
// MSG is not one of them.
bool Common(List &l, UINT msg, WPARAM wParam, LPARAM lParam, bool sorted, LRESULT &result) {
  switch (msg) {
  case LB_ADDSTRING:
    result = Insert(l, sorted ? -2 : -1, LentText(lParam), sorted);
    return true;
  case LB_INSERTSTRING:
    result = Insert(l, static_cast<int32_t>(wParam), LentText(lParam), false);
    return true;
  case LB_DELETESTRING:
    result = Delete(l, static_cast<int32_t>(wParam));
    return true;
  case LB_RESETCONTENT:
    l.items.clear();
    l.data.clear();
    l.selected = -1;
    l.top = 0;
    result = 0;
    return true;
  case LB_GETCOUNT:
    result = Count(l);
    return true;
  case LB_GETCURSEL:
    result = l.selected;
    return true;
  case LB_GETTEXTLEN: {
    auto i = static_cast<int32_t>(wParam);
    result = i < 0 || i >= Count(l) ? LB_ERR : static_cast<LRESULT>(l.items[i].size());
    return true;
  }
  case LB_GETTEXT: {
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || i >= Count(l)) {
      result = LB_ERR;
      return true;
    }
    // The caller's buffer holds the text and its NUL (LB_GETTEXTLEN + 1);
    // a smaller lent buffer gets what fits.
    result = CopyToLent(lParam, l.items[i], l.items[i].size() + 1);
    return true;
  }
  case LB_FINDSTRING:
  case LB_FINDSTRINGEXACT:
    result = FindItem(l, static_cast<int32_t>(wParam), LentText(lParam), msg == LB_FINDSTRINGEXACT);
    return true;
  case LB_GETITEMDATA: {
    auto i = static_cast<int32_t>(wParam);
    result = i < 0 || i >= Count(l) ? LB_ERR : static_cast<LRESULT>(l.data[i]);
    return true;
  }
  case LB_SETITEMDATA: {
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || i >= Count(l)) {
      result = LB_ERR;
    } else {
      l.data[i] = static_cast<uint32_t>(lParam);
      result = 0;
    }
    return true;
  }
  default:
    return false;
  }
}

// The combo box's numbers for the shared messages.
UINT AsListMessage(UINT msg) {
  switch (msg) {
  case CB_ADDSTRING:
    return LB_ADDSTRING;
  case CB_INSERTSTRING:
    return LB_INSERTSTRING;
  case CB_DELETESTRING:
    return LB_DELETESTRING;
  case CB_RESETCONTENT:
    return LB_RESETCONTENT;
  case CB_GETCOUNT:
    return LB_GETCOUNT;
  case CB_GETCURSEL:
    return LB_GETCURSEL;
  case CB_GETLBTEXTLEN:
    return LB_GETTEXTLEN;
  case CB_GETLBTEXT:
    return LB_GETTEXT;
  case CB_FINDSTRING:
    return LB_FINDSTRING;
  case CB_FINDSTRINGEXACT:
    return LB_FINDSTRINGEXACT;
  case CB_GETITEMDATA:
    return LB_GETITEMDATA;
  case CB_SETITEMDATA:
    return LB_SETITEMDATA;
  default:
    return 0;
  }
}

} // namespace

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) {
    Lists().Drop(hwnd);
    return 0;
  }
  std::shared_ptr<List> state = Lists().Get(hwnd);
  List &l = *state;
  auto style = static_cast<DWORD>(GetWindowStyle(hwnd));
  bool notify = (style & LBS_NOTIFY) != 0;
  std::unique_lock<std::mutex> lock(l.mutex);
  LRESULT result;
  if (Common(l, msg, wParam, lParam, (style & LBS_SORT) != 0, result)) {
    bool changed = msg != LB_GETCOUNT && msg != LB_GETCURSEL && msg != LB_GETTEXT &&
                   msg != LB_GETTEXTLEN && msg != LB_FINDSTRING && msg != LB_FINDSTRINGEXACT &&
                   msg != LB_GETITEMDATA;
    lock.unlock();
    if (changed) InvalidateRect(hwnd, nullptr, TRUE);
    return result;
  }
  int selectTo = -2; // a user's choice, notified
  switch (msg) {
  case LB_SETCURSEL: {
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || i >= Count(l)) {
      l.selected = -1;
      result = LB_ERR;
    } else {
      l.selected = i;
      KeepInView(hwnd, l, false);
      result = i;
    }
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
  }
  case LB_SELECTSTRING: {
    result = FindItem(l, static_cast<int32_t>(wParam), LentText(lParam), false);
    if (result != LB_ERR) {
      l.selected = static_cast<int>(result);
      KeepInView(hwnd, l, false);
    }
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
  }
  case LB_GETSEL: {
    auto i = static_cast<int32_t>(wParam);
    return i < 0 || i >= Count(l) ? LB_ERR : (i == l.selected ? 1 : 0);
  }
  case LB_GETSELCOUNT:
    return LB_ERR; // a single-selection list box
  case LB_GETTOPINDEX:
    return l.top;
  case LB_SETTOPINDEX: {
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || (i >= Count(l) && i != 0)) return LB_ERR;
    l.top = i;
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return LB_OKAY;
  }
  case LB_GETCARETINDEX:
    return std::max(l.selected, 0);
  case LB_GETITEMHEIGHT:
    return LineHeight();
  case LB_SETITEMHEIGHT:
    return LB_OKAY;
  case LB_GETITEMRECT: {
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || i >= std::max(Count(l), 1)) return LB_ERR;
    RECT client;
    GetClientRect(hwnd, &client);
    RECT r{1, 1 + (i - l.top) * LineHeight(), client.right - 1, 1 + (i - l.top + 1) * LineHeight()};
    size_t size = 0;
    void *p = BorrowedBuffer(lParam, &size);
    if (p && size >= sizeof r) std::memcpy(p, &r, sizeof r);
    return LB_OKAY;
  }
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    int row = (YOf(lParam) - 1) / LineHeight();
    int i = YOf(lParam) >= 1 ? l.top + row : -1;
    bool focused = l.focused;
    if (i >= 0 && i < Count(l)) selectTo = i;
    lock.unlock();
    if (!focused) SetFocus(hwnd);
    if (selectTo >= 0) {
      bool changed;
      {
        std::lock_guard<std::mutex> again(l.mutex);
        changed = l.selected != selectTo;
        l.selected = selectTo;
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      if (notify && changed) NotifyParent(hwnd, LBN_SELCHANGE);
      if (notify && msg == WM_LBUTTONDBLCLK) NotifyParent(hwnd, LBN_DBLCLK);
    }
    return 0;
  }
  case WM_KEYDOWN: {
    if (wParam == VK_TAB) {
      lock.unlock();
      MoveFocusFrom(hwnd, GetKeyState(VK_SHIFT) < 0);
      return 0;
    }
    int to = KeyTarget(hwnd, l, wParam, false);
    if (to == -2 || to == l.selected) return 0;
    l.selected = to;
    KeepInView(hwnd, l, false);
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    if (notify) NotifyParent(hwnd, LBN_SELCHANGE);
    return 0;
  }
  case WM_CHAR: {
    // A typed character selects the next item that starts with it.
    auto c = static_cast<uint8_t>(wParam);
    if (c < 0x20 || c >= 0x80) return 0;
    LRESULT found = FindItem(l, l.selected, std::string(1, static_cast<char>(c)), false);
    if (found == LB_ERR || found == l.selected) return 0;
    l.selected = static_cast<int>(found);
    KeepInView(hwnd, l, false);
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    if (notify) NotifyParent(hwnd, LBN_SELCHANGE);
    return 0;
  }
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    l.focused = msg == WM_SETFOCUS;
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    if (notify) NotifyParent(hwnd, msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
  case WM_PAINT: {
    ListLook look = LookOf(l, false);
    lock.unlock();
    PaintList(hwnd, look);
    return 0;
  }
  default:
    lock.unlock();
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) {
    Lists().Drop(hwnd);
    return 0;
  }
  std::shared_ptr<List> state = Lists().Get(hwnd);
  List &l = *state;
  auto style = static_cast<DWORD>(GetWindowStyle(hwnd));
  DWORD kind = style & 3;
  bool hasEdit = kind != CBS_DROPDOWNLIST;
  std::unique_lock<std::mutex> lock(l.mutex);
  LRESULT result;
  if (UINT as = AsListMessage(msg)) {
    Common(l, as, wParam, lParam, (style & CBS_SORT) != 0, result);
    if (as == LB_DELETESTRING && l.selected < 0 && !hasEdit) l.field.clear();
    if (as == LB_RESETCONTENT) {
      l.field.clear();
      l.fieldStart = l.fieldEnd = 0;
    }
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
  }
  // Selects item I (-1: none) into the field; returns whether it changed.
  auto select = [&](int i) {
    bool changed = l.selected != i;
    l.selected = i;
    l.field = i >= 0 ? l.items[i] : (hasEdit ? l.field : std::string());
    if (i >= 0 || !hasEdit) l.fieldStart = 0, l.fieldEnd = l.field.size();
    KeepInView(hwnd, l, true);
    return changed;
  };
  switch (msg) {
  case CB_SETCURSEL: {
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || i >= Count(l)) {
      l.selected = -1;
      l.field.clear();
      l.fieldStart = l.fieldEnd = 0;
      result = CB_ERR;
    } else {
      select(i);
      result = i;
    }
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
  }
  case CB_SELECTSTRING:
    result = FindItem(l, static_cast<int32_t>(wParam), LentText(lParam), false);
    if (result != CB_ERR) select(static_cast<int>(result));
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
  case CB_GETEDITSEL: {
    if (!hasEdit) return CB_ERR;
    auto start = static_cast<uint32_t>(std::min(l.fieldStart, l.fieldEnd));
    auto end = static_cast<uint32_t>(std::max(l.fieldStart, l.fieldEnd));
    StoreCell(static_cast<LPARAM>(wParam), start);
    StoreCell(lParam, end);
    return static_cast<LRESULT>((start & 0xFFFF) | (end & 0xFFFF) << 16);
  }
  case CB_SETEDITSEL: {
    if (!hasEdit) return CB_ERR;
    auto start = static_cast<int16_t>(LOWORD(static_cast<uint32_t>(lParam)));
    auto end = static_cast<int16_t>(HIWORD(static_cast<uint32_t>(lParam)));
    size_t n = l.field.size();
    l.fieldStart = start < 0 ? n : std::min<size_t>(start, n);
    l.fieldEnd = end < 0 ? n : std::min<size_t>(end, n);
    return TRUE;
  }
  case CB_LIMITTEXT:
    if (!hasEdit) return CB_ERR;
    l.limit = wParam == 0 ? static_cast<size_t>(kEditMaxLimit) : wParam;
    return TRUE;
  case CB_SHOWDROPDOWN: {
    if (kind == CBS_SIMPLE) return TRUE;
    bool was = l.dropped;
    l.dropped = wParam != 0;
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    if (!was && wParam) NotifyParent(hwnd, CBN_DROPDOWN);
    if (was && !wParam) NotifyParent(hwnd, CBN_CLOSEUP);
    return TRUE;
  }
  case CB_GETDROPPEDSTATE:
    return l.dropped || kind == CBS_SIMPLE ? TRUE : FALSE;
  case WM_SETTEXT: {
    std::string text = LentText(lParam);
    if (!hasEdit) {
      LRESULT i = FindItem(l, -1, text, true);
      if (i == CB_ERR) return CB_ERR;
      select(static_cast<int>(i));
    } else {
      l.field = text.substr(0, std::min(text.size(), l.limit));
      l.fieldStart = l.fieldEnd = l.field.size();
    }
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
  }
  case WM_GETTEXT:
    return CopyToLent(lParam, l.field, wParam);
  case WM_GETTEXTLENGTH:
    return static_cast<LRESULT>(l.field.size());
  case WM_LBUTTONDOWN: {
    int y = YOf(lParam);
    bool focused = l.focused;
    bool listShown = kind == CBS_SIMPLE || l.dropped;
    int pick = -1;
    bool toggle = false;
    if (y < FieldHeight()) {
      toggle = kind != CBS_SIMPLE;
    } else if (listShown) {
      int i = l.top + (y - FieldHeight() - 1) / LineHeight();
      if (y > FieldHeight() && i < Count(l)) pick = i;
    }
    lock.unlock();
    if (!focused) SetFocus(hwnd);
    if (toggle) {
      bool drop;
      {
        std::lock_guard<std::mutex> again(l.mutex);
        drop = !l.dropped;
      }
      SendMessageA(hwnd, CB_SHOWDROPDOWN, drop ? TRUE : FALSE, 0);
    }
    if (pick >= 0) {
      bool changed;
      {
        std::lock_guard<std::mutex> again(l.mutex);
        changed = select(pick);
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      if (changed) NotifyParent(hwnd, CBN_SELCHANGE);
      NotifyParent(hwnd, CBN_SELENDOK);
      if (kind != CBS_SIMPLE) SendMessageA(hwnd, CB_SHOWDROPDOWN, FALSE, 0);
    }
    return 0;
  }
  case WM_KEYDOWN: {
    if (wParam == VK_TAB) {
      lock.unlock();
      MoveFocusFrom(hwnd, GetKeyState(VK_SHIFT) < 0);
      return 0;
    }
    if (wParam == VK_F4 && kind != CBS_SIMPLE) {
      bool drop = !l.dropped;
      lock.unlock();
      SendMessageA(hwnd, CB_SHOWDROPDOWN, drop ? TRUE : FALSE, 0);
      return 0;
    }
    int to = KeyTarget(hwnd, l, wParam, true);
    if (to == -2 || to == l.selected) return 0;
    select(to);
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, CBN_SELCHANGE);
    return 0;
  }
  case WM_CHAR: {
    auto c = static_cast<uint8_t>(wParam);
    if (c == '\t') return 0;
    if (c == '\r') {
      bool wasDropped = l.dropped;
      lock.unlock();
      if (wasDropped) SendMessageA(hwnd, CB_SHOWDROPDOWN, FALSE, 0);
      return 0;
    }
    if (!hasEdit) {
      if (c < 0x20 || c >= 0x80) return 0;
      LRESULT found = FindItem(l, l.selected, std::string(1, static_cast<char>(c)), false);
      if (found == CB_ERR || found == l.selected) return 0;
      select(static_cast<int>(found));
      lock.unlock();
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, CBN_SELCHANGE);
      return 0;
    }
    // The field edits like a single-line edit control.
    size_t start = std::min(l.fieldStart, l.fieldEnd), end = std::max(l.fieldStart, l.fieldEnd);
    std::string insert;
    if (c == '\b') {
      if (start == end) start = PreviousBoundary(l.field, start);
    } else if (l.pendingLead) {
      insert = {static_cast<char>(l.pendingLead), static_cast<char>(c)};
      l.pendingLead = 0;
    } else if (cp932::IsLeadByte(c)) {
      l.pendingLead = c;
      return 0;
    } else if (c >= 0x20) {
      insert = std::string(1, static_cast<char>(c));
    } else {
      return 0;
    }
    if (l.field.size() - (end - start) + insert.size() > l.limit) {
      lock.unlock();
      MessageBeep(0);
      return 0;
    }
    if (start == end && insert.empty()) return 0;
    l.field.replace(start, end - start, insert);
    l.fieldStart = l.fieldEnd = start + insert.size();
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, CBN_EDITUPDATE);
    NotifyParent(hwnd, CBN_EDITCHANGE);
    return 0;
  }
  case WM_SETFOCUS:
  case WM_KILLFOCUS: {
    l.focused = msg == WM_SETFOCUS;
    bool close = !l.focused && l.dropped;
    lock.unlock();
    if (close) SendMessageA(hwnd, CB_SHOWDROPDOWN, FALSE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, msg == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
    return 0;
  }
  case WM_PAINT: {
    ListLook look = LookOf(l, true);
    look.dropped = l.dropped || kind == CBS_SIMPLE;
    lock.unlock();
    PaintList(hwnd, look);
    return 0;
  }
  case LB_GETITEMRECT: {
    // Where item I of the list shows (below the field), for scripted clicks.
    auto i = static_cast<int32_t>(wParam);
    if (i < 0 || i >= Count(l)) return CB_ERR;
    RECT client;
    GetClientRect(hwnd, &client);
    int y = FieldHeight() + 1 + (i - l.top) * LineHeight();
    RECT r{1, y, client.right - 1, y + LineHeight()};
    size_t size = 0;
    void *p = BorrowedBuffer(lParam, &size);
    if (p && size >= sizeof r) std::memcpy(p, &r, sizeof r);
    return CB_OKAY;
  }
  default:
    lock.unlock();
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

} // namespace platform
