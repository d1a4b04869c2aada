// GPRINT: text drawn at a pixel position in a font made from the console
// font and the statement's arguments.

#include <cstring>

#include "expr/eval.h"
#include "expr/string_text.h"
#include "files/error_watch.h"
#include "graphics/colour.h"
#include "graphics/drawing_statements.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

struct Word {
  const char *text;
  int value;
};

// The value of WORD in TABLE (compared without regard to case, written
// bare or as a string literal), or -1.
template <size_t N> int Lookup(const Word (&table)[N], std::string_view word) {
  if (word.size() >= 2 && word.front() == '"' && word.back() == '"')
    word = word.substr(1, word.size() - 2);
  for (const Word &w : table)
    if (EqualsNoCase(word, w.text)) return w.value;
  return -1;
}

constexpr Word kStyles[] = {{"italic", 1}, {"bold", 2}, {"allset", 3}};
constexpr Word kCharsets[] = {{"ansi", ANSI_CHARSET},
                              {"default", DEFAULT_CHARSET},
                              {"shiftjis", SHIFTJIS_CHARSET},
                              {"oem", OEM_CHARSET}};

} // namespace

void GPRINT(std::string &arg, ThreadIndex) {
  const Engine &e = E();
  std::string text = StripBlanks(arg);
  std::vector<std::string> args = gfx::SplitArguments(text);
  if (args.size() < 3 || args.size() > 10 || args[0].empty() || args[1].empty() ||
      args[2].empty()) {
    RuntimeError();
    return;
  }
  LOGFONTA font;
  const LOGFONTA &console = e.consoleFont;
  font.lfHeight = console.lfHeight;
  font.lfEscapement = console.lfEscapement;
  font.lfOrientation = console.lfOrientation;
  font.lfOutPrecision = console.lfOutPrecision;
  font.lfClipPrecision = console.lfClipPrecision;
  font.lfQuality = console.lfQuality;
  font.lfPitchAndFamily = console.lfPitchAndFamily;
  std::memcpy(font.lfFaceName, console.lfFaceName, sizeof font.lfFaceName);
  font.lfFaceName[LF_FACESIZE - 1] = 0;
  font.lfCharSet = DEFAULT_CHARSET;
  COLORREF colour = 0xFFFFFF;
  bool transparent = true;
  COLORREF back = 0;

  ErrorWatch watch;
  const int32_t x = gfx::EvalInt(args[0]), y = gfx::EvalInt(args[1]);
  std::string value = DecodeString(EvalString(args[2]), false);
  auto has = [&](size_t i) { return args.size() > i; };
  if (has(3) && !args[3].empty()) colour = ColourOf(gfx::EvalInt(args[3]));
  if (has(4) && !args[4].empty()) {
    int32_t n = gfx::EvalInt(args[4]);
    transparent = n == -1;
    back = ColourOf(n);
  }
  if (has(5) && !args[5].empty()) {
    int32_t height = gfx::EvalInt(args[5]);
    if (height != -1) font.lfHeight = height;
  }
  if (has(6) && !args[6].empty()) font.lfWidth = gfx::EvalInt(args[6]);
  if (has(7) && !args[7].empty()) {
    std::string face = DecodeString(EvalString(args[7]), true);
    face.resize(std::strlen(face.c_str()));
    if (!face.empty()) {
      // The face name field holds 31 bytes and its terminator.
      face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
      std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
      std::memcpy(font.lfFaceName, face.data(), face.size());
    }
  }
  if (watch.Raised()) return;
  if (has(8) && !args[8].empty()) {
    int style = Lookup(kStyles, args[8]);
    if (style < 0) {
      RuntimeError();
      return;
    }
    if (style & 1) font.lfItalic = 1;
    if (style & 2) font.lfWeight = FW_BOLD;
  }
  if (has(9)) {
    int charset = Lookup(kCharsets, args[9]);
    if (charset < 0) {
      RuntimeError();
      return;
    }
    font.lfCharSet = static_cast<BYTE>(charset);
  }
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  HFONT handle = CreateFontIndirectA(&font);
  DrawTwice(target, true, [&](HDC dc) {
    HGDIOBJ old = SelectObject(dc, handle);
    SetTextColor(dc, colour);
    if (transparent) {
      SetBkMode(dc, TRANSPARENT);
    } else {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, back);
    }
    TextOutA(dc, x, y, value.data(), static_cast<int>(value.size()));
    SelectObject(dc, old);
  });
  DeleteObject(handle);
}
