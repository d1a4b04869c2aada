#include "platform/message_box_dialog.h"

#include <algorithm>
#include <cstdlib>

#include "platform/cp932.h"
#include "platform/dialog_paint.h"

namespace platform {
namespace {

using namespace dialog;

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonGap = 8;
constexpr int kMinTextWidth = 120;
constexpr size_t kMaxTextBytes = 64 * 1024; // more could never be shown

constexpr UINT kIconMask = 0x000000F0;

struct ButtonChoice {
  int id;
  const char *label; // UTF-8
  char mnemonic;
};

std::vector<ButtonChoice> ButtonsOf(UINT type) {
  const ButtonChoice ok{IDOK, "OK", 0}, cancel{IDCANCEL, "キャンセル", 0},
      abort{IDABORT, "中止(A)", 'A'}, retry{IDRETRY, "再試行(R)", 'R'},
      ignore{IDIGNORE, "無視(I)", 'I'}, yes{IDYES, "はい(Y)", 'Y'}, no{IDNO, "いいえ(N)", 'N'};
  switch (type & 0xF) {
  case MB_OKCANCEL:
    return {ok, cancel};
  case MB_ABORTRETRYIGNORE:
    return {abort, retry, ignore};
  case MB_YESNOCANCEL:
    return {yes, no, cancel};
  case MB_YESNO:
    return {yes, no};
  case MB_RETRYCANCEL:
    return {retry, cancel};
  default:
    return {ok};
  }
}

// The length of the character at TEXT[I] (2 for a lead byte with its trail).
size_t CharLength(std::string_view text, size_t i) {
  return cp932::IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Splits TEXT at CR LF, CR and LF; a TAB shows as blanks.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else if (c == '\t') {
      lines.back() += "    ";
    } else {
      size_t n = CharLength(text, i);
      lines.back().append(text.substr(i, n));
      i += n - 1;
    }
  }
  return lines;
}

// Breaks LINE into pieces no wider than WIDTH, between characters.
void Wrap(const DialogText &font, const std::string &line, int width,
          std::vector<std::string> &out) {
  std::string piece;
  int pieceWidth = 0;
  for (size_t i = 0; i < line.size();) {
    size_t n = CharLength(line, i);
    std::string_view ch(line.data() + i, n);
    int w = font.Width(ch);
    if (!piece.empty() && pieceWidth + w > width) {
      out.push_back(piece);
      piece.clear();
      pieceWidth = 0;
    }
    piece.append(ch);
    pieceWidth += w;
    i += n;
  }
  out.push_back(piece);
}

void Put(const PixelView &v, int x, int y, uint32_t colour) {
  if (x >= 0 && y >= 0 && x < v.width && y < v.height) v.Row(y)[x] = colour;
}

// The marks inside the icons, 5 x 7, drawn three times as large.
constexpr const char *kQuestionMark[7] = {".###.", "#...#", "....#", "...#.",
                                          "..#..", ".....", "..#.."};
constexpr const char *kExclamationMark[7] = {"..#..", "..#..", "..#..", "..#..",
                                             "..#..", ".....", "..#.."};
constexpr const char *kInformationMark[7] = {"..#..", ".....", ".##..", "..#..",
                                             "..#..", "..#..", ".###."};

void Mark(const PixelView &v, int x0, int y0, const char *const rows[7], uint32_t colour) {
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 5; ++c)
      if (rows[r][c] == '#')
        for (int dy = 0; dy < 3; ++dy)
          for (int dx = 0; dx < 3; ++dx) Put(v, x0 + c * 3 + dx, y0 + r * 3 + dy, colour);
}

void Icon(const PixelView &v, int x0, int y0, int icon) {
  const int n = kIconSize;
  if (icon == MB_ICONEXCLAMATION) {
    for (int y = 2; y < n - 1; ++y) {
      int half = (y - 2) * (n / 2 - 1) / (n - 4);
      for (int x = n / 2 - 1 - half; x <= n / 2 + half; ++x) Put(v, x0 + x, y0 + y, 0x00FFC83C);
    }
    Mark(v, x0 + n / 2 - 8, y0 + 8, kExclamationMark, 0x00000000);
    return;
  }
  uint32_t disc = icon == MB_ICONHAND ? 0x00E81123 : 0x001E64C8;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      int dx = 2 * x + 1 - n, dy = 2 * y + 1 - n;
      if (dx * dx + dy * dy > n * n) continue;
      uint32_t colour = disc;
      // The stop sign's cross: two bars along the diagonals.
      if (icon == MB_ICONHAND && dx * dx + dy * dy < (n * n) / 3 &&
          (std::abs(dx - dy) <= 4 || std::abs(dx + dy) <= 4))
        colour = 0x00FFFFFF;
      Put(v, x0 + x, y0 + y, colour);
    }
  if (icon == MB_ICONQUESTION) Mark(v, x0 + n / 2 - 8, y0 + 5, kQuestionMark, 0x00FFFFFF);
  if (icon == MB_ICONASTERISK) Mark(v, x0 + n / 2 - 8, y0 + 5, kInformationMark, 0x00FFFFFF);
}

} // namespace

MessageBoxDialog::MessageBoxDialog(std::shared_ptr<const DialogText> font, std::string_view text,
                                   std::string_view caption, UINT type, int answer, int maxWidth,
                                   int maxHeight)
    : font_(std::move(font)), caption_(caption) {
  const DialogText &f = *font_;
  const int lineH = std::max(1, f.LineHeight());
  maxWidth = std::max(maxWidth, 240);
  maxHeight = std::max(maxHeight, 160);
  switch (type & kIconMask) {
  case MB_ICONHAND:
  case MB_ICONQUESTION:
  case MB_ICONEXCLAMATION:
  case MB_ICONASTERISK:
    icon_ = static_cast<int>(type & kIconMask);
    break;
  default:
    icon_ = 0;
  }
  captionHeight_ = lineH + 10;
  const int buttonH = lineH + 11;
  const int iconW = icon_ ? kIconSize + kMargin : 0;

  // Buttons: at least the standard width, wide enough for their label.
  int buttonsW = 0;
  for (const ButtonChoice &choice : ButtonsOf(type)) {
    Button b;
    b.id = choice.id;
    b.label = cp932::FromUtf8(choice.label);
    b.mnemonic = choice.mnemonic;
    int w = std::max(kButtonMinWidth, f.Width(b.label) + 16);
    b.rect = RECT{0, 0, w, buttonH};
    buttonsW += w + (buttons_.empty() ? 0 : kButtonGap);
    buttons_.push_back(b);
  }

  // Text lines, wrapped to three quarters of the screen.
  const int maxTextW = std::max(kMinTextWidth, maxWidth * 3 / 4 - iconW - 2 * kMargin);
  std::string_view shown = text.substr(0, std::min(text.size(), kMaxTextBytes));
  for (const std::string &line : SplitLines(shown)) Wrap(f, line, maxTextW, lines_);
  // Lines the screen cannot hold are left out.
  const int fixedH = captionHeight_ + 3 * kMargin + buttonH + 2;
  int maxLines = std::max(1, (maxHeight - fixedH) / lineH);
  if (static_cast<int>(lines_.size()) > maxLines) lines_.resize(static_cast<size_t>(maxLines));
  int textW = 0;
  for (const std::string &line : lines_) textW = std::max(textW, f.Width(line));
  int textH = static_cast<int>(lines_.size()) * lineH;

  int contentW = iconW + textW;
  width_ = std::max({contentW + 2 * kMargin, buttonsW + 2 * kMargin,
                     std::min(f.Width(caption_) + 2 * kMargin, maxWidth), 200});
  width_ = std::min(width_, maxWidth);
  int bodyH = std::max(textH, icon_ ? kIconSize : 0);
  height_ = captionHeight_ + kMargin + bodyH + kMargin + buttonH + kMargin + 1;

  int top = captionHeight_ + kMargin;
  iconRect_ = icon_ ? RECT{kMargin, top, kMargin + kIconSize, top + kIconSize} : RECT{};
  int textTop = top + (bodyH - textH) / 2;
  textRect_ = RECT{kMargin + iconW, textTop, kMargin + iconW + textW, textTop + textH};

  // Buttons centred in a row at the bottom.
  int x = (width_ - buttonsW) / 2;
  int y = height_ - kMargin - 1 - buttonH;
  for (Button &b : buttons_) {
    int w = b.rect.right;
    b.rect = RECT{x, y, x + w, y + buttonH};
    x += w + kButtonGap;
  }
  focus_ = 0;
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].id == answer) focus_ = static_cast<int>(i);
}

bool MessageBoxDialog::InCaption(int x, int y) const {
  return x >= 0 && x < width_ && y >= 0 && y < captionHeight_;
}

int MessageBoxDialog::Escape() const {
  for (const Button &b : buttons_)
    if (b.id == IDCANCEL) return IDCANCEL;
  // A box with only OK closes with OK; Yes/No and Abort/Retry/Ignore boxes
  // must be answered.
  if (buttons_.size() == 1) return buttons_[0].id;
  return 0;
}

int MessageBoxDialog::KeyDown(int virtualKey, bool shift) {
  const int count = static_cast<int>(buttons_.size());
  int step = 0;
  switch (virtualKey) {
  case 0x0D: // Enter
  case 0x20: // Space
    return buttons_[static_cast<size_t>(focus_)].id;
  case 0x1B: // Escape
    return Escape();
  case 0x09: // Tab
    step = shift ? -1 : 1;
    break;
  case 0x25: // Left
  case 0x26: // Up
    step = -1;
    break;
  case 0x27: // Right
  case 0x28: // Down
    step = 1;
    break;
  default:
    return 0;
  }
  focus_ = (focus_ + step + count) % count;
  changed_ = true;
  return 0;
}

int MessageBoxDialog::Character(int character) {
  if (character >= 'a' && character <= 'z') character -= 'a' - 'A';
  for (const Button &b : buttons_)
    if (b.mnemonic != 0 && b.mnemonic == character) return b.id;
  return 0;
}

int MessageBoxDialog::MouseDown(int x, int y) {
  int i = dialog::ButtonPress::At(buttons_, x, y);
  if (i < 0) return 0;
  press_.Begin(i);
  focus_ = i;
  changed_ = true;
  return 0;
}

int MessageBoxDialog::MouseUp(int x, int y) {
  int released = -1;
  if (press_.End(buttons_, x, y, released)) changed_ = true;
  return released < 0 ? 0 : buttons_[static_cast<size_t>(released)].id;
}

void MessageBoxDialog::MouseMove(int x, int y) {
  if (press_.Move(buttons_, x, y)) changed_ = true;
}

int MessageBoxDialog::Close() {
  return Escape();
}

bool MessageBoxDialog::TakeChanged() {
  bool c = changed_;
  changed_ = false;
  return c;
}

void MessageBoxDialog::Paint(const PixelView &v) const {
  const DialogText &f = *font_;
  const int lineH = std::max(1, f.LineHeight());
  PaintWindow(v, f, captionHeight_, caption_);
  if (icon_) Icon(v, iconRect_.left, iconRect_.top, icon_);
  PixelView body = Sub(v, RECT{1, captionHeight_, width_ - 1, height_ - 1});
  int y = textRect_.top - captionHeight_;
  for (const std::string &line : lines_) {
    f.Draw(body, textRect_.left - 1, y, line, kText);
    y += lineH;
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const Button &b = buttons_[i];
    bool down = press_.Down(i);
    PaintButton(v, f, b.rect, b.label, static_cast<int>(i) == focus_, down);
  }
}

} // namespace platform
