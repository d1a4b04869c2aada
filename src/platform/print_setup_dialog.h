// The print setup dialog of an on-screen display: the printers in a list
// with one selected, OK and Cancel. Arrows, Home, End and the page keys move
// the selection, a letter jumps to the next printer starting with it, Tab
// moves the focus between the list and the buttons; Enter answers OK
// (Cancel when that button has the focus), Escape and the close box Cancel.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_buttons.h"
#include "platform/modal_dialog.h"
#include "platform/win32.h"

namespace platform {

class PrintSetupDialog final : public ModalDialog {
public:
  // PRINTERS are code page 932; SELECTED is the index selected first
  // (clamped into the list). MAX_WIDTH and MAX_HEIGHT bound the dialog.
  PrintSetupDialog(std::shared_ptr<const DialogText> font, std::vector<std::string> printers,
                   int selected, int maxWidth, int maxHeight);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const std::string &Caption() const override { return caption_; }
  bool InCaption(int x, int y) const override;

  int KeyDown(int virtualKey, bool shift) override;
  int Character(int character) override;
  int MouseDown(int x, int y) override;
  int MouseDoubleClick(int x, int y) override; // on a printer: OK
  int MouseUp(int x, int y) override;
  void MouseMove(int x, int y) override;
  int Close() override { return IDCANCEL; }

  bool TakeChanged() override;
  void Paint(const PixelView &target) const override;

  // The selected printer's index (-1 for an empty list). Safe to read from
  // any thread.
  int Selected() const { return selected_.load(); }
  // The first printer shown, the number of rows the list shows.
  int FirstShown() const { return top_; }
  int RowsShown() const { return rows_; }
  // Where things are, for tests and hit testing.
  RECT RowRect(int index) const; // empty when the row is scrolled away
  RECT ButtonRect(int id) const; // IDOK or IDCANCEL
  // 0 the list, 1 OK, 2 Cancel.
  int Focus() const { return focus_; }

private:
  struct Button {
    int id;
    std::string label; // code page 932
    RECT rect;
  };

  void Select(int index);

  std::shared_ptr<const DialogText> font_;
  std::string caption_, label_;
  std::vector<std::string> printers_;
  std::vector<Button> buttons_;
  std::atomic<int> selected_{-1};
  int top_ = 0;  // the first row shown
  int rows_ = 1; // rows the list shows
  int rowHeight_ = 1;
  int width_ = 0, height_ = 0;
  int captionHeight_ = 0;
  RECT labelRect_, listRect_;
  int focus_ = 0;
  dialog::ButtonPress press_;
  bool changed_ = true;
};

} // namespace platform
