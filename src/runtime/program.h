// The restored program text. The block holds 0x00 0xFF in front of the text
// (positions -2 and -1) and eight 0 bytes behind it; positions are offsets
// from the text's first byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using ProgramPosition = uint32_t;

class Program {
public:
  // Builds the block around TEXT (the restored program bytes).
  void Load(std::string_view text);
  void Clear();

  // The byte at a position; 0 for every position outside the block, so no
  // scan can leave it whatever a jump operand says.
  uint8_t At(ProgramPosition p) const {
    uint64_t i = static_cast<uint64_t>(static_cast<int32_t>(p)) + 2;
    return i < block_.size() ? static_cast<uint8_t>(block_[i]) : 0;
  }
  // The text from a position on, as a NUL-terminated string (empty outside).
  const char *From(ProgramPosition p) const {
    uint64_t i = static_cast<uint64_t>(static_cast<int32_t>(p)) + 2;
    return i < block_.size() ? block_.data() + i : block_.data() + block_.size() - 1;
  }
  // Whether a position lies inside the block (-2 .. length+7).
  bool Contains(ProgramPosition p) const {
    int64_t s = static_cast<int32_t>(p);
    return s >= -2 && s + 2 < static_cast<int64_t>(block_.size());
  }
  uint32_t Length() const { return length_; }
  bool Loaded() const { return !block_.empty(); }

private:
  std::vector<char> block_;
  uint32_t length_ = 0;
};
