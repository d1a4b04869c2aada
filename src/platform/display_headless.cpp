// The driver without a display: windows exist only as state in the window
// manager, message boxes are one line on stderr each.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/cp932.h"
#include "platform/display.h"

namespace platform {
namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;
constexpr long kMaxScreenSide = 16384;

// Reads "WxH" (decimal, both sides 1 to 16384); false for anything else.
bool ParseScreenSize(const char *text, int &width, int &height) {
  if (!text) return false;
  long sides[2];
  const char *p = text;
  for (int i = 0; i < 2; ++i) {
    if (*p < '0' || *p > '9') return false;
    long v = 0;
    while (*p >= '0' && *p <= '9') {
      v = v * 10 + (*p++ - '0');
      if (v > kMaxScreenSide) return false;
    }
    if (v < 1) return false;
    sides[i] = v;
    if (i == 0) {
      if (*p != 'x' && *p != 'X') return false;
      ++p;
    }
  }
  if (*p) return false;
  width = static_cast<int>(sides[0]);
  height = static_cast<int>(sides[1]);
  return true;
}

// CR LF, CR and LF each become one blank so that a box stays one line.
std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

class HeadlessDisplay final : public DisplayDriver {
public:
  HeadlessDisplay() {
    if (!ParseScreenSize(std::getenv("QUILLRUNNER_SCREEN"), width_, height_)) {
      width_ = kDefaultWidth;
      height_ = kDefaultHeight;
    }
    const char *enc = std::getenv("QUILLRUNNER_ENCODING");
    rawCp932_ = enc && std::strcmp(enc, "cp932") == 0;
  }

  const char *Name() const override { return "headless"; }
  bool IsHeadless() const override { return true; }
  int ScreenWidth() const override { return width_; }
  int ScreenHeight() const override { return height_; }

  int MessageBox(HWND, std::string_view text, std::string_view caption, UINT, int answer) override {
    std::string line = Encode(OneLine(caption)) + ": " + Encode(OneLine(text)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return answer;
  }

private:
  std::string Encode(const std::string &text) const {
    return rawCp932_ ? text : cp932::ToUtf8(text);
  }

  int width_ = kDefaultWidth;
  int height_ = kDefaultHeight;
  bool rawCp932_ = false;
};

} // namespace

std::unique_ptr<DisplayDriver> MakeHeadlessDisplay() {
  return std::make_unique<HeadlessDisplay>();
}

} // namespace platform
