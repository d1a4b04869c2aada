// The display driver: what the window manager asks of the screen. The window
// manager keeps all window state itself and tells the driver what changed;
// the driver presents it (or, headless, presents nothing). Calls come from
// any thread and never with the window manager's lock held, so a driver may
// call back into the Win32 functions (to post input messages, for example).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/modal_dialog.h"
#include "platform/win32.h"

namespace platform {

class DisplayDriver {
public:
  virtual ~DisplayDriver() = default;

  // "headless", "sdl", ...
  virtual const char *Name() const = 0;
  // True when nothing is shown: message boxes go to stderr.
  virtual bool IsHeadless() const = 0;
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;

  virtual void WindowCreated(HWND /*hwnd*/, HWND /*parent*/, const RECT & /*rect*/) {}
  virtual void WindowDestroyed(HWND /*hwnd*/) {}
  virtual void WindowShown(HWND /*hwnd*/, bool /*visible*/) {}
  virtual void WindowInvalidated(HWND /*hwnd*/, const RECT & /*rect*/) {}
  virtual void WindowTextChanged(HWND /*hwnd*/, std::string_view /*text*/) {}
  virtual void WindowToForeground(HWND /*hwnd*/) {}
  // The ShowWindow command of a shown window (SW_SHOW, SW_MINIMIZE,
  // SW_RESTORE...); maximising arrives as WindowMoved.
  virtual void WindowShowState(HWND /*hwnd*/, int /*cmd*/) {}
  // The window's rectangle on the screen changed (MoveWindow, maximising).
  virtual void WindowMoved(HWND /*hwnd*/, const RECT & /*screenRect*/) {}
  // The window's menu bar changed (items, or another bar).
  virtual void MenuBarChanged(HWND /*hwnd*/) {}
  // A pop-up menu is shown at screen point (x, y) for OWNER, or hidden
  // again (MENU 0).
  virtual void PopupMenuShown(HMENU /*menu*/, HWND /*owner*/, int /*x*/, int /*y*/) {}

  // The desktop's clipboard as text (code page 932), used through the
  // clipboard backend the driver comes with; false without one.
  virtual bool SetClipboardText(std::string_view /*text*/) { return false; }
  virtual bool GetClipboardText(std::string & /*text*/) { return false; }

  // Presents a message box. TEXT and CAPTION are code page 932. ANSWER is
  // the button already chosen (the default button, or a scripted answer);
  // an interactive driver may ask the user instead. Returns the button.
  virtual int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type,
                         int answer) = 0;
  virtual void Beep(UINT /*type*/) {}
  // Shows the dialog MAKE builds, modal to OWNER's top-level window, and
  // returns its answer; FALLBACK when no dialog can be shown (headless) or
  // the program ends while it is open.
  virtual int RunDialog(HWND /*owner*/, ModalDialogFactory /*make*/, int fallback) {
    return fallback;
  }
};

// The driver in use (headless until Initialize chooses another).
DisplayDriver &Display();
// Replaces the driver. The previous one is kept alive, because other threads
// may still be inside one of its calls.
void SetDisplayDriver(std::unique_ptr<DisplayDriver> driver);

// The driver without a display.
std::unique_ptr<DisplayDriver> MakeHeadlessDisplay();

} // namespace platform
