// A dialog's push buttons under the mouse. A press counts only when it is
// released over the button it began on; moving off and back shows the
// button up and down again, as Windows buttons do.
#pragma once

#include <cstddef>

#include "platform/win32.h"

namespace platform::dialog {

class ButtonPress {
public:
  // The index of the button (anything with a RECT rect) that holds (X, Y),
  // -1 for none.
  template <class Buttons> static int At(const Buttons &buttons, int x, int y) {
    for (size_t i = 0; i < buttons.size(); ++i) {
      const RECT &r = buttons[i].rect;
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
  }

  void Begin(int index) {
    held_ = index;
    in_ = true;
  }
  // Ends a hold at (X, Y). Returns whether one ended (the picture changes);
  // RELEASED is the held button's index when the mouse is still over it,
  // else -1.
  template <class Buttons> bool End(const Buttons &buttons, int x, int y, int &released) {
    int held = held_;
    held_ = -1;
    in_ = false;
    released = held >= 0 && At(buttons, x, y) == held ? held : -1;
    return held >= 0;
  }
  // Follows the mouse during a hold; returns whether the button's look
  // changes.
  template <class Buttons> bool Move(const Buttons &buttons, int x, int y) {
    if (held_ < 0) return false;
    bool in = At(buttons, x, y) == held_;
    if (in == in_) return false;
    in_ = in;
    return true;
  }
  // Whether button INDEX is drawn pressed.
  bool Down(size_t index) const { return static_cast<int>(index) == held_ && in_; }

private:
  int held_ = -1; // the button held down, -1 for none
  bool in_ = false;
};

} // namespace platform::dialog
