// The clipboard of a display with a desktop: text goes to and comes from
// the desktop's clipboard (so other programs see it); other formats stay
// within the process.
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/display_sdl.h"
#include "platform/winbase_memory.h"

namespace platform {
namespace {

class DesktopClipboard final : public ClipboardBackend {
public:
  std::vector<UINT> Formats() override {
    std::vector<UINT> out;
    std::string text;
    if (Display().GetClipboardText(text) && !text.empty()) out.push_back(CF_TEXT);
    for (auto &[format, bytes] : others_) out.push_back(format);
    return out;
  }

  std::optional<std::string> Get(UINT format) override {
    if (format == CF_TEXT) {
      std::string text;
      if (Display().GetClipboardText(text) && !text.empty()) return text;
      return std::nullopt;
    }
    for (auto &[f, bytes] : others_)
      if (f == format) return bytes;
    return std::nullopt;
  }

  void Set(UINT format, const std::string &bytes) override {
    if (format == CF_TEXT) {
      Display().SetClipboardText(bytes);
      return;
    }
    for (auto &[f, b] : others_)
      if (f == format) {
        b = bytes;
        return;
      }
    others_.emplace_back(format, bytes);
  }

  void Empty() override {
    others_.clear();
    Display().SetClipboardText("");
  }

private:
  std::vector<std::pair<UINT, std::string>> others_;
};

} // namespace

std::unique_ptr<ClipboardBackend> MakeDesktopClipboard() {
  return std::make_unique<DesktopClipboard>();
}

} // namespace platform
