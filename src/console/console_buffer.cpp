#include "console/console_buffer.h"

#include <algorithm>

bool ConsoleBuffer::Store(int32_t at, char c, uint32_t fg, uint32_t bg) {
  if (at < 0 || at > length_ || at >= kConsoleCapacity) return false;
  text_[at] = c == '\0' ? ' ' : c;
  foreground_[at] = fg;
  background_[at] = bg;
  if (at == length_) ++length_;
  return true;
}

int32_t ConsoleBuffer::OpenGap(int32_t at, int32_t n, uint32_t fg, uint32_t bg) {
  if (at < 0 || at > length_ || n <= 0) return 0;
  int32_t gap = std::min(n, kConsoleCapacity - at);
  int32_t kept = std::min(length_ - at, kConsoleCapacity - at - gap); // bytes that still fit
  std::copy_backward(text_.begin() + at, text_.begin() + at + kept,
                     text_.begin() + at + gap + kept);
  std::copy_backward(foreground_.begin() + at, foreground_.begin() + at + kept,
                     foreground_.begin() + at + gap + kept);
  std::copy_backward(background_.begin() + at, background_.begin() + at + kept,
                     background_.begin() + at + gap + kept);
  std::fill(text_.begin() + at, text_.begin() + at + gap, ' ');
  std::fill(foreground_.begin() + at, foreground_.begin() + at + gap, fg);
  std::fill(background_.begin() + at, background_.begin() + at + gap, bg);
  length_ = at + gap + kept;
  return gap;
}

void ConsoleBuffer::Erase(int32_t at, int32_t n) {
  if (at < 0 || at >= length_ || n <= 0) return;
  n = std::min(n, length_ - at);
  std::copy(text_.begin() + at + n, text_.begin() + length_, text_.begin() + at);
  std::copy(foreground_.begin() + at + n, foreground_.begin() + length_, foreground_.begin() + at);
  std::copy(background_.begin() + at + n, background_.begin() + length_, background_.begin() + at);
  Truncate(length_ - n);
}

void ConsoleBuffer::Truncate(int32_t length) {
  if (length < 0) length = 0;
  if (length >= length_) return;
  std::fill(text_.begin() + length, text_.begin() + length_, '\0');
  std::fill(foreground_.begin() + length, foreground_.begin() + length_, 0);
  std::fill(background_.begin() + length, background_.begin() + length_, 0);
  length_ = length;
  if (cursor > length_) cursor = length_;
}

void ConsoleBuffer::Clear() {
  Truncate(0);
  cursor = 0;
}

int32_t ConsoleBuffer::LineStart(int32_t at) const {
  at = std::clamp(at, 0, length_);
  while (at > 0 && text_[at - 1] != '\n') --at;
  return at;
}

int32_t ConsoleBuffer::FindLineFeed(int32_t at) const {
  for (int32_t i = std::max(at, 0); i < length_; ++i)
    if (text_[i] == '\n') return i;
  return -1;
}
