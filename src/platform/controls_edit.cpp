// The EDIT control: single-line and multi-line text with a caret and a
// selection, typing and editing keys, the mouse, the EM_ messages and the
// EN_ notifications to the parent. Positions are byte offsets (code page
// 932), lines of a multi-line control end with CR LF, as in the system's
// ANSI edit control.
#include <algorithm>
#include <cctype>

#include "platform/controls_internal.h"
#include "platform/controls_paint.h"
#include "platform/cp932.h"
#include "platform/winuser_input.h"

namespace platform {
namespace {

using namespace controls;

struct Edit {
  std::mutex mutex;
  std::string text;
  size_t anchor = 0; // the fixed end of the selection
  size_t caret = 0;  // the moving end, where the caret shows
  size_t limit = kEditDefaultLimit;
  bool modified = false;
  bool readOnly = false;
  bool focused = false;
  bool dragging = false;
  size_t firstLine = 0; // the first visible line
  DWORD style = 0;
};

Store<Edit> &Edits() {
  static auto *s = new Store<Edit>;
  return *s;
}

bool Multi(const Edit &e) {
  return (e.style & ES_MULTILINE) != 0;
}

// The start of each line (multi-line: after every CR LF).
std::vector<size_t> LineStarts(const Edit &e) {
  std::vector<size_t> starts{0};
  if (!Multi(e)) return starts;
  for (size_t i = 0; i + 1 < e.text.size(); ++i)
    if (e.text[i] == '\r' && e.text[i + 1] == '\n') starts.push_back(i + 2);
  return starts;
}

// The line that holds index AT.
size_t LineOf(const Edit &e, size_t at) {
  std::vector<size_t> starts = LineStarts(e);
  size_t line = 0;
  for (size_t i = 0; i < starts.size(); ++i)
    if (starts[i] <= at) line = i;
  return line;
}

// The length of line LINE without its CR LF.
size_t LineLength(const Edit &e, size_t line) {
  std::vector<size_t> starts = LineStarts(e);
  if (line >= starts.size()) return 0;
  size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : e.text.size();
  return end - starts[line];
}

size_t SelStart(const Edit &e) {
  return std::min(e.anchor, e.caret);
}
size_t SelEnd(const Edit &e) {
  return std::max(e.anchor, e.caret);
}

// A position moved onto a character boundary (never inside a double-byte
// character or between CR and LF).
size_t Snap(const Edit &e, size_t at) {
  at = std::min(at, e.text.size());
  size_t b = PreviousBoundary(e.text, at);
  size_t n = NextBoundary(e.text, b);
  size_t pos = n == at ? at : b;
  if (pos > 0 && pos < e.text.size() && e.text[pos - 1] == '\r' && e.text[pos] == '\n') --pos;
  return pos;
}

// What typing or EM_REPLACESEL may insert: single-line controls stop at a
// line end, ES_NUMBER takes digits only, case styles fold.
std::string Filter(const Edit &e, const std::string &in, bool typed) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    auto c = static_cast<uint8_t>(in[i]);
    if (cp932::IsLeadByte(c) && i + 1 < in.size()) {
      if (typed && (e.style & ES_NUMBER)) {
        ++i;
        continue;
      }
      out += in[i];
      out += in[++i];
      continue;
    }
    if (!Multi(e) && (c == '\r' || c == '\n')) {
      if (typed) continue;
      break; // a pasted text ends at its first line end
    }
    if (typed && (e.style & ES_NUMBER) && !(c >= '0' && c <= '9')) continue;
    char ch = static_cast<char>(c);
    if (e.style & ES_UPPERCASE) ch = static_cast<char>(std::toupper(c));
    if (e.style & ES_LOWERCASE) ch = static_cast<char>(std::tolower(c));
    out += ch;
  }
  return out;
}

// Replaces the selection by TEXT within the limit; returns whether the text
// changed and sets FULL when some of TEXT did not fit.
bool ReplaceSelection(Edit &e, std::string text, bool &full) {
  size_t start = SelStart(e), end = SelEnd(e);
  size_t room =
      e.limit > e.text.size() - (end - start) ? e.limit - (e.text.size() - (end - start)) : 0;
  full = false;
  if (text.size() > room) {
    full = true;
    // Cut on a character boundary.
    size_t cut = 0;
    while (cut < text.size()) {
      size_t next = NextBoundary(text, cut);
      if (next > room) break;
      cut = next;
    }
    text.resize(cut);
  }
  if (text.empty() && start == end) return false;
  e.text.replace(start, end - start, text);
  e.anchor = e.caret = start + text.size();
  e.modified = true;
  return true;
}

void Changed(HWND hwnd) {
  NotifyParent(hwnd, EN_UPDATE);
  NotifyParent(hwnd, EN_CHANGE);
  InvalidateRect(hwnd, nullptr, TRUE);
}

// The index at client point (x, y).
size_t IndexAtPoint(const Edit &e, int x, int y) {
  std::vector<size_t> starts = LineStarts(e);
  size_t line = e.firstLine + static_cast<size_t>(std::max(0, y - kEditMargin) / LineHeight());
  line = std::min(line, starts.size() - 1);
  std::string text = e.text.substr(starts[line], LineLength(e, line));
  return starts[line] + IndexAtX(text, x - kEditMargin);
}

// Keeps the caret's line in view (multi-line).
void ScrollToCaret(HWND hwnd, Edit &e) {
  if (!Multi(e)) return;
  RECT r;
  GetClientRect(hwnd, &r);
  size_t visible = static_cast<size_t>(std::max(1, (r.bottom - 2 * kEditMargin) / LineHeight()));
  size_t line = LineOf(e, e.caret);
  if (line < e.firstLine) e.firstLine = line;
  if (line >= e.firstLine + visible) e.firstLine = line - visible + 1;
}

void PlaceCaret(HWND hwnd, const Edit &e) {
  if (!e.focused) return;
  std::vector<size_t> starts = LineStarts(e);
  size_t line = LineOf(e, e.caret);
  std::string before = e.text.substr(starts[line], e.caret - starts[line]);
  int y = kEditMargin + static_cast<int>(line - std::min(line, e.firstLine)) * LineHeight();
  SetCaretPos(kEditMargin + TextWidth(before), y);
  (void)hwnd;
}

// Moves the caret by a key; SHIFT keeps the anchor (extends the selection).
bool Key(Edit &e, WPARAM key, bool shift) {
  size_t caret = e.caret;
  std::vector<size_t> starts = LineStarts(e);
  size_t line = LineOf(e, caret);
  switch (key) {
  case VK_LEFT:
    if (!shift && e.anchor != e.caret) {
      caret = SelStart(e);
    } else if (caret > 0) {
      caret = caret >= 2 && e.text[caret - 1] == '\n' && e.text[caret - 2] == '\r'
                  ? caret - 2
                  : PreviousBoundary(e.text, caret);
    }
    break;
  case VK_RIGHT:
    if (!shift && e.anchor != e.caret) {
      caret = SelEnd(e);
    } else if (caret < e.text.size()) {
      caret = e.text[caret] == '\r' && caret + 1 < e.text.size() && e.text[caret + 1] == '\n'
                  ? caret + 2
                  : NextBoundary(e.text, caret);
    }
    break;
  case VK_HOME:
    caret = starts[line];
    break;
  case VK_END:
    caret = starts[line] + LineLength(e, line);
    break;
  case VK_UP:
  case VK_DOWN: {
    if (!Multi(e)) return false;
    if (key == VK_UP && line == 0) break;
    if (key == VK_DOWN && line + 1 >= starts.size()) break;
    size_t target = key == VK_UP ? line - 1 : line + 1;
    int x = TextWidth(e.text.substr(starts[line], caret - starts[line]));
    std::string text = e.text.substr(starts[target], LineLength(e, target));
    caret = starts[target] + IndexAtX(text, x);
    break;
  }
  default:
    return false;
  }
  e.caret = caret;
  if (!shift) e.anchor = caret;
  return true;
}

LRESULT GetSel(Edit &e, WPARAM wParam, LPARAM lParam) {
  auto start = static_cast<uint32_t>(SelStart(e));
  auto end = static_cast<uint32_t>(SelEnd(e));
  StoreCell(static_cast<LPARAM>(wParam), start);
  StoreCell(lParam, end);
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return static_cast<LRESULT>(start | end << 16);
}

void SetSel(Edit &e, WPARAM wParam, LPARAM lParam) {
  auto start = static_cast<int32_t>(wParam);
  int32_t end = lParam;
  size_t length = e.text.size();
  if (start == -1) {
    // Deselect: the caret stays where it is.
    e.anchor = e.caret;
    return;
  }
  auto clamp = [&](int32_t v) { return v < 0 ? length : std::min<size_t>(v, length); };
  e.anchor = Snap(e, clamp(start));
  e.caret = Snap(e, clamp(end));
}

} // namespace

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) {
    Edits().Drop(hwnd);
    return 0;
  }
  std::shared_ptr<Edit> state = Edits().Get(hwnd);
  Edit &e = *state;
  std::unique_lock<std::mutex> lock(e.mutex);
  switch (msg) {
  case WM_NCCREATE:
    e.style = static_cast<DWORD>(GetWindowStyle(hwnd));
    e.readOnly = (e.style & ES_READONLY) != 0;
    return TRUE;
  case WM_CREATE: {
    lock.unlock();
    // The creation caption is the initial text.
    std::string text = CaptionOf(hwnd);
    lock.lock();
    e.text = Filter(e, text, false);
    return 0;
  }
  case WM_SETTEXT: {
    e.text = Filter(e, LentText(lParam), false);
    e.anchor = e.caret = 0;
    e.firstLine = 0;
    e.modified = false;
    bool multi = Multi(e);
    lock.unlock();
    SetWindowTextA(hwnd, LentText(lParam).c_str());
    if (!multi) {
      NotifyParent(hwnd, EN_UPDATE);
      NotifyParent(hwnd, EN_CHANGE);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
  }
  case WM_GETTEXT:
    return CopyToLent(lParam, e.text, wParam);
  case WM_GETTEXTLENGTH:
    return static_cast<LRESULT>(e.text.size());
  case EM_GETSEL:
    return GetSel(e, wParam, lParam);
  case EM_SETSEL:
    SetSel(e, wParam, lParam);
    ScrollToCaret(hwnd, e);
    PlaceCaret(hwnd, e);
    lock.unlock();
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
  case EM_GETLINECOUNT:
    return static_cast<LRESULT>(LineStarts(e).size());
  case EM_LINEINDEX: {
    std::vector<size_t> starts = LineStarts(e);
    auto line = static_cast<int32_t>(wParam);
    size_t l = line < 0 ? LineOf(e, e.caret) : static_cast<size_t>(line);
    if (l >= starts.size()) return -1;
    return static_cast<LRESULT>(starts[l]);
  }
  case EM_LINELENGTH: {
    auto index = static_cast<int32_t>(wParam);
    if (index < 0) {
      // The characters of the selected lines that are not selected.
      size_t first = LineOf(e, SelStart(e)), last = LineOf(e, SelEnd(e));
      std::vector<size_t> starts = LineStarts(e);
      size_t before = SelStart(e) - starts[first];
      size_t after = starts[last] + LineLength(e, last) - SelEnd(e);
      return static_cast<LRESULT>(before + after);
    }
    if (static_cast<size_t>(index) > e.text.size()) return 0;
    return static_cast<LRESULT>(LineLength(e, LineOf(e, static_cast<size_t>(index))));
  }
  case EM_GETLINE: {
    size_t size = 0;
    void *buffer = BorrowedBuffer(lParam, &size);
    if (!buffer || size < 2) return 0;
    WORD max;
    std::memcpy(&max, buffer, sizeof max);
    std::vector<size_t> starts = LineStarts(e);
    size_t line = Multi(e) ? wParam : 0;
    if (line >= starts.size()) return 0;
    std::string text = e.text.substr(starts[line], LineLength(e, line));
    // The copy has no NUL; it fits the buffer's first word and the buffer.
    return CopyToLent(lParam, text, max, false);
  }
  case EM_LINEFROMCHAR: {
    auto index = static_cast<int32_t>(wParam);
    size_t at = index < 0 ? SelStart(e) : std::min<size_t>(index, e.text.size());
    return static_cast<LRESULT>(LineOf(e, at));
  }
  case EM_LIMITTEXT:
    e.limit =
        wParam == 0 ? static_cast<size_t>(kEditMaxLimit) : std::min<size_t>(wParam, kEditMaxLimit);
    return 0;
  case EM_GETLIMITTEXT:
    return static_cast<LRESULT>(e.limit);
  case EM_REPLACESEL: {
    bool full;
    bool changed = ReplaceSelection(e, Filter(e, LentText(lParam), false), full);
    ScrollToCaret(hwnd, e);
    PlaceCaret(hwnd, e);
    lock.unlock();
    if (full) NotifyParent(hwnd, EN_MAXTEXT);
    if (changed) Changed(hwnd);
    return 0;
  }
  case EM_GETMODIFY:
    return e.modified ? TRUE : FALSE;
  case EM_SETMODIFY:
    e.modified = wParam != 0;
    return 0;
  case EM_SETREADONLY:
    e.readOnly = wParam != 0;
    e.style = e.readOnly ? (e.style | ES_READONLY) : (e.style & ~ES_READONLY);
    lock.unlock();
    SetWindowStyle(hwnd, static_cast<LONG>(e.style));
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
  case EM_GETFIRSTVISIBLELINE:
    return static_cast<LRESULT>(e.firstLine);
  case EM_SCROLLCARET:
    ScrollToCaret(hwnd, e);
    return TRUE;
  case EM_CANUNDO:
    return FALSE;
  case WM_SETFOCUS:
    e.focused = true;
    CreateCaret(hwnd, 0, 1, LineHeight());
    PlaceCaret(hwnd, e);
    ShowCaret(hwnd);
    lock.unlock();
    NotifyParent(hwnd, EN_SETFOCUS);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  case WM_KILLFOCUS:
    e.focused = false;
    e.dragging = false;
    lock.unlock();
    HideCaret(hwnd);
    DestroyCaret();
    NotifyParent(hwnd, EN_KILLFOCUS);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  case WM_KEYDOWN: {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    if (wParam == VK_TAB) {
      lock.unlock();
      MoveFocusFrom(hwnd, shift);
      return 0;
    }
    if (wParam == VK_DELETE) {
      if (e.readOnly) return 0;
      if (e.anchor == e.caret) Key(e, VK_RIGHT, true);
      bool full;
      bool changed = ReplaceSelection(e, std::string(), full);
      PlaceCaret(hwnd, e);
      lock.unlock();
      if (changed) Changed(hwnd);
      return 0;
    }
    if (Key(e, wParam, shift)) {
      ScrollToCaret(hwnd, e);
      PlaceCaret(hwnd, e);
      lock.unlock();
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
  }
  case WM_CHAR: {
    auto c = static_cast<uint8_t>(wParam);
    if (c == '\t') return 0; // WM_KEYDOWN moved the focus
    if (e.readOnly) return 0;
    bool full = false, changed;
    if (c == '\b') {
      if (e.anchor == e.caret) Key(e, VK_LEFT, true);
      changed = ReplaceSelection(e, std::string(), full);
    } else if (c == '\r') {
      if (!Multi(e)) return 0;
      changed = ReplaceSelection(e, "\r\n", full);
    } else if (c < 0x20 && c != 0) {
      return 0;
    } else {
      // A lead byte waits for its trail byte, which the next WM_CHAR brings.
      static thread_local uint8_t pendingLead = 0;
      std::string bytes;
      if (pendingLead) {
        bytes = {static_cast<char>(pendingLead), static_cast<char>(c)};
        pendingLead = 0;
      } else if (cp932::IsLeadByte(c)) {
        pendingLead = c;
        return 0;
      } else {
        bytes = std::string(1, static_cast<char>(c));
      }
      std::string filtered = Filter(e, bytes, true);
      if (filtered.empty()) {
        lock.unlock();
        MessageBeep(0);
        return 0;
      }
      changed = ReplaceSelection(e, filtered, full);
    }
    ScrollToCaret(hwnd, e);
    PlaceCaret(hwnd, e);
    lock.unlock();
    if (full) NotifyParent(hwnd, EN_MAXTEXT);
    if (changed) Changed(hwnd);
    return 0;
  }
  case WM_LBUTTONDOWN: {
    bool focused = e.focused;
    size_t at = IndexAtPoint(e, static_cast<int16_t>(LOWORD(static_cast<uint32_t>(lParam))),
                             static_cast<int16_t>(HIWORD(static_cast<uint32_t>(lParam))));
    e.caret = Snap(e, at);
    if (!(wParam & 0x0004)) e.anchor = e.caret; // MK_SHIFT extends
    e.dragging = true;
    PlaceCaret(hwnd, e);
    lock.unlock();
    if (!focused) SetFocus(hwnd);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  case WM_MOUSEMOVE:
    if (e.dragging && (wParam & MK_LBUTTON)) {
      e.caret = Snap(e, IndexAtPoint(e, static_cast<int16_t>(LOWORD(static_cast<uint32_t>(lParam))),
                                     static_cast<int16_t>(HIWORD(static_cast<uint32_t>(lParam)))));
      PlaceCaret(hwnd, e);
      lock.unlock();
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
  case WM_LBUTTONUP:
    e.dragging = false;
    return 0;
  case WM_PAINT: {
    EditLook look;
    look.text = (e.style & ES_PASSWORD) ? std::string(e.text.size(), '*') : e.text;
    look.lines = LineStarts(e);
    look.selStart = SelStart(e);
    look.selEnd = SelEnd(e);
    look.focused = e.focused;
    look.readOnly = e.readOnly;
    look.firstLine = e.firstLine;
    lock.unlock();
    PaintEdit(hwnd, look);
    return 0;
  }
  default:
    lock.unlock();
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

} // namespace platform
