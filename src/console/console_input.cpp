#include "console/console_input.h"

#include <vector>

#include "console/keyboard_state.h"
#include "console/print.h"
#include "data/assignment.h"
#include "data/variables.h"
#include "expr/number_text.h"
#include "files/error_watch.h"
#include "platform/input_feeder.h"
#include "platform/winuser_window.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/message_queue.h"
#include "windows/user_window.h"

namespace {

// "不正な入力です" in code page 932: a typed line with the wrong number of fields.
constexpr const char *kInvalidInput = "\x95\x73\x90\xb3\x82\xc8\x93\xfc\x97\xcd\x82\xc5\x82\xb7";
constexpr const char *kWarningCaption = "Warning";

// Prints the prompt: "? " alone, the prompt and " ? " (separator ";"), or
// the prompt alone (","). False when printing reported an error.
bool PrintPrompt(const std::string &prompt, char separator) {
  ErrorWatch watch;
  if (separator == ';') {
    PrintText(prompt + ";\"? \";", false);
  } else if (separator == ',') {
    PrintText(prompt + ";", false);
  } else {
    PrintText("\"? \";", false);
  }
  return !watch.Raised() && E().running.load();
}

// The first ";" or "," outside quotes; npos when there is none.
size_t PromptEnd(const std::string &text) {
  bool inQuotes = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes && (c == ';' || c == ',')) return i;
  }
  return std::string::npos;
}

// Cuts the typed line at every comma: quotes do not protect commas here.
std::vector<std::string> Fields(const std::string &line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

// Cuts the variable list at the commas outside parentheses.
std::vector<std::string> Variables(const std::string &list) {
  std::vector<std::string> names(1);
  int depth = 0;
  bool inQuotes = false;
  for (char c : list) {
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes) {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (c == ',' && depth == 0) {
        names.emplace_back();
        continue;
      }
    }
    names.back().push_back(c);
  }
  return names;
}

// Ends the wait's state whether the wait ended with Enter or at program end.
class InputSession {
public:
  InputSession() : window_(E().windows.Current()), console_(E().windows.Console(window_)) {}
  ~InputSession() {
    KeyboardState &k = E().keyboard;
    k.inputMode.store(0);
    k.inputWindow.store(0);
    if (console_) console_->caretEnabled.store(0);
    k.lastKey.store(0);
    platform::NotifyInputFeeder();
  }
  HWND Window() const { return window_; }
  ConsoleBuffer *Console() const { return console_.get(); }

private:
  HWND window_;
  std::shared_ptr<ConsoleBuffer> console_;
};

// A console input in a user window takes the keyboard focus for it, so that
// what is typed at the screen reaches its line editor; the main window's
// input takes the focus back from a text window but leaves a focused
// control or graphics window alone.
void TakeFocusFor(HWND window) {
  HWND focus = GetFocus();
  if (focus == window) return;
  if (window == E().mainWindow &&
      (!focus || !EqualsNoCase(platform::ClassNameOf(focus), kPromptClass)))
    return;
  SetFocus(window);
}

} // namespace

std::string WaitForTypedLine(ThreadIndex slot) {
  Engine &e = E();
  KeyboardState &k = e.keyboard;
  InputSession session;
  HWND window = session.Window();
  // A window of this thread gets its keys only while the thread handles
  // its messages, so the wait does that.
  const bool own =
      IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
  TakeFocusFor(window);
  if (session.Console()) session.Console()->caretEnabled.store(1);
  SendMessageA(window, WM_SETFOCUS, 0, 0);
  k.inputLength.store(0);
  k.inputWindow.store(window);
  k.inputMode.store(1);
  platform::NotifyInputFeeder();
  if (own) {
    HandleMessagesUntil(slot, [&k] { return k.inputMode.load() != 1; });
  } else {
    BlockingWait(slot, [&k] { return k.inputMode.load() != 1; });
  }
  if (session.Console()) session.Console()->caretEnabled.store(0);
  k.lastKey.store(0);
  SendMessageA(window, WM_KILLFOCUS, 0, 0);
  return k.inputLine.Text();
}

void ConsoleInput(const std::string &text, ThreadIndex slot) {
  Engine &e = E();
  KeyboardState &k = e.keyboard;
  std::string prompt;
  char separator = 0;
  std::string list = text;
  if (text.find('"') != std::string::npos) {
    size_t end = PromptEnd(text);
    if (end == std::string::npos) {
      RuntimeError();
      return;
    }
    prompt = text.substr(0, end);
    separator = text[end];
    list = text.substr(end + 1);
  }
  std::vector<std::string> names = Variables(list);
  for (;;) {
    k.inputLine.Clear();
    if (!PrintPrompt(prompt, separator)) return;
    std::vector<std::string> fields = Fields(WaitForTypedLine(slot));
    if (fields.size() != names.size()) {
      MessageBoxA(e.windows.Current(), kInvalidInput, kWarningCaption, MB_ICONINFORMATION);
      continue;
    }
    for (size_t i = 0; i < names.size(); ++i) {
      ErrorWatch watch;
      if (KindOf(names[i]) == kString) {
        SetString(names[i], fields[i]);
      } else {
        SetNumeric(names[i], num::Atof(fields[i]));
      }
      if (watch.Raised() || !e.running.load()) break;
    }
    k.inputLine.Clear();
    return;
  }
}

void ConsoleLineInput(const std::string &text, ThreadIndex slot) {
  Engine &e = E();
  KeyboardState &k = e.keyboard;
  std::string prompt;
  char separator = 0;
  std::string variable = text;
  if (!text.empty() && text[0] == '"') {
    size_t close = text.find('"', 1);
    if (close == std::string::npos || close + 1 >= text.size() ||
        (text[close + 1] != ';' && text[close + 1] != ',')) {
      RuntimeError();
      return;
    }
    prompt = text.substr(0, close + 1);
    separator = text[close + 1];
    variable = text.substr(close + 2);
  }
  k.inputLine.Clear();
  if (!PrintPrompt(prompt, separator)) return;
  std::string statement = variable + "=\"" + WaitForTypedLine(slot) + "\"";
  k.inputLine.Clear();
  if (e.running.load()) Assign(statement);
}
