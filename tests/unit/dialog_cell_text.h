// A fixed-cell text renderer for dialog tests.
#pragma once

#include <algorithm>
#include <string_view>

#include "platform/cp932.h"
#include "platform/modal_dialog.h"

namespace platform::test {

// Cells of 8 x 16 pixels (16 wide for a double-byte character); drawing
// fills each character's cell with the colour, so a picture can be probed.
class CellText final : public DialogText {
public:
  int LineHeight() const override { return 16; }
  int Width(std::string_view text) const override {
    int w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (cp932::IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size()) {
        w += 16;
        ++i;
      } else {
        w += 8;
      }
    }
    return w;
  }
  void Draw(const PixelView &v, int x, int y, std::string_view text,
            uint32_t colour) const override {
    int w = Width(text);
    for (int py = std::max(0, y); py < std::min(v.height, y + 16); ++py)
      for (int px = std::max(0, x); px < std::min(v.width, x + w); ++px) v.Row(py)[px] = colour;
  }
};

} // namespace platform::test
