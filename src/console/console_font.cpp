#include "console/console_font.h"

#include <algorithm>
#include <cstdlib>

#include "runtime/engine.h"

namespace {

// The cell of a font that cannot be measured: as high as the LOGFONT's
// height (16 when it is 0) and half as wide.
ConsoleMetrics FallbackMetrics() {
  int64_t height = std::llabs(static_cast<int64_t>(E().consoleFont.lfHeight));
  if (height == 0) height = 16;
  height = std::min<int64_t>(height, 4096); // a payload's absurd height stays drawable
  ConsoleMetrics m;
  m.cellHeight = static_cast<int32_t>(height);
  m.cellWidth = std::max<int32_t>(1, m.cellHeight / 2);
  m.fontHeight = m.cellHeight;
  m.externalLeading = 0;
  m.lineHeight = m.fontHeight + m.externalLeading;
  return m;
}

} // namespace

void CreateConsoleFont() {
  Engine &e = E();
  HFONT font = CreateFontIndirectA(&e.consoleFont);
  ConsoleMetrics m = FallbackMetrics();
  if (font) {
    HDC dc = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    SIZE blank;
    if (GetTextMetricsA(dc, &tm) && GetTextExtentPoint32A(dc, " ", 1, &blank)) {
      // Keep the layout drawable whatever the payload asked for.
      m.fontHeight = std::clamp<int32_t>(tm.tmHeight, 1, 4096);
      m.externalLeading = std::clamp<int32_t>(tm.tmExternalLeading, 0, 4096);
      m.lineHeight = m.fontHeight + m.externalLeading;
      m.cellWidth = std::clamp<int32_t>(blank.cx, 1, 4096);
      m.cellHeight = std::clamp<int32_t>(blank.cy, 1, 4096);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  {
    std::lock_guard<std::mutex> lock(e.consoleFontState.mutex);
    e.consoleFontState.metrics = m;
    e.consoleFontState.measured = true;
  }
  e.consoleFontState.handle.store(font);
}

ConsoleMetrics CurrentConsoleMetrics() {
  Engine &e = E();
  {
    std::lock_guard<std::mutex> lock(e.consoleFontState.mutex);
    if (e.consoleFontState.measured) return e.consoleFontState.metrics;
  }
  return FallbackMetrics();
}
