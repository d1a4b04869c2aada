// The message box of an on-screen display: its layout (caption bar, icon,
// text lines, buttons), the keyboard and mouse rules that choose a button,
// and its picture. Independent of the window system: a display driver shows
// the picture in a window of the box's size and feeds it the input.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_buttons.h"
#include "platform/modal_dialog.h"
#include "platform/win32.h"

namespace platform {

class MessageBoxDialog final : public ModalDialog {
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

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const std::string &Caption() const override { return caption_; }
  const std::vector<std::string> &Lines() const { return lines_; }
  const std::vector<Button> &Buttons() const { return buttons_; }
  // The index of the focused button (Enter and Space press it).
  int Focus() const { return focus_; }
  // True inside the caption bar (where the box can be dragged).
  bool InCaption(int x, int y) const override;

  // Input. Each returns the id of the chosen button once the box is
  // answered, else 0. SHIFT reverses Tab.
  int KeyDown(int virtualKey, bool shift) override;
  int Character(int character) override; // mnemonic letters
  int MouseDown(int x, int y) override;
  int MouseUp(int x, int y) override;
  void MouseMove(int x, int y) override;
  // The close box, Alt+F4: as Escape, when the box has a way out.
  int Close() override;

  // True once since the picture last changed (and initially).
  bool TakeChanged() override;
  void Paint(const PixelView &target) const override;

private:
  int Escape() const; // the answer of Escape, 0 when it has none

  std::shared_ptr<const DialogText> font_;
  std::string caption_;
  std::vector<std::string> lines_;
  std::vector<Button> buttons_;
  int icon_ = 0; // 0 none, else MB_ICONHAND...MB_ICONASTERISK
  int width_ = 0, height_ = 0;
  int captionHeight_ = 0;
  RECT iconRect_, textRect_;
  int focus_ = 0;
  dialog::ButtonPress press_;
  bool changed_ = true;
};

} // namespace platform
