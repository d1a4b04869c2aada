#include "platform/dialog_paint.h"

#include <algorithm>

namespace platform::dialog {

bool Contains(const RECT &r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void Fill(const PixelView &v, RECT r, uint32_t colour) {
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, v.width);
  r.bottom = std::min<LONG>(r.bottom, v.height);
  for (int y = r.top; y < r.bottom; ++y)
    if (r.left < r.right) std::fill(v.Row(y) + r.left, v.Row(y) + r.right, colour);
}

void Frame(const PixelView &v, const RECT &r, uint32_t colour, int thickness) {
  Fill(v, RECT{r.left, r.top, r.right, r.top + thickness}, colour);
  Fill(v, RECT{r.left, r.bottom - thickness, r.right, r.bottom}, colour);
  Fill(v, RECT{r.left, r.top, r.left + thickness, r.bottom}, colour);
  Fill(v, RECT{r.right - thickness, r.top, r.right, r.bottom}, colour);
}

PixelView Sub(const PixelView &v, RECT r) {
  r.left = std::clamp<LONG>(r.left, 0, v.width);
  r.right = std::clamp<LONG>(r.right, r.left, v.width);
  r.top = std::clamp<LONG>(r.top, 0, v.height);
  r.bottom = std::clamp<LONG>(r.bottom, r.top, v.height);
  return PixelView{v.Row(r.top) + r.left, static_cast<int>(r.right - r.left),
                   static_cast<int>(r.bottom - r.top), v.stride};
}

void PaintWindow(const PixelView &v, const DialogText &font, int captionHeight,
                 std::string_view caption) {
  const int lineH = std::max(1, font.LineHeight());
  Fill(v, RECT{0, 0, v.width, v.height}, kFace);
  Fill(v, RECT{0, 0, v.width, captionHeight}, kCaptionBar);
  PixelView bar = Sub(v, RECT{6, 0, v.width - 6, captionHeight});
  font.Draw(bar, 0, (captionHeight - lineH) / 2, caption, kCaptionText);
  Frame(v, RECT{0, 0, v.width, v.height}, kFrame, 1);
}

void PaintButton(const PixelView &v, const DialogText &font, const RECT &r, std::string_view label,
                 bool focused, bool down) {
  const int lineH = std::max(1, font.LineHeight());
  Fill(v, r, down ? kButtonPressed : kButtonFace);
  Frame(v, r, focused ? kFocusEdge : kButtonEdge, focused ? 2 : 1);
  int labelW = font.Width(label);
  int lx = r.left + (r.right - r.left - labelW) / 2;
  int ly = r.top + (r.bottom - r.top - lineH) / 2;
  PixelView inside = Sub(v, RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2});
  font.Draw(inside, lx - r.left - 2 + (down ? 1 : 0), ly - r.top - 2 + (down ? 1 : 0), label,
            kText);
}

} // namespace platform::dialog
