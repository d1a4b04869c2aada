#include "files/input_statements.h"

#include <cctype>

#include "console/console_input.h"
#include "files/channels.h"
#include "graphics/drawing_statements.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

namespace {

// Whether ARG starts with the word "input" (any case) followed by a blank,
// a TAB or a double quote.
bool StartsWithInput(const std::string &arg) {
  if (arg.size() < 6) return false;
  for (size_t i = 0; i < 5; ++i)
    if (std::tolower(static_cast<unsigned char>(arg[i])) != "input"[i]) return false;
  return arg[5] == ' ' || arg[5] == '\t' || arg[5] == '"';
}

} // namespace

void INPUT(std::string &arg, ThreadIndex slot) {
  std::string text = StripBlanks(arg);
  if (text.empty() || text[0] != '#') {
    ConsoleInput(text, slot);
    return;
  }
  ChannelInput(text, false, slot);
}

void LINE(std::string &arg, ThreadIndex slot) {
  if (!StartsWithInput(arg)) {
    GraphicsLine(arg);
    return;
  }
  std::string text = StripBlanks(arg.substr(5));
  if (text.empty() || text[0] != '#') {
    ConsoleLineInput(text, slot);
    return;
  }
  ChannelInput(text, true, slot);
}
