// The message box of an on-screen display: its layout (caption bar, icon,
// text lines, buttons), the keyboard and mouse rules that choose a button,
// and its picture. Independent of the window system: a display driver shows
// the picture in a window of the box's size and feeds it the input.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pixels.h"
#include "platform/win32.h"

namespace platform {

// How the box measures and draws its text (code page 932).
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

// The text renderer of the box in our fonts (the Japanese UI face).
std::unique_ptr<DialogText> MakeDialogText(int pixelHeight);

class MessageBoxDialog {
public:
  struct Button {
    int id = 0;        // IDOK, IDCANCEL...
    std::string label; // code page 932
    char mnemonic = 0; // upper-case letter that presses it, 0 for none
    RECT rect;
  };

  // TEXT and CAPTION are code page 932; ANSWER the default button's id.
  // MAX_WIDTH and MAX_HEIGHT bound the box (the screen): longer lines wrap,
  // lines that do not fit are left out.
  MessageBoxDialog(std::shared_ptr<const DialogText> font, std::string_view text,
                   std::string_view caption, UINT type, int answer, int maxWidth, int maxHeight);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string &Caption() const { return caption_; }
  const std::vector<std::string> &Lines() const { return lines_; }
  const std::vector<Button> &Buttons() const { return buttons_; }
  // The index of the focused button (Enter and Space press it).
  int Focus() const { return focus_; }
  // True inside the caption bar (where the box can be dragged).
  bool InCaption(int x, int y) const;

  // Input. Each returns the id of the chosen button once the box is
  // answered, else 0. SHIFT reverses Tab.
  int KeyDown(int virtualKey, bool shift);
  int Character(int character); // mnemonic letters
  int MouseDown(int x, int y);
  int MouseUp(int x, int y);
  void MouseMove(int x, int y);
  // The close box, Alt+F4: as Escape, when the box has a way out.
  int Close();

  // True once since the picture last changed (and initially).
  bool TakeChanged();
  void Paint(const PixelView &target) const;

private:
  int Escape() const; // the answer of Escape, 0 when it has none
  int ButtonAt(int x, int y) const;

  std::shared_ptr<const DialogText> font_;
  std::string caption_;
  std::vector<std::string> lines_;
  std::vector<Button> buttons_;
  int icon_ = 0; // 0 none, else MB_ICONHAND...MB_ICONASTERISK
  int width_ = 0, height_ = 0;
  int captionHeight_ = 0;
  RECT iconRect_, textRect_;
  int focus_ = 0;
  int pressed_ = -1; // button held down by the mouse
  bool pressedIn_ = false;
  bool changed_ = true;
};

} // namespace platform
