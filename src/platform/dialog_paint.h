// Drawing shared by our dialogs: filled and framed rectangles, the caption
// bar and push buttons, in the dialogs' colours.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/modal_dialog.h"
#include "platform/pixels.h"
#include "platform/win32.h"

namespace platform::dialog {

inline constexpr uint32_t kFace = 0x00F0F0F0;
inline constexpr uint32_t kFrame = 0x00646464;
inline constexpr uint32_t kCaptionBar = 0x00203C78;
inline constexpr uint32_t kCaptionText = 0x00FFFFFF;
inline constexpr uint32_t kText = 0x00000000;
inline constexpr uint32_t kButtonFace = 0x00E1E1E1;
inline constexpr uint32_t kButtonPressed = 0x00C4D8EE;
inline constexpr uint32_t kButtonEdge = 0x00ADADAD;
inline constexpr uint32_t kFocusEdge = 0x000078D7;
inline constexpr uint32_t kWindow = 0x00FFFFFF;        // a list's background
inline constexpr uint32_t kHighlight = 0x000078D7;     // the selected item
inline constexpr uint32_t kHighlightText = 0x00FFFFFF; // its text

bool Contains(const RECT &r, int x, int y);
// R clipped to V.
void Fill(const PixelView &v, RECT r, uint32_t colour);
void Frame(const PixelView &v, const RECT &r, uint32_t colour, int thickness);
// A view of the part R of V (clipped to V).
PixelView Sub(const PixelView &v, RECT r);
// The face, the caption bar of height CAPTION_HEIGHT with CAPTION and the
// one-pixel frame round the whole of V.
void PaintWindow(const PixelView &v, const DialogText &font, int captionHeight,
                 std::string_view caption);
// A push button at R: pressed (DOWN) or not, with the focus frame.
void PaintButton(const PixelView &v, const DialogText &font, const RECT &r, std::string_view label,
                 bool focused, bool down);

} // namespace platform::dialog
