// Text through a context: the selected font (realised on first use),
// colours and background mode, drawn by the font renderer into the pixels
// of memory and window contexts, or handed to a printer device.
#include <cstring>
#include <string_view>

#include "platform/font.h"
#include "platform/gdi_internal.h"

namespace platform::gdi {
namespace {

struct TextState {
  std::shared_ptr<FontData> font;
  std::shared_ptr<font::Font> realised;
  COLORREF colour = 0, back = 0;
  bool opaque = true;
  PrintDevice *printer = nullptr;
};

// The context's text state, with its font realised; false for no context.
bool GetTextState(HDC hdc, TextState &state) {
  {
    Table &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    DeviceContext *dc = FindDC(t, hdc);
    if (!dc || !dc->fontData) return false;
    state.font = dc->fontData;
    state.colour = dc->textColour;
    state.back = dc->bkColour;
    state.opaque = dc->bkMode == OPAQUE;
    state.printer = dc->printer.get();
    state.realised = state.font->font;
  }
  if (state.realised) return true;
  // Realising is thread-safe and cached; the result is kept with the font
  // object (under the table mutex) for the next call.
  state.realised = font::Realize(state.font->logfont);
  if (!state.realised) return false;
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (!state.font->font) state.font->font = state.realised;
  return true;
}

std::string_view TextOf(LPCSTR text, int length) {
  if (!text || length <= 0) return {};
  return std::string_view(text, static_cast<size_t>(length));
}

} // namespace
} // namespace platform::gdi

using namespace platform::gdi;

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  if (length < 0 || (!text && length > 0)) return FALSE;
  TextState state;
  if (!GetTextState(hdc, state)) return FALSE;
  std::string_view s = TextOf(text, length);
  if (state.printer)
    return state.printer->TextOut(x, y, s, state.font->logfont, state.colour, state.opaque,
                                  state.back)
               ? TRUE
               : FALSE;
  Canvas c(hdc);
  if (!c.Ok()) return TRUE;
  const auto &v = c.View();
  RECT clip{0, 0, v.width, v.height};
  RECT touched = platform::font::Draw(*state.realised, v, clip, x, y, s, state.colour, state.opaque,
                                      state.back);
  c.Touch(touched);
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA *metrics) {
  if (!metrics) return FALSE;
  TextState state;
  if (!GetTextState(hdc, state)) return FALSE;
  platform::font::GetMetrics(*state.realised, *metrics);
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, SIZE *size) {
  if (!size || length < 0 || (!text && length > 0)) return FALSE;
  TextState state;
  if (!GetTextState(hdc, state)) return FALSE;
  *size = platform::font::Extent(*state.realised, TextOf(text, length));
  return TRUE;
}
