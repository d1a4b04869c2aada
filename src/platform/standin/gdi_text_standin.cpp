// Stand-in for the GDI's text calls while the tree's GDI has none yet
// (src/CMakeLists.txt builds it only then): metrics and extents of the
// selected font for every context, text output for printer contexts.
#include "platform/font.h"
#include "platform/gdi_internal.h"

namespace {

using namespace platform::gdi;

struct TextState {
  bool valid = false;
  LOGFONTA font;
  DeviceContext *dc = nullptr;
  COLORREF colour = 0, back = 0xFFFFFF;
  bool opaque = true;
};

// Looked up with the table mutex held.
TextState StateOf(HDC hdc) {
  TextState s;
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, hdc);
  if (!dc) return s;
  s.valid = true;
  s.dc = dc;
  if (dc->fontData)
    s.font = dc->fontData->logfont;
  else
    s.font.lfHeight = -16;
  s.colour = dc->textColour;
  s.back = dc->bkColour;
  s.opaque = dc->bkMode == OPAQUE;
  return s;
}

} // namespace

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  if (!text || length < 0) return FALSE;
  TextState s = StateOf(hdc);
  if (!s.valid || s.dc->kind != DeviceKind::kPrinter || !s.dc->printer) return FALSE;
  return s.dc->printer->TextOut(x, y, std::string_view(text, length), s.font, s.colour, s.opaque,
                                s.back)
             ? TRUE
             : FALSE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA *metrics) {
  TextState s = StateOf(hdc);
  if (!s.valid || !metrics) return FALSE;
  platform::font::GetMetrics(*platform::font::Realize(s.font), *metrics);
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, SIZE *size) {
  TextState s = StateOf(hdc);
  if (!s.valid || !size || !text || length < 0) return FALSE;
  *size = platform::font::Extent(*platform::font::Realize(s.font), std::string_view(text, length));
  return TRUE;
}
