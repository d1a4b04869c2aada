#include "graphics/surface_statements.h"

#include "console/console.h"
#include "console/console_buffer.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "graphics/colour.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

void CLS(std::string &arg, ThreadIndex) {
  Engine &e = E();
  int32_t mode = StripBlanks(arg).empty() ? 1 : num::TruncInt32(EvalNumeric(arg));
  const HWND window = e.windows.Current();
  if (mode == 1 || mode == 3) {
    std::shared_ptr<ConsoleBuffer> buffer = e.windows.Console(window);
    if (buffer) {
      // An input waiting on this window loses its caret.
      if (buffer->caretEnabled.load() && GetForegroundWindow() == window)
        SendMessageA(window, WM_KILLFOCUS, 0, 0);
      std::lock_guard<std::mutex> lock(buffer->mutex);
      buffer->Clear();
    }
  }
  // Modes 2 and 3 fill the surface (black for the main window and PROMPT
  // windows, white otherwise) and every mode presents it, once surfaces
  // exist. The text is then drawn again over it.
  ConsoleWrite("");
}

void COLOR(std::string &arg, ThreadIndex) {
  Engine &e = E();
  std::string first;
  size_t next = NextArgument(arg, 0, first);
  e.foreground = ColourOf(num::TruncInt32(EvalNumeric(first)));
  if (next == first.size()) return; // no background given
  std::string second;
  size_t after = NextArgument(arg, next, second);
  if (after - next > second.size()) { // a comma after the background
    RuntimeError();
    return;
  }
  int32_t n = num::TruncInt32(EvalNumeric(second));
  e.background = n == -1 ? kTransparentColour : ColourOf(n);
}
