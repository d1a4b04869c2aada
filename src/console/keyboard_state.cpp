#include "console/keyboard_state.h"

bool InputLine::Append(std::string_view bytes, size_t reserve) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (text_.size() + bytes.size() + reserve > static_cast<size_t>(kInputLineSize - 1)) return false;
  text_.append(bytes);
  return true;
}

void InputLine::Cut(size_t n) {
  std::lock_guard<std::mutex> lock(mutex_);
  text_.resize(n >= text_.size() ? 0 : text_.size() - n);
}

void InputLine::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  text_.clear();
}

std::string InputLine::Text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return text_;
}

size_t InputLine::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return text_.size();
}
