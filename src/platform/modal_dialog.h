// The dialogs an on-screen display shows on its own (the message box, the
// print setup): each is a model of its layout, input rules and picture,
// independent of the window system. A display driver shows the picture in a
// borderless window of the dialog's size, modal to its owner, and feeds it
// the input until it answers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/pixels.h"
#include "platform/win32.h"

namespace platform {

// How a dialog measures and draws its text (code page 932).
class DialogText {
public:
  virtual ~DialogText() = default;
  virtual int LineHeight() const = 0;
  virtual int Width(std::string_view text) const = 0;
  // Draws TEXT with the top-left corner of its line at (X, Y), clipped to
  // TARGET; COLOUR is 0x00RRGGBB.
  virtual void Draw(const PixelView &target, int x, int y, std::string_view text,
                    uint32_t colour) const = 0;
};

// The text renderer of dialogs in our fonts (the Japanese UI face).
std::unique_ptr<DialogText> MakeDialogText(int pixelHeight);

class ModalDialog {
public:
  virtual ~ModalDialog() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual const std::string &Caption() const = 0; // code page 932
  // True inside the caption bar (where the dialog can be dragged).
  virtual bool InCaption(int x, int y) const = 0;

  // Input, in the dialog's own coordinates. Each returns the dialog's
  // answer (IDOK, IDCANCEL...) once it is answered, else 0. SHIFT reverses
  // Tab.
  virtual int KeyDown(int virtualKey, bool shift) = 0;
  virtual int Character(int character) = 0; // letters typed
  virtual int MouseDown(int x, int y) = 0;
  // The second press of a double click; a plain press unless the dialog
  // gives it a meaning.
  virtual int MouseDoubleClick(int x, int y) { return MouseDown(x, y); }
  virtual int MouseUp(int x, int y) = 0;
  virtual void MouseMove(int x, int y) = 0;
  // The close box, Alt+F4: as Escape, when the dialog has a way out.
  virtual int Close() = 0;

  // True once since the picture last changed (and initially).
  virtual bool TakeChanged() = 0;
  virtual void Paint(const PixelView &target) const = 0;
};

// Makes a dialog on the display's user-interface thread, with the display's
// dialog font and the screen's size as the dialog's bounds.
using ModalDialogFactory = std::function<std::shared_ptr<ModalDialog>(
    std::shared_ptr<const DialogText> font, int screenWidth, int screenHeight)>;

} // namespace platform
