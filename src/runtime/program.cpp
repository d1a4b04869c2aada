#include "runtime/program.h"

void Program::Load(std::string_view text) {
  block_.assign(text.size() + 10, 0);
  block_[0] = 0x00;
  block_[1] = static_cast<char>(0xFF);
  std::copy(text.begin(), text.end(), block_.begin() + 2);
  length_ = static_cast<uint32_t>(text.size());
}

void Program::Clear() {
  block_.clear();
  block_.shrink_to_fit();
  length_ = 0;
}
