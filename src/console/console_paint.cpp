#include "console/console_paint.h"

#include <algorithm>
#include <limits>

#include "console/console.h"
#include "console/console_layout.h"
#include "graphics/surface.h"
#include "runtime/engine.h"

namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Draws one cell into DC: its text in its colours, or the surface behind a
// transparent blank. A two-byte cell takes the colours of its second byte.
void DrawCell(HWND window, HDC dc, const ConsoleBuffer &buffer, const ConsoleCell &cell,
              const ConsoleMetrics &metrics) {
  if (cell.transparentBlank) {
    CopySurface(window, dc, cell.x, cell.y, metrics.cellWidth, metrics.cellHeight);
    return;
  }
  const int32_t colours = cell.index + cell.bytes - 1;
  SetTextColor(dc, buffer.Foreground(colours));
  const uint32_t back = buffer.Background(colours);
  if (back == kTransparentColour) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, back);
  }
  char bytes[2] = {static_cast<char>(buffer.At(cell.index)),
                   static_cast<char>(buffer.At(cell.index + 1))};
  TextOutA(dc, cell.x, cell.y, bytes, cell.bytes);
}

// A window context with the console font selected, for one paint.
class ConsoleDC {
public:
  ConsoleDC(HWND window, HDC dc) : window_(window), dc_(dc), owned_(dc == 0) {
    if (owned_) dc_ = GetDC(window);
    HFONT font = E().consoleFontState.handle.load();
    if (dc_ && font) old_ = SelectObject(dc_, font);
  }
  ~ConsoleDC() {
    if (dc_ && old_) SelectObject(dc_, old_);
    if (dc_ && owned_) ReleaseDC(window_, dc_);
  }
  ConsoleDC(const ConsoleDC &) = delete;
  ConsoleDC &operator=(const ConsoleDC &) = delete;
  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
  bool owned_;
  HGDIOBJ old_ = 0;
};

} // namespace

CaretHold::CaretHold(HWND window, const ConsoleBuffer &buffer)
    : window_(window), hidden_(buffer.caretEnabled.load() != 0 && GetForegroundWindow() == window) {
  if (hidden_) SendMessageA(window_, WM_KILLFOCUS, 0, 0);
}

CaretHold::~CaretHold() {
  if (hidden_) SendMessageA(window_, WM_SETFOCUS, 0, 0);
}

void PaintLocked(HWND window, ConsoleBuffer &buffer, int32_t count, int32_t start) {
  // A minimised window reports an empty client area: keep the last real one.
  RECT client;
  if (GetClientRect(window, &client) && client.right > client.left && client.bottom > client.top)
    buffer.clientRect = client;
  else
    client = buffer.clientRect;

  const Engine &e = E();
  const ConsoleMetrics metrics = CurrentConsoleMetrics();
  const int32_t maxColumns = e.consoleColumnLimit;
  const int32_t maxRows = e.consoleLineLimit;
  int64_t first = start;
  int64_t last = static_cast<int64_t>(start) + count; // exclusive
  ConsoleLayout layout;
  ConsoleDC dc(window, 0);
  for (;;) {
    layout = LayoutConsole(buffer, metrics, client.right, maxColumns, [&](const ConsoleCell &cell) {
      if (dc.Get() && (count == 0 || (cell.index >= first && cell.index < last)))
        DrawCell(window, dc.Get(), buffer, cell, metrics);
    });
    bool fits = layout.height <= client.bottom && layout.rows <= maxRows;
    if (fits || buffer.Length() == 0) break;
    // Drop the first logical line (the whole text when it has no line
    // feed), put the cursor at the end and draw everything again.
    int32_t feed = buffer.FindLineFeed(0);
    buffer.Erase(0, feed < 0 ? buffer.Length() : feed + 1);
    buffer.cursor = buffer.Length();
    PresentSurface(window);
    count = 0;
  }
  if (layout.caretFound) {
    buffer.caretX = Clamp32(layout.caretX);
    buffer.caretY = Clamp32(layout.caretY);
  }
  buffer.compositionForm.style = kCfsPoint;
  buffer.compositionForm.point.x = buffer.caretX;
  buffer.compositionForm.point.y =
      Clamp32(static_cast<int64_t>(buffer.caretY) - metrics.fontHeight + metrics.externalLeading);
}

void ConsolePaint(HWND window, int32_t count, int32_t start) {
  std::shared_ptr<ConsoleBuffer> buffer = E().windows.Console(window);
  if (!buffer) return;
  CaretHold hold(window, *buffer);
  std::lock_guard<std::mutex> lock(buffer->mutex);
  PaintLocked(window, *buffer, count, start);
}

void DrawConsoleLayer(HWND window, HDC dc) {
  std::shared_ptr<ConsoleBuffer> buffer = E().windows.Console(window);
  if (!buffer || !dc) return;
  std::lock_guard<std::mutex> lock(buffer->mutex);
  const Engine &e = E();
  const ConsoleMetrics metrics = CurrentConsoleMetrics();
  ConsoleDC target(window, dc);
  LayoutConsole(*buffer, metrics, buffer->clientRect.right, e.consoleColumnLimit,
                [&](const ConsoleCell &cell) { DrawCell(window, dc, *buffer, cell, metrics); });
}

void ConsoleRefresh(HWND window, bool fromPaint) {
  PresentSurface(window);
  ConsolePaint(window, 0, 0);
  if (fromPaint) ValidateRect(window, nullptr);
}
