// The controls' painters: each draws its control into the window's backing
// store through BeginPaint/EndPaint, in a plain flat style, with the text in
// the Japanese UI face at the line height the controls measure with.
#include "platform/controls_paint.h"

#include <algorithm>

#include "platform/controls_internal.h"
#include "platform/wingdi.h"
#include "platform/winuser_controls.h"

namespace platform {
namespace {

// Colours as COLORREF (0x00BBGGRR).
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kFace = 0xF0F0F0; // button and scroll-bar face
constexpr COLORREF kFacePushed = 0xD0D0D0;
constexpr COLORREF kFrame = 0x7A7A7A;     // control borders
constexpr COLORREF kGrey = 0x909090;      // disabled text
constexpr COLORREF kHighlight = 0xD77800; // selection background (blue)
constexpr COLORREF kTrack = 0xE0E0E0;
constexpr COLORREF kThumb = 0xA8A8A8;

// One paint: the context from BeginPaint with the UI font selected, and the
// objects made for it released at the end.
class Painter {
public:
  explicit Painter(HWND hwnd) : hwnd_(hwnd) {
    hdc_ = BeginPaint(hwnd, &ps_);
    GetClientRect(hwnd, &client_);
    if (!hdc_) return;
    const LOGFONTA lf = controls::ControlLogFont();
    font_ = CreateFontIndirectA(&lf);
    if (font_) oldFont_ = SelectObject(hdc_, font_);
    SetBkMode(hdc_, TRANSPARENT);
  }
  ~Painter() {
    if (hdc_) {
      if (oldFont_) SelectObject(hdc_, oldFont_);
      EndPaint(hwnd_, &ps_);
    } else {
      ValidateRect(hwnd_, nullptr);
    }
    if (font_) DeleteObject(font_);
  }
  Painter(const Painter &) = delete;
  Painter &operator=(const Painter &) = delete;

  bool ok() const { return hdc_ != 0; }
  const RECT &client() const { return client_; }

  void Fill(int l, int t, int r, int b, COLORREF c) {
    if (l >= r || t >= b) return;
    HBRUSH brush = CreateSolidBrush(c);
    RECT rc{l, t, r, b};
    FillRect(hdc_, &rc, brush);
    DeleteObject(brush);
  }
  // A one-pixel outline inside (L, T, R, B).
  void Frame(int l, int t, int r, int b, COLORREF c) {
    Fill(l, t, r, t + 1, c);
    Fill(l, b - 1, r, b, c);
    Fill(l, t, l + 1, b, c);
    Fill(r - 1, t, r, b, c);
  }
  void Text(int x, int y, const std::string &s, COLORREF c) {
    if (s.empty()) return;
    SetTextColor(hdc_, c);
    TextOutA(hdc_, x, y, s.data(), static_cast<int>(s.size()));
  }

private:
  HWND hwnd_;
  HDC hdc_ = 0;
  PAINTSTRUCT ps_{};
  RECT client_{};
  HFONT font_ = 0;
  HGDIOBJ oldFont_ = 0;
};

int CentredY(const RECT &rc) {
  return rc.top + (rc.bottom - rc.top - controls::LineHeight()) / 2;
}

} // namespace

void PaintEdit(HWND hwnd, const EditLook &look) {
  Painter p(hwnd);
  if (!p.ok()) return;
  const RECT rc = p.client();
  p.Fill(rc.left, rc.top, rc.right, rc.bottom, look.readOnly ? kFace : kWhite);
  p.Frame(rc.left, rc.top, rc.right, rc.bottom, kFrame);
  const size_t lineCount = look.lines.empty() ? 1 : look.lines.size();
  const size_t selLo = std::min(look.selStart, look.selEnd);
  const size_t selHi = std::max(look.selStart, look.selEnd);
  const bool multi = lineCount > 1;
  int y = multi ? rc.top + kEditMargin : CentredY(rc);
  for (size_t line = look.firstLine; line < lineCount && y < rc.bottom; ++line) {
    const size_t start = look.lines.empty() ? 0 : std::min(look.lines[line], look.text.size());
    size_t end =
        line + 1 < lineCount ? std::min(look.lines[line + 1], look.text.size()) : look.text.size();
    // The line break (CR LF or LF) is not drawn.
    while (end > start && (look.text[end - 1] == '\n' || look.text[end - 1] == '\r')) --end;
    const std::string shown = look.text.substr(start, end - start);
    const int x0 = rc.left + kEditMargin;
    // The selection's part on this line.
    const size_t a = std::clamp(selLo, start, end), b = std::clamp(selHi, start, end);
    if (a < b) {
      const int xa = x0 + controls::TextWidth(shown.substr(0, a - start));
      const int xb = x0 + controls::TextWidth(shown.substr(0, b - start));
      p.Fill(xa, y, xb, y + controls::LineHeight(), kHighlight);
      p.Text(x0, y, shown.substr(0, a - start), kBlack);
      p.Text(xa, y, shown.substr(a - start, b - a), kWhite);
      p.Text(xb, y, shown.substr(b - start), kBlack);
    } else {
      p.Text(x0, y, shown, kBlack);
    }
    // The caret sits at the end of the selection the user moved.
    if (look.focused && look.selEnd >= start && look.selEnd <= end) {
      const int xc = x0 + controls::TextWidth(shown.substr(0, look.selEnd - start));
      p.Fill(xc, y, xc + 1, y + controls::LineHeight(), kBlack);
    }
    y += controls::LineHeight();
  }
}

void PaintButton(HWND hwnd, const ButtonLook &look) {
  Painter p(hwnd);
  if (!p.ok()) return;
  const RECT rc = p.client();
  const COLORREF ink = look.enabled ? kBlack : kGrey;
  const DWORD type = look.type & BS_TYPEMASK;
  const int textW = controls::TextWidth(look.text);
  const int lh = controls::LineHeight();
  switch (type) {
  case BS_GROUPBOX: {
    p.Fill(rc.left, rc.top, rc.right, rc.bottom, kFace);
    const int mid = rc.top + lh / 2;
    p.Frame(rc.left, mid, rc.right, rc.bottom, kFrame);
    if (!look.text.empty()) {
      p.Fill(rc.left + 6, rc.top, rc.left + 10 + textW, rc.top + lh, kFace);
      p.Text(rc.left + 8, rc.top, look.text, ink);
    }
    return;
  }
  case BS_CHECKBOX:
  case BS_AUTOCHECKBOX:
  case BS_3STATE:
  case BS_AUTO3STATE:
  case BS_RADIOBUTTON:
  case BS_AUTORADIOBUTTON: {
    p.Fill(rc.left, rc.top, rc.right, rc.bottom, kFace);
    const int box = 13;
    const int bx = rc.left + 1, by = rc.top + (rc.bottom - rc.top - box) / 2;
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    p.Fill(bx, by, bx + box, by + box, look.enabled ? kWhite : kFace);
    p.Frame(bx, by, bx + box, by + box, kFrame);
    if (radio) {
      if (look.check == BST_CHECKED) p.Fill(bx + 4, by + 4, bx + box - 4, by + box - 4, ink);
    } else if (look.check == BST_CHECKED) {
      // A check mark: a short stroke down then a long one up.
      for (int i = 0; i < 3; ++i) p.Fill(bx + 3 + i, by + 6 + i, bx + 4 + i, by + 8 + i, ink);
      for (int i = 0; i < 5; ++i) p.Fill(bx + 6 + i, by + 7 - i, bx + 7 + i, by + 9 - i, ink);
    } else if (look.check == BST_INDETERMINATE) {
      p.Fill(bx + 3, by + 3, bx + box - 3, by + box - 3, kGrey);
    }
    p.Text(bx + box + 4, CentredY(rc), look.text, ink);
    if (look.focused)
      p.Frame(bx + box + 2, CentredY(rc) - 1, std::min<int>(rc.right, bx + box + 6 + textW),
              CentredY(rc) + lh + 1, kGrey);
    return;
  }
  default: { // push buttons (and anything owner-drawn, drawn as one)
    p.Fill(rc.left, rc.top, rc.right, rc.bottom, look.pushed ? kFacePushed : kFace);
    p.Frame(rc.left, rc.top, rc.right, rc.bottom, look.isDefault || look.focused ? kBlack : kFrame);
    if (look.isDefault) p.Frame(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1, kFrame);
    const int shift = look.pushed ? 1 : 0;
    const int x = rc.left + (rc.right - rc.left - textW) / 2 + shift;
    p.Text(x, CentredY(rc) + shift, look.text, ink);
    if (look.focused) p.Frame(rc.left + 3, rc.top + 3, rc.right - 3, rc.bottom - 3, kGrey);
    return;
  }
  }
}

void PaintList(HWND hwnd, const ListLook &look) {
  Painter p(hwnd);
  if (!p.ok()) return;
  const RECT rc = p.client();
  const int lh = controls::LineHeight();
  p.Fill(rc.left, rc.top, rc.right, rc.bottom, kWhite);
  int y = rc.top + 1;
  if (look.combo) {
    // The field with its drop button, then (when dropped) the list below.
    const int fieldH = std::min<int>(rc.bottom - rc.top, lh + 6);
    p.Frame(rc.left, rc.top, rc.right, rc.top + fieldH, kFrame);
    const int bw = std::min<int>(fieldH, rc.right - rc.left);
    p.Fill(rc.right - bw, rc.top + 1, rc.right - 1, rc.top + fieldH - 1, kFace);
    // The drop arrow: a small downward triangle.
    const int ax = rc.right - bw / 2, ay = rc.top + fieldH / 2 - 2;
    for (int i = 0; i < 4; ++i) p.Fill(ax - 4 + i, ay + i, ax + 4 - i, ay + i + 1, kBlack);
    p.Text(rc.left + 3, rc.top + 3, look.field, kBlack);
    if (!look.dropped) return;
    y = rc.top + fieldH;
    p.Frame(rc.left, y, rc.right, rc.bottom, kFrame);
    ++y;
  } else {
    p.Frame(rc.left, rc.top, rc.right, rc.bottom, kFrame);
  }
  for (size_t i = static_cast<size_t>(std::max(look.top, 0)); i < look.items.size(); ++i) {
    if (y >= rc.bottom - 1) break;
    const bool sel = static_cast<int>(i) == look.selected;
    if (sel) p.Fill(rc.left + 1, y, rc.right - 1, std::min<int>(y + lh, rc.bottom - 1), kHighlight);
    p.Text(rc.left + 3, y, look.items[i], sel ? kWhite : kBlack);
    y += lh;
  }
}

void PaintStatic(HWND hwnd, const StaticLook &look) {
  Painter p(hwnd);
  if (!p.ok()) return;
  const RECT rc = p.client();
  p.Fill(rc.left, rc.top, rc.right, rc.bottom, kFace);
  const int w = controls::TextWidth(look.text);
  int x = rc.left;
  if ((look.style & 0x3) == SS_CENTER)
    x = rc.left + (rc.right - rc.left - w) / 2;
  else if ((look.style & 0x3) == SS_RIGHT)
    x = rc.right - w;
  p.Text(x, rc.top, look.text, kBlack);
}

void PaintScrollBar(HWND hwnd, const ScrollLook &look) {
  Painter p(hwnd);
  if (!p.ok()) return;
  const RECT rc = p.client();
  p.Fill(rc.left, rc.top, rc.right, rc.bottom, kTrack);
  p.Frame(rc.left, rc.top, rc.right, rc.bottom, kFrame);
  const int length = look.vertical ? rc.bottom - rc.top : rc.right - rc.left;
  const int breadth = look.vertical ? rc.right - rc.left : rc.bottom - rc.top;
  const long long range = static_cast<long long>(look.max) - look.min + 1;
  if (length <= 2 || range <= 0) return;
  // The thumb: proportional to the page when there is one, otherwise square.
  int thumb = look.page > 0
                  ? static_cast<int>(std::min<long long>(length, length * look.page / range))
                  : breadth;
  thumb = std::clamp(thumb, std::min(8, length), length);
  const long long travel = range - std::max(look.page, 1);
  const long long at = std::clamp<long long>(static_cast<long long>(look.pos) - look.min, 0,
                                             std::max<long long>(travel, 0));
  const int offset = travel > 0 ? static_cast<int>((length - thumb) * at / travel) : 0;
  if (look.vertical)
    p.Fill(rc.left + 1, rc.top + offset, rc.right - 1, rc.top + offset + thumb, kThumb);
  else
    p.Fill(rc.left + offset, rc.top + 1, rc.left + offset + thumb, rc.bottom - 1, kThumb);
}

} // namespace platform
