// Menus in the same flat style as the controls: black text on the face
// colour, greyed items in grey, the Japanese UI face at the controls' size.
#include "platform/menu_paint.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/font.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"

namespace platform {
namespace {

constexpr uint32_t kFacePixel = 0xF0F0F0;
constexpr uint32_t kFramePixel = 0x7A7A7A;
constexpr COLORREF kInk = 0x000000;
constexpr COLORREF kGreyInk = 0x909090;
constexpr COLORREF kHotInk = 0xFFFFFF;
constexpr uint32_t kHotPixel = 0x0078D7; // the selection colour of the lists
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

// The bar items' left and right edges (separators take no room).
std::vector<std::pair<int, int>> BarLayout(HMENU menu, int width) {
  std::vector<MenuItemView> items = MenuItems(menu);
  std::vector<std::pair<int, int>> out(items.size(), {0, 0});
  auto f = MenuFont();
  int x = 0;
  for (size_t i = 0; i < items.size() && x < width; ++i) {
    if (items[i].separator) continue;
    const std::string text = Shown(items[i].text, nullptr);
    const int w =
        (f ? font::Extent(*f, text).cx : 8 * static_cast<int>(text.size())) + 2 * kPadding;
    out[i] = {x, std::min(x + w, width)};
    x += w;
  }
  return out;
}

} // namespace

void PaintMenuBar(HMENU menu, const PixelView &view, int hot) {
  const int height = std::min(kMenuBarHeight, view.height);
  Fill(view, 0, 0, view.width, height, kFacePixel);
  Fill(view, 0, height - 1, view.width, height, kFramePixel);
  auto f = MenuFont();
  if (!f) return;
  const RECT clip{0, 0, view.width, height - 1};
  const std::vector<MenuItemView> items = MenuItems(menu);
  const std::vector<std::pair<int, int>> layout = BarLayout(menu, view.width);
  for (size_t i = 0; i < items.size() && i < layout.size(); ++i) {
    const auto [left, right] = layout[i];
    if (items[i].separator || left >= right) continue;
    const bool isHot = static_cast<int>(i) == hot;
    if (isHot) Fill(view, left, 0, right, height - 1, kHotPixel);
    const std::string text = Shown(items[i].text, nullptr);
    const SIZE size = font::Extent(*f, text);
    font::Draw(*f, view, clip, left + kPadding, (height - size.cy) / 2, text,
               isHot             ? kHotInk
               : items[i].grayed ? kGreyInk
                                 : kInk,
               false, 0);
  }
}

RECT MenuBarItemRect(HMENU menu, int index, int width) {
  const std::vector<std::pair<int, int>> layout = BarLayout(menu, width);
  if (index < 0 || index >= static_cast<int>(layout.size())) return {};
  const auto [left, right] = layout[index];
  if (left >= right) return {};
  return {left, 0, right, kMenuBarHeight - 1};
}

int MenuBarItemAt(HMENU menu, int x, int width) {
  const std::vector<std::pair<int, int>> layout = BarLayout(menu, width);
  for (size_t i = 0; i < layout.size(); ++i)
    if (x >= layout[i].first && x < layout[i].second) return static_cast<int>(i);
  return -1;
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

RECT PopupMenuItemRect(HMENU menu, int index) {
  const SIZE size = PopupMenuSize(menu);
  const std::vector<MenuItemView> items = MenuItems(menu);
  int y = 1;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const int h = items[i].separator ? kSeparatorHeight : kItemHeight;
    if (y + h > size.cy - 1) break;
    if (i == index) return {1, y, size.cx - 1, y + h};
    y += h;
  }
  return {};
}

int PopupMenuItemAt(HMENU menu, int y) {
  const SIZE size = PopupMenuSize(menu);
  const std::vector<MenuItemView> items = MenuItems(menu);
  int top = 1;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const int h = items[i].separator ? kSeparatorHeight : kItemHeight;
    if (top + h > size.cy - 1) break;
    if (y >= top && y < top + h) return i;
    top += h;
  }
  return -1;
}

void PaintPopupMenu(HMENU menu, const PixelView &view, int hot) {
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
  int index = -1;
  for (const MenuItemView &item : MenuItems(menu)) {
    ++index;
    if (y >= h - 1) break;
    if (item.separator) {
      Fill(view, 4, y + kSeparatorHeight / 2, w - 4, y + kSeparatorHeight / 2 + 1, kFramePixel);
      y += kSeparatorHeight;
      continue;
    }
    const bool isHot = index == hot;
    if (isHot) Fill(view, 1, y, w - 1, std::min(y + kItemHeight, h - 1), kHotPixel);
    std::string shortcut;
    const std::string text = Shown(item.text, &shortcut);
    const COLORREF ink = isHot ? kHotInk : item.grayed ? kGreyInk : kInk;
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
