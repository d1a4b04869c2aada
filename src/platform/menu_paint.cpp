// Menus in the same flat style as the controls: black text on the face
// colour, greyed items in grey, the Japanese UI face at the controls' size.
#include "platform/menu_paint.h"

#include <algorithm>
#include <cstring>

#include "platform/font.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"

namespace platform {
namespace {

constexpr uint32_t kFacePixel = 0xF0F0F0;
constexpr uint32_t kFramePixel = 0x7A7A7A;
constexpr COLORREF kInk = 0x000000;
constexpr COLORREF kGreyInk = 0x909090;
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 7;
constexpr int kPadding = 8;

std::shared_ptr<font::Font> MenuFont() {
  LOGFONTA lf;
  lf.lfHeight = 16;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  static const char kName[] = "MS UI Gothic";
  std::memcpy(lf.lfFaceName, kName, sizeof kName);
  return font::Realize(lf);
}

// The text as shown: "&" marks the next character as the access key and is
// not drawn ("&&" draws one "&"); a tab starts the shortcut column, which
// only pop-up menus show.
std::string Shown(const std::string &text, std::string *shortcut) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\t') {
      if (shortcut) *shortcut = text.substr(i + 1);
      break;
    }
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

void Fill(const PixelView &v, int l, int t, int r, int b, uint32_t pixel) {
  l = std::max(l, 0);
  t = std::max(t, 0);
  r = std::min(r, v.width);
  b = std::min(b, v.height);
  if (l >= r || t >= b) return;
  for (int y = t; y < b; ++y) std::fill(v.Row(y) + l, v.Row(y) + r, pixel);
}

} // namespace

void PaintMenuBar(HMENU menu, const PixelView &view) {
  const int height = std::min(kMenuBarHeight, view.height);
  Fill(view, 0, 0, view.width, height, kFacePixel);
  Fill(view, 0, height - 1, view.width, height, kFramePixel);
  auto f = MenuFont();
  if (!f) return;
  const RECT clip{0, 0, view.width, height - 1};
  int x = 0;
  for (const MenuItemView &item : MenuItems(menu)) {
    if (item.separator) continue;
    const std::string text = Shown(item.text, nullptr);
    const SIZE size = font::Extent(*f, text);
    font::Draw(*f, view, clip, x + kPadding, (height - size.cy) / 2, text,
               item.grayed ? kGreyInk : kInk, false, 0);
    x += size.cx + 2 * kPadding;
    if (x >= view.width) break;
  }
}

SIZE PopupMenuSize(HMENU menu) {
  auto f = MenuFont();
  int width = 0, height = 2;
  for (const MenuItemView &item : MenuItems(menu)) {
    if (item.separator) {
      height += kSeparatorHeight;
      continue;
    }
    std::string shortcut;
    const std::string text = Shown(item.text, &shortcut);
    int w = f ? font::Extent(*f, text).cx : 8 * static_cast<int>(text.size());
    if (!shortcut.empty()) w += 2 * kPadding + (f ? font::Extent(*f, shortcut).cx : 0);
    width = std::max(width, w);
    height += kItemHeight;
  }
  // Room for the check mark at the left and the submenu arrow at the right.
  return {std::min(width + 4 * kPadding + 2, 4096), std::min(height, 4096)};
}

void PaintPopupMenu(HMENU menu, const PixelView &view) {
  const SIZE size = PopupMenuSize(menu);
  const int w = std::min<int>(size.cx, view.width), h = std::min<int>(size.cy, view.height);
  Fill(view, 0, 0, w, h, kFacePixel);
  Fill(view, 0, 0, w, 1, kFramePixel);
  Fill(view, 0, h - 1, w, h, kFramePixel);
  Fill(view, 0, 0, 1, h, kFramePixel);
  Fill(view, w - 1, 0, w, h, kFramePixel);
  auto f = MenuFont();
  const RECT clip{1, 1, w - 1, h - 1};
  int y = 1;
  for (const MenuItemView &item : MenuItems(menu)) {
    if (y >= h - 1) break;
    if (item.separator) {
      Fill(view, 4, y + kSeparatorHeight / 2, w - 4, y + kSeparatorHeight / 2 + 1, kFramePixel);
      y += kSeparatorHeight;
      continue;
    }
    std::string shortcut;
    const std::string text = Shown(item.text, &shortcut);
    const COLORREF ink = item.grayed ? kGreyInk : kInk;
    const uint32_t inkPixel = PixelOf(ink);
    if (f) {
      const int ty = y + (kItemHeight - font::Extent(*f, text).cy) / 2;
      font::Draw(*f, view, clip, 2 * kPadding + 1, ty, text, ink, false, 0);
      if (!shortcut.empty())
        font::Draw(*f, view, clip, w - 2 * kPadding - font::Extent(*f, shortcut).cx, ty, shortcut,
                   ink, false, 0);
    }
    if (item.checked) Fill(view, 5, y + 7, 11, y + 13, inkPixel);
    if (item.subMenu) // a small right-pointing triangle
      for (int i = 0; i < 4; ++i)
        Fill(view, w - 10 + i, y + 6 + i, w - 9 + i, y + 14 - i, inkPixel);
    y += kItemHeight;
  }
}

} // namespace platform
