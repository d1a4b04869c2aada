#include "graphics/flood_fill.h"

namespace gfx {

void SegmentQueue::Push(const Segment &s) {
  ring_[tail_] = s;
  tail_ = (tail_ + 1) % ring_.size();
  if (tail_ != head_) return;
  // Full: unroll the ring into one twice as large, oldest first.
  std::vector<Segment> larger(ring_.size() * 2);
  size_t n = 0;
  for (size_t i = head_; n < ring_.size(); i = (i + 1) % ring_.size()) larger[n++] = ring_[i];
  ring_ = std::move(larger);
  head_ = 0;
  tail_ = n;
}

Segment SegmentQueue::Pop() {
  Segment s = ring_[head_];
  head_ = (head_ + 1) % ring_.size();
  return s;
}

} // namespace gfx
