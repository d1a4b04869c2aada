// The message box's text in our fonts: the proportional Japanese UI face.
#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "platform/font.h"
#include "platform/message_box_dialog.h"

namespace platform {
namespace {

class FontDialogText final : public DialogText {
public:
  explicit FontDialogText(int pixelHeight) {
    LOGFONTA lf;
    lf.lfHeight = -std::clamp(pixelHeight, 1, 512);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::string face = cp932::FromUtf8("ＭＳ Ｐゴシック");
    std::memcpy(lf.lfFaceName, face.data(), std::min(face.size(), size_t{LF_FACESIZE - 1}));
    font_ = font::Realize(lf);
    if (font_) {
      TEXTMETRICA tm;
      font::GetMetrics(*font_, tm);
      lineHeight_ = tm.tmHeight + tm.tmExternalLeading;
    }
    if (lineHeight_ <= 0) lineHeight_ = std::max(1, pixelHeight);
  }

  int LineHeight() const override { return lineHeight_; }

  int Width(std::string_view text) const override {
    if (!font_ || text.empty()) return 0;
    return font::Extent(*font_, text).cx;
  }

  void Draw(const PixelView &target, int x, int y, std::string_view text,
            uint32_t colour) const override {
    if (!font_ || text.empty() || target.width <= 0 || target.height <= 0) return;
    RECT clip{0, 0, target.width, target.height};
    font::Draw(*font_, target, clip, x, y, text, ColorrefOf(colour), false, 0);
  }

private:
  std::shared_ptr<font::Font> font_;
  int lineHeight_ = 0;
};

} // namespace

std::unique_ptr<DialogText> MakeDialogText(int pixelHeight) {
  return std::make_unique<FontDialogText>(pixelHeight);
}

} // namespace platform
