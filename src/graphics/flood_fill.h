// The flood fill of PAINT: spans of a row are filled and the rows above and
// below are scanned for further spans, which wait in a queue of segments.
// Only the border colour stops the fill; a segment is skipped when its
// first pixel already has the fill colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx {

struct Segment {
  int32_t left, right, y, parent;
};

// A ring of segments that starts with room for 2048 and doubles when the
// tail would reach the head, so that a jagged region never loses or
// overwrites a segment.
class SegmentQueue {
public:
  SegmentQueue() : ring_(kInitial) {}
  bool Empty() const { return head_ == tail_; }
  void Push(const Segment &s);
  Segment Pop();
  size_t Capacity() const { return ring_.size(); }
  static constexpr size_t kInitial = 2048;

private:
  std::vector<Segment> ring_;
  size_t head_ = 0, tail_ = 0;
};

// Fills on CANVAS from the seed (X, Y) with FILL up to BORDER. CANVAS offers
// Width(), Height(), Get(x, y) (the pixel's colour, compared with FILL and
// BORDER as they are) and Row(left, right, y) (colours LEFT to RIGHT with
// FILL). FILL must be a colour that Get gives back after Row, so that every
// span drawn counts as filled. A seed outside the canvas fills nothing.
template <class Canvas>
void FloodFill(Canvas &canvas, int32_t x, int32_t y, uint32_t fill, uint32_t border) {
  const int32_t w = canvas.Width(), h = canvas.Height();
  if (x < 0 || y < 0 || x >= w || y >= h) return;
  SegmentQueue queue;
  // Scans LEFT..RIGHT of ROW for spans that are not border and queues them.
  auto scan = [&](int32_t a, int32_t b, int32_t row, int32_t parent) {
    int32_t px = a;
    while (px <= b) {
      while (px < b && canvas.Get(px, row) == border) ++px;
      if (canvas.Get(px, row) == border) return;
      int32_t s = px;
      while (px <= b && canvas.Get(px, row) != border) ++px;
      queue.Push({s, px - 1, row, parent});
    }
  };
  queue.Push({x, x, y, y});
  while (!queue.Empty()) {
    Segment seg = queue.Pop();
    int32_t l = seg.left, r = seg.right;
    const int32_t l0 = l - 1, r0 = r + 1, row = seg.y;
    if (canvas.Get(l, row) == fill) continue;
    while (r < w - 1) {
      ++r;
      if (canvas.Get(r, row) == border) {
        --r;
        break;
      }
    }
    while (l > 0) {
      --l;
      if (canvas.Get(l, row) == border) {
        ++l;
        break;
      }
    }
    canvas.Row(l, r, row);
    for (int32_t next : {row - 1, row + 1}) {
      if (next < 0 || next >= h) continue;
      if (next != seg.parent) {
        scan(l, r, next, row);
      } else {
        scan(l, l0, next, row);
        scan(r0, r, next, row);
      }
    }
  }
}

} // namespace gfx
