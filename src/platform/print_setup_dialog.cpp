#include "platform/print_setup_dialog.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/dialog_paint.h"

namespace platform {
namespace {

using namespace dialog;

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonGap = 8;
constexpr int kMinListWidth = 260;
constexpr int kMinRows = 4;
constexpr int kMaxRows = 8;
constexpr int kScrollBarWidth = 8;
constexpr size_t kMaxPrinters = 4096; // more could never be chosen from a list

constexpr int kFocusList = 0;

} // namespace

PrintSetupDialog::PrintSetupDialog(std::shared_ptr<const DialogText> font,
                                   std::vector<std::string> printers, int selected, int maxWidth,
                                   int maxHeight)
    : font_(std::move(font)), printers_(std::move(printers)) {
  const DialogText &f = *font_;
  const int lineH = std::max(1, f.LineHeight());
  if (printers_.size() > kMaxPrinters) printers_.resize(kMaxPrinters);
  maxWidth = std::max(maxWidth, 320);
  maxHeight = std::max(maxHeight, 200);
  caption_ = cp932::FromUtf8("プリンタの設定");
  label_ = cp932::FromUtf8("プリンタ名:");
  captionHeight_ = lineH + 10;
  rowHeight_ = lineH + 4;
  const int buttonH = lineH + 11;

  int nameW = 0;
  for (const std::string &p : printers_) nameW = std::max(nameW, f.Width(p));
  int listW = std::clamp(nameW + 8 + kScrollBarWidth, kMinListWidth,
                         std::max(kMinListWidth, maxWidth * 3 / 4 - 2 * kMargin));
  const int count = static_cast<int>(printers_.size());
  rows_ = std::clamp(count, kMinRows, kMaxRows);
  // The rows the screen cannot hold are scrolled to.
  const int fixedH = captionHeight_ + kMargin + lineH + 4 + kMargin + buttonH + kMargin + 3;
  rows_ = std::clamp((maxHeight - fixedH) / rowHeight_, 1, rows_);

  width_ = std::max(listW + 2 * kMargin, f.Width(caption_) + 2 * kMargin);
  width_ = std::min(width_, maxWidth);
  listW = width_ - 2 * kMargin;
  int y = captionHeight_ + kMargin;
  labelRect_ = RECT{kMargin, y, width_ - kMargin, y + lineH};
  y += lineH + 4;
  listRect_ = RECT{kMargin, y, kMargin + listW, y + rows_ * rowHeight_ + 2};
  y = listRect_.bottom + kMargin;

  // OK and Cancel at the bottom right.
  std::string ok = "OK", cancel = cp932::FromUtf8("キャンセル");
  int okW = std::max(kButtonWidth, f.Width(ok) + 16);
  int cancelW = std::max(kButtonWidth, f.Width(cancel) + 16);
  int x = width_ - kMargin - cancelW;
  buttons_.push_back(Button{IDOK, ok, RECT{x - kButtonGap - okW, y, x - kButtonGap, y + buttonH}});
  buttons_.push_back(Button{IDCANCEL, cancel, RECT{x, y, x + cancelW, y + buttonH}});
  height_ = y + buttonH + kMargin + 1;

  if (count > 0) Select(std::clamp(selected, 0, count - 1));
  focus_ = kFocusList;
  changed_ = true;
}

bool PrintSetupDialog::InCaption(int x, int y) const {
  return x >= 0 && x < width_ && y >= 0 && y < captionHeight_;
}

void PrintSetupDialog::Select(int index) {
  const int count = static_cast<int>(printers_.size());
  if (count == 0) return;
  index = std::clamp(index, 0, count - 1);
  selected_.store(index);
  // The selection stays in view.
  if (index < top_) top_ = index;
  if (index >= top_ + rows_) top_ = index - rows_ + 1;
  top_ = std::clamp(top_, 0, std::max(0, count - rows_));
  changed_ = true;
}

RECT PrintSetupDialog::RowRect(int index) const {
  if (index < top_ || index >= top_ + rows_ || index >= static_cast<int>(printers_.size()))
    return RECT{};
  int y = listRect_.top + 1 + (index - top_) * rowHeight_;
  int right = listRect_.right - 1;
  if (static_cast<int>(printers_.size()) > rows_) right -= kScrollBarWidth;
  return RECT{listRect_.left + 1, y, right, y + rowHeight_};
}

RECT PrintSetupDialog::ButtonRect(int id) const {
  for (const Button &b : buttons_)
    if (b.id == id) return b.rect;
  return RECT{};
}

int PrintSetupDialog::KeyDown(int virtualKey, bool shift) {
  const int focusCount = 1 + static_cast<int>(buttons_.size());
  const int count = static_cast<int>(printers_.size());
  const int sel = selected_.load();
  switch (virtualKey) {
  case 0x0D: // Enter: the focused button, else OK
    return focus_ > kFocusList ? buttons_[static_cast<size_t>(focus_ - 1)].id : IDOK;
  case 0x20: // Space presses the focused button
    return focus_ > kFocusList ? buttons_[static_cast<size_t>(focus_ - 1)].id : 0;
  case 0x1B: // Escape
    return IDCANCEL;
  case 0x09: // Tab
    focus_ = (focus_ + (shift ? -1 : 1) + focusCount) % focusCount;
    changed_ = true;
    return 0;
  default:
    break;
  }
  if (focus_ > kFocusList) {
    // Arrows move between the buttons.
    if (virtualKey >= 0x25 && virtualKey <= 0x28) {
      int step = virtualKey == 0x25 || virtualKey == 0x26 ? -1 : 1;
      int n = static_cast<int>(buttons_.size());
      focus_ = 1 + (focus_ - 1 + step + n) % n;
      changed_ = true;
    }
    return 0;
  }
  if (count == 0) return 0;
  switch (virtualKey) {
  case 0x25: // Left
  case 0x26: // Up
    Select(sel - 1);
    break;
  case 0x27: // Right
  case 0x28: // Down
    Select(sel + 1);
    break;
  case 0x21: // Page Up
    Select(sel - std::max(1, rows_ - 1));
    break;
  case 0x22: // Page Down
    Select(sel + std::max(1, rows_ - 1));
    break;
  case 0x24: // Home
    Select(0);
    break;
  case 0x23: // End
    Select(count - 1);
    break;
  default:
    break;
  }
  return 0;
}

int PrintSetupDialog::Character(int character) {
  if (focus_ != kFocusList || printers_.empty()) return 0;
  auto upper = [](int c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; };
  character = upper(character);
  const int count = static_cast<int>(printers_.size());
  const int sel = selected_.load();
  // The next printer after the selection whose name starts with the letter.
  for (int step = 1; step <= count; ++step) {
    int i = (sel + step) % count;
    const std::string &name = printers_[static_cast<size_t>(i)];
    if (!name.empty() && upper(static_cast<unsigned char>(name[0])) == character) {
      Select(i);
      break;
    }
  }
  return 0;
}

int PrintSetupDialog::MouseDown(int x, int y) {
  const int count = static_cast<int>(printers_.size());
  for (int i = top_; i < std::min(count, top_ + rows_); ++i)
    if (Contains(RowRect(i), x, y)) {
      Select(i);
      focus_ = kFocusList;
      changed_ = true;
      return 0;
    }
  int b = dialog::ButtonPress::At(buttons_, x, y);
  if (b < 0) return 0;
  press_.Begin(b);
  focus_ = b + 1;
  changed_ = true;
  return 0;
}

int PrintSetupDialog::MouseDoubleClick(int x, int y) {
  const int count = static_cast<int>(printers_.size());
  for (int i = top_; i < std::min(count, top_ + rows_); ++i)
    if (Contains(RowRect(i), x, y)) {
      Select(i);
      focus_ = kFocusList;
      return IDOK;
    }
  return MouseDown(x, y);
}

int PrintSetupDialog::MouseUp(int x, int y) {
  int released = -1;
  if (press_.End(buttons_, x, y, released)) changed_ = true;
  return released < 0 ? 0 : buttons_[static_cast<size_t>(released)].id;
}

void PrintSetupDialog::MouseMove(int x, int y) {
  if (press_.Move(buttons_, x, y)) changed_ = true;
}

bool PrintSetupDialog::TakeChanged() {
  bool c = changed_;
  changed_ = false;
  return c;
}

void PrintSetupDialog::Paint(const PixelView &v) const {
  const DialogText &f = *font_;
  const int lineH = std::max(1, f.LineHeight());
  PaintWindow(v, f, captionHeight_, caption_);
  f.Draw(Sub(v, labelRect_), 0, 0, label_, kText);

  Fill(v, listRect_, kWindow);
  Frame(v, listRect_, focus_ == kFocusList ? kFocusEdge : kButtonEdge, 1);
  const int count = static_cast<int>(printers_.size());
  const int sel = selected_.load();
  for (int i = top_; i < std::min(count, top_ + rows_); ++i) {
    RECT r = RowRect(i);
    bool on = i == sel;
    if (on) Fill(v, r, kHighlight);
    PixelView cell = Sub(v, RECT{r.left + 3, r.top, r.right - 1, r.bottom});
    f.Draw(cell, 0, (rowHeight_ - lineH) / 2, printers_[static_cast<size_t>(i)],
           on ? kHighlightText : kText);
  }
  if (count > rows_) {
    // The scroll bar: where the rows shown lie in the whole list.
    RECT track{listRect_.right - 1 - kScrollBarWidth, listRect_.top + 1, listRect_.right - 1,
               listRect_.bottom - 1};
    Fill(v, track, kButtonFace);
    int h = track.bottom - track.top;
    int thumbTop = track.top + h * top_ / count;
    int thumbBottom = track.top + h * std::min(count, top_ + rows_) / count;
    Fill(v, RECT{track.left + 1, thumbTop, track.right - 1, std::max(thumbBottom, thumbTop + 4)},
         kButtonEdge);
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const Button &b = buttons_[i];
    bool down = press_.Down(i);
    // OK is the default button: it shows the focus frame while the list has
    // the focus.
    bool focused = focus_ == static_cast<int>(i) + 1 || (focus_ == kFocusList && b.id == IDOK);
    PaintButton(v, f, b.rect, b.label, focused, down);
  }
}

} // namespace platform
