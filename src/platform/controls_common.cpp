// The system control classes by name, the notification of a control's
// parent, Tab between controls, and the text helpers the controls share.
#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>
#include <strings.h>

#include "platform/controls_internal.h"
#include "platform/cp932.h"
#include "platform/font.h"
#include "platform/user_internal.h"

namespace platform::user {

WNDPROC SystemClassProc(const std::string &name) {
  struct Entry {
    const char *name;
    WNDPROC proc;
  };
  static constexpr Entry kClasses[] = {
      {"EDIT", platform::EditProc},       {"BUTTON", platform::ButtonProc},
      {"LISTBOX", platform::ListBoxProc}, {"COMBOBOX", platform::ComboBoxProc},
      {"STATIC", platform::StaticProc},   {"SCROLLBAR", platform::ScrollBarProc},
  };
  for (const Entry &e : kClasses)
    if (strcasecmp(e.name, name.c_str()) == 0) return e.proc;
  return nullptr;
}

} // namespace platform::user

namespace platform {

void NotifyParent(HWND hwnd, int code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), static_cast<LPARAM>(hwnd));
}

void MoveFocusFrom(HWND hwnd, bool backwards) {
  using namespace platform::user;
  State &s = S();
  HWND next = 0;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, hwnd);
    if (!w) return;
    Window *p = Find(s, w->parent);
    if (!p) return;
    const std::vector<HWND> &sib = p->children;
    auto at = std::find(sib.begin(), sib.end(), hwnd);
    if (at == sib.end()) return;
    size_t n = sib.size();
    size_t i = static_cast<size_t>(at - sib.begin());
    for (size_t step = 1; step < n; ++step) {
      size_t j = backwards ? (i + n - step) % n : (i + step) % n;
      Window *c = Find(s, sib[j]);
      if (!c || !c->visible || !c->enabled || c->destroying) continue;
      // Static texts and group boxes never take the focus.
      std::string cls;
      for (const WindowClass &k : s.classes)
        if (k.atom == c->classAtom) cls = k.name;
      if (strcasecmp(cls.c_str(), "STATIC") == 0) continue;
      if (strcasecmp(cls.c_str(), "BUTTON") == 0 && (c->style & BS_TYPEMASK) == BS_GROUPBOX)
        continue;
      next = sib[j];
      break;
    }
  }
  if (next) SetFocus(next);
}

} // namespace platform

namespace platform::controls {

std::string LentText(LPARAM lParam) {
  size_t size = 0;
  auto *p = static_cast<const char *>(BorrowedBuffer(lParam, &size));
  if (!p) return std::string();
  return std::string(p, strnlen(p, size));
}

int CopyToLent(LPARAM lParam, const std::string &text, size_t max, bool nulTerminate) {
  size_t size = 0;
  auto *p = static_cast<char *>(BorrowedBuffer(lParam, &size));
  if (!p) return 0;
  max = std::min(max, size);
  if (nulTerminate) {
    if (max == 0) return 0;
    size_t n = std::min(text.size(), max - 1);
    std::memcpy(p, text.data(), n);
    p[n] = '\0';
    return static_cast<int>(n);
  }
  size_t n = std::min(text.size(), max);
  std::memcpy(p, text.data(), n);
  return static_cast<int>(n);
}

void StoreCell(LPARAM number, uint32_t value) {
  size_t size = 0;
  void *p = BorrowedBuffer(number, &size);
  if (p && size >= sizeof value) std::memcpy(p, &value, sizeof value);
}

std::string CaptionOf(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  if (n <= 0) return std::string();
  std::string t(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(hwnd, t.data(), n + 1);
  t.resize(static_cast<size_t>(std::clamp(got, 0, n)));
  return t;
}

LOGFONTA ControlLogFont() {
  LOGFONTA lf;
  lf.lfHeight = kFontHeight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  static const char kFaceName[] = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";
  std::copy(kFaceName, kFaceName + sizeof kFaceName, lf.lfFaceName);
  return lf;
}

namespace {

// The realised font is cached by the font layer; null when none exists.
std::shared_ptr<font::Font> ControlFont() {
  return font::Realize(ControlLogFont());
}

} // namespace

int LineHeight() {
  TEXTMETRICA tm{};
  if (auto f = ControlFont()) font::GetMetrics(*f, tm);
  // A face with absurd metrics must not break the layout.
  return tm.tmHeight > 0 ? std::clamp<int>(tm.tmHeight, 8, 4 * kFontHeight) : kFontHeight;
}

int TextWidth(const std::string &text) {
  if (text.empty()) return 0;
  if (auto f = ControlFont()) return static_cast<int>(font::Extent(*f, text).cx);
  return static_cast<int>(text.size()) * kCharWidth;
}

size_t NextBoundary(const std::string &text, size_t at) {
  if (at >= text.size()) return text.size();
  if (cp932::IsLeadByte(static_cast<uint8_t>(text[at])) && at + 1 < text.size()) return at + 2;
  return at + 1;
}

size_t PreviousBoundary(const std::string &text, size_t at) {
  at = std::min(at, text.size());
  size_t i = 0, last = 0;
  while (i < at) {
    last = i;
    i = NextBoundary(text, i);
  }
  return last;
}

size_t IndexAtX(const std::string &text, int x) {
  auto f = ControlFont();
  size_t i = 0;
  int px = 0;
  while (i < text.size()) {
    size_t next = NextBoundary(text, i);
    std::string_view ch(text.data() + i, next - i);
    int w = f ? static_cast<int>(font::Extent(*f, ch).cx) : static_cast<int>(next - i) * kCharWidth;
    if (x < px + w / 2) return i;
    px += w;
    i = next;
  }
  return text.size();
}

namespace {

char Fold(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

bool PrefixMatches(const std::string &item, const std::string &prefix) {
  if (prefix.size() > item.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    bool lead = cp932::IsLeadByte(static_cast<uint8_t>(item[i]));
    if (lead && i + 1 < prefix.size()) {
      if (item[i] != prefix[i] || item[i + 1] != prefix[i + 1]) return false;
      ++i;
      continue;
    }
    if (Fold(item[i]) != Fold(prefix[i])) return false;
  }
  return true;
}

bool EqualNoCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && PrefixMatches(a, b);
}

} // namespace platform::controls
