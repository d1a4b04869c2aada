// Timings of the font layer:
//  - a console repaint: a full 8192-byte text layer drawn cell by cell (one
//    or two bytes per Draw, each cell with its opaque background), as the
//    console paints;
//  - 1,000 GPRINT-style draws of a 20-character Japanese string, realising
//    the font from its LOGFONT each time.
// Times are processor time of the benchmark's thread.
// bench_fonts --show TEXT [HEIGHT] prints TEXT (code page 932 bytes, given
// as UTF-8) as character art instead.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <time.h>
#include <vector>

#include "platform/cp932.h"
#include "platform/font.h"

using namespace platform;
using namespace platform::font;

// The thread's processor time: the machine is shared, so wall time mostly
// measures the other processes.
struct Clock {
  using duration = std::chrono::nanoseconds;
  static std::chrono::time_point<Clock, duration> now() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::chrono::time_point<Clock, duration>(
        duration(static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec));
  }
};

namespace {

LOGFONTA ConsoleLogfont(LONG height) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strcpy(lf.lfFaceName, "MS Gothic");
  return lf;
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int Show(const char *utf8, LONG height) {
  auto font = Realize(ConsoleLogfont(height));
  std::string text = cp932::FromUtf8(utf8);
  SIZE size = Extent(*font, text);
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy, 0xFFFFFF);
  PixelView view{pixels.data(), size.cx, size.cy, size.cx};
  Draw(*font, view, {0, 0, size.cx, size.cy}, 0, 0, text, 0, false, 0);
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) std::putchar(view.Row(y)[x] == 0xFFFFFF ? '.' : '#');
    std::putchar('\n');
  }
  return 0;
}

// The console: an 8192-byte text layer made of WORDS, laid out in cells of
// the width of a blank on an 80-column screen and drawn cell by cell with
// opaque backgrounds, the first time with an empty glyph cache, then many
// times more.
void Repaint(const Font &font, const char *what, const std::string &words) {
  TEXTMETRICA tm;
  GetMetrics(font, tm);
  std::string layer;
  while (layer.size() < 8192) layer += words;
  layer.resize(8192);
  if (cp932::IsLeadByte(static_cast<uint8_t>(layer.back()))) layer.back() = ' ';
  struct Cell {
    int x, y;
    std::string_view bytes;
  };
  std::vector<Cell> cells;
  int cw = Extent(font, " ").cx, ch = tm.tmHeight + tm.tmExternalLeading;
  int column = 0, row = 0;
  for (size_t i = 0; i < layer.size();) {
    size_t n = cp932::IsLeadByte(static_cast<uint8_t>(layer[i])) && i + 1 < layer.size() ? 2 : 1;
    if (column + static_cast<int>(n) > 80) {
      column = 0;
      ++row;
    }
    cells.push_back({column * cw, row * ch, std::string_view(layer).substr(i, n)});
    column += static_cast<int>(n);
    i += n;
  }
  int width = 80 * cw, height = (row + 1) * ch;
  std::vector<uint32_t> screen(static_cast<size_t>(width) * height, 0);
  PixelView view{screen.data(), width, height, width};
  RECT clip{0, 0, width, height};
  auto repaint = [&] {
    for (size_t i = 0; i < cells.size(); ++i)
      Draw(font, view, clip, cells[i].x, cells[i].y, cells[i].bytes,
           i % 7 ? RGB(255, 255, 255) : RGB(255, 255, 0), true, RGB(0, 0, 0));
  };
  ClearGlyphCache();
  auto t0 = Clock::now();
  repaint();
  double cold = Ms(Clock::now() - t0);
  uint64_t rendered = GlyphsRendered();
  constexpr int Repaints = 200;
  double best = 1e9, sum = 0;
  for (int i = 0; i < Repaints; ++i) {
    t0 = Clock::now();
    repaint();
    double ms = Ms(Clock::now() - t0);
    best = std::min(best, ms);
    sum += ms;
  }
  std::printf("console repaint, 8192 bytes of %s in %zu cell draws: best %.3f ms, mean %.3f ms"
              " (first, cold cache: %.3f ms; glyphs rendered by later repaints: %llu)\n",
              what, cells.size(), best, sum / Repaints, cold,
              static_cast<unsigned long long>(GlyphsRendered() - rendered));
}

} // namespace

int main(int argc, char **argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--show") == 0)
    return Show(argv[2], argc >= 4 ? std::atoi(argv[3]) : -16);

  auto font = Realize(ConsoleLogfont(-16));
  Repaint(*font, "mixed text", cp932::FromUtf8("Quillrunner 日本語のテキスト ｶﾀｶﾅ 123 "));
  Repaint(*font, "ASCII", "The quick brown fox jumps over the lazy dog 0123456789. ");

  // GPRINT: a font made from its LOGFONT and a 20-character string drawn
  // transparently on a 1024 x 768 surface, 1,000 times.
  std::vector<uint32_t> surface(1024 * 768, 0xFFFFFF);
  PixelView surfaceView{surface.data(), 1024, 768, 1024};
  const std::string text = cp932::FromUtf8("日本語の文字列を二十文字描画する速度測定");
  constexpr int Draws = 1000;
  auto t0 = Clock::now();
  for (int i = 0; i < Draws; ++i) {
    LOGFONTA lf = ConsoleLogfont(-24);
    auto f = Realize(lf);
    Draw(*f, surfaceView, {0, 0, 1024, 768}, (i * 37) % 600, (i * 53) % 700, text, RGB(0, 0, 128),
         false, 0);
  }
  double total = Ms(Clock::now() - t0);
  std::printf("GPRINT, %d draws of a 20-character Japanese string at 24 px: %.3f ms in all"
              " (%.1f us each)\n",
              Draws, total, total * 1000 / Draws);
  return 0;
}
