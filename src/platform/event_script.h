// Scripted input: the events file (QUILLRUNNER_EVENTS) and typed bytes
// (stdin) turned into the window messages a keyboard and a mouse would
// produce. Only parsing and decoding here; input_feeder delivers them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32.h"

namespace platform {

struct InputMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct ScriptEvent {
  enum class Kind {
    kKey,       // messages of one key (a character, Enter, an arrow...)
    kMouse,     // mouse messages
    kKeyState,  // a key held down or let go: state and message
    kAnswer,    // the answer for the next message box
    kWaitTime,  // a pause
    kWaitInput, // until the program waits for input
    kPrintSetup, // the answer for the next print setup dialog
    kMenu,      // a menu item chosen (pop-up menu or menu bar)
    kClose,     // the close box of a top-level window
    kClickWindow, // a click on a control (or window) found by identifier or text
    kPickItem,  // a click on item INDEX of a list box or combo box
  };
  Kind kind = Kind::kKey;
  // kKey: offered only when the program wants a key and has taken the
  // previous one; false delivers at once (function keys, "now").
  bool paced = true;
  std::vector<InputMessage> messages;
  int virtualKey = 0;   // kKeyState
  bool down = false;    // kKeyState
  int answer = 0;       // kAnswer: IDOK, IDYES...
  int milliseconds = 0; // kWaitTime
  bool cancel = false;  // kPrintSetup: cancel the dialog
  std::string printer;  // kPrintSetup: the printer to choose (UTF-8), empty: the default
  // Whether the key ends a line (Enter): stdin's last line needs one.
  bool endsLine = false;
  // kMenu: the item's identifier; kPickItem: the item's index.
  int number = 0;
  // kClose: the caption (empty: the foreground window). kClickWindow and
  // kPickItem: the window's text, or its identifier when BY_ID. Code page 932.
  std::string target;
  bool byId = false;
  int id = 0;
};

// Reads the text of an events file. Bad lines are skipped, each with a
// message "line N: ..." in ERRORS.
std::vector<ScriptEvent> ParseEventScript(std::string_view text, std::vector<std::string> &errors);

// The key events of one code page 932 character (one or two bytes); a lead
// byte alone gives one message.
ScriptEvent CharacterKey(std::string_view bytes);
// Enter, Backspace and the arrow keys as a keyboard sends them.
ScriptEvent NamedKey(int virtualKey);

// Turns typed bytes into key events: LF, CR and CR LF are Enter, BS is
// Backspace, UTF-8 text becomes code page 932 characters (RAW_CP932: the
// bytes are code page 932 already).
class KeyDecoder {
public:
  explicit KeyDecoder(bool rawCp932) : raw_(rawCp932) {}
  // Adds one byte; the events completed by it go to OUT.
  void Push(uint8_t byte, std::vector<ScriptEvent> &out);
  // The end of the input: an unfinished character is typed as "?".
  void Finish(std::vector<ScriptEvent> &out);

private:
  bool raw_;
  bool afterCr_ = false;
  std::string pending_; // an unfinished character
  size_t need_ = 0;     // its full length
};

} // namespace platform
