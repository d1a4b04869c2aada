// The pure pieces of the drawing statements: colour numbers both ways,
// coordinate pairs and argument lists, CIRCLE's box and radial points, the
// image table's slots, and the flood fill's segments on a plain canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "graphics/circle_geometry.h"
#include "graphics/colour.h"
#include "graphics/flood_fill.h"
#include "graphics/graphics_args.h"
#include "graphics/graphics_state.h"

namespace {

TEST(ColourTest, NumbersMapToColourrefsAndBack) {
  const uint32_t basic[8] = {0x000000, 0xFF0000, 0x0000FF, 0xFF00FF,
                             0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(ColourOf(n), basic[n]) << n;
    EXPECT_EQ(ColourNumberOf(basic[n]), n) << n;
  }
  EXPECT_EQ(ColourOf(8), 0u);
  EXPECT_EQ(ColourOf(100), 0u);
  EXPECT_EQ(ColourOf(-2), 2u); // almost black red, not transparent
  EXPECT_EQ(ColourOf(-255), 0x0000FFu);
  EXPECT_EQ(ColourOf(std::numeric_limits<int32_t>::min()), 0x80000000u);
  // RGB(1, 2, 3) is -(3 * 65536 + 2 * 256 + 1) and reads back as itself.
  EXPECT_EQ(ColourNumberOf(0x030201), -0x030201);
  EXPECT_EQ(ColourNumberOf(ColourOf(-0x030201)), -0x030201);
  // A red that is not pure red is no palette number.
  EXPECT_EQ(ColourNumberOf(0x0000FE), -0xFE);
}

class GraphicsArgsTest : public EngineFixture {};

TEST_F(GraphicsArgsTest, PairsNeedExactlyTwoExpressionsInParentheses) {
  size_t pos = 0;
  int32_t x = 0, y = 0;
  std::string text = "(3+4,(2*5))-(1,1)";
  ASSERT_TRUE(gfx::ReadPair(text, pos, x, y));
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 10);
  EXPECT_EQ(text[pos], '-');
  // Truncated toward zero.
  pos = 0;
  ASSERT_TRUE(gfx::ReadPair("(-2.7,2.7)", pos, x, y));
  EXPECT_EQ(x, -2);
  EXPECT_EQ(y, 2);
  for (const char *bad : {"(1)", "(1,2,3)", "(,2)", "(1,)", "(1,2", "1,2", "", "()"}) {
    pos = 0;
    EXPECT_FALSE(gfx::ReadPair(bad, pos, x, y)) << bad;
    EXPECT_TRUE(TakeError()) << bad;
  }
}

TEST(GraphicsArgsSplitTest, EmptyPositionsAreKept) {
  using V = std::vector<std::string>;
  EXPECT_EQ(gfx::SplitArguments(""), V{});
  EXPECT_EQ(gfx::SplitArguments("a"), V{"a"});
  EXPECT_EQ(gfx::SplitArguments("a,,b"), (V{"a", "", "b"}));
  EXPECT_EQ(gfx::SplitArguments(",4,bf"), (V{"", "4", "bf"}));
  EXPECT_EQ(gfx::SplitArguments("a,"), (V{"a", ""}));
  EXPECT_EQ(gfx::SplitArguments("f(1,2),\"x,y\""), (V{"f(1,2)", "\"x,y\""}));
}

TEST(CircleGeometryTest, RadialPointsWalkTheSquareCounterClockwise) {
  auto at = [](double a) {
    gfx::RadialOffset o = gfx::OffsetForAngle(a);
    return std::pair<int, int>(o.dx, o.dy);
  };
  EXPECT_EQ(at(0), std::make_pair(78, 0));
  EXPECT_EQ(at(50.9), std::make_pair(78, 50));
  EXPECT_EQ(at(78.5), std::make_pair(78, 78));
  EXPECT_EQ(at(157), std::make_pair(0, 78)); // a quarter turn: straight up
  EXPECT_EQ(at(314), std::make_pair(-78, 0));
  EXPECT_EQ(at(471), std::make_pair(0, -78));
  EXPECT_EQ(at(600), std::make_pair(78, -28));
  EXPECT_EQ(at(628), std::make_pair(78, 0));
}

TEST(CircleGeometryTest, AspectShrinksOneRadius) {
  gfx::CircleFigure f;
  ASSERT_TRUE(gfx::PlanCircle(100, 100, 40, 0, 0, 0.5, false, f));
  EXPECT_EQ(f.kind, gfx::CircleFigure::kFullArc);
  EXPECT_EQ(f.right - f.left, 80);
  EXPECT_EQ(f.bottom - f.top, 40);
  ASSERT_TRUE(gfx::PlanCircle(100, 100, 40, 0, 0, 2, true, f));
  EXPECT_EQ(f.kind, gfx::CircleFigure::kEllipse);
  EXPECT_EQ(f.right - f.left, 40);
  EXPECT_EQ(f.bottom - f.top, 80);
  EXPECT_EQ(f.left, 80);
  EXPECT_EQ(f.top, 60);
  // Radii are truncated.
  ASSERT_TRUE(gfx::PlanCircle(0, 0, 10.9, 0, 0, 1, false, f));
  EXPECT_EQ(f.right, 10);
  EXPECT_EQ(f.left, -10);
}

TEST(CircleGeometryTest, NegativeAnglesMakePiesAndTheLimitIsSixPointTwoEight) {
  gfx::CircleFigure f;
  ASSERT_TRUE(gfx::PlanCircle(100, 100, 50, -1.57, 3.14, 1, false, f));
  EXPECT_EQ(f.kind, gfx::CircleFigure::kPie);
  EXPECT_EQ(f.xStart, 100); // 157: straight up
  EXPECT_EQ(f.yStart, 100 - 78);
  EXPECT_EQ(f.xEnd, 100 - 78); // 314: left
  EXPECT_EQ(f.yEnd, 100);
  ASSERT_TRUE(gfx::PlanCircle(100, 100, 50, 1.57, 3.14, 1, true, f));
  EXPECT_EQ(f.kind, gfx::CircleFigure::kArc); // F has no effect on an arc
  ASSERT_TRUE(gfx::PlanCircle(100, 100, 50, 6.28, -6.28, 1, false, f));
  EXPECT_FALSE(gfx::PlanCircle(100, 100, 50, 6.29, 1, 1, false, f));
  EXPECT_FALSE(gfx::PlanCircle(100, 100, 50, 0, -6.3, 1, false, f));
  EXPECT_FALSE(gfx::PlanCircle(100, 100, 50, std::nan(""), 1, 1, false, f));
  // A radius beyond any surface is clamped, never an overflow.
  ASSERT_TRUE(gfx::PlanCircle(100, 0, 1e300, 0, 0, 1, false, f));
  EXPECT_EQ(f.left, 100 - (1 << 27));
  EXPECT_EQ(f.right, 1 << 27);
  const int32_t kMax = std::numeric_limits<int32_t>::max();
  ASSERT_TRUE(gfx::PlanCircle(kMax, std::numeric_limits<int32_t>::min(), 5, 1, -1, 1, false, f));
  EXPECT_EQ(f.xStart, 1 << 27);
  EXPECT_EQ(f.yEnd, -(1 << 27));
  ASSERT_TRUE(gfx::PlanCircle(0, 0, std::nan(""), 0, 0, 1, false, f));
  EXPECT_EQ(f.left, 0);
}

TEST(ImageTableTest, SlotsAreReusedAndTheTableNeverGrowsPastItsSize) {
  ImageTable t;
  EXPECT_TRUE(t.Record(0, false, 101));
  EXPECT_TRUE(t.Record(0, false, 102));
  EXPECT_EQ(t.count, 2);
  EXPECT_TRUE(t.Record(101, true, 103)); // the variable held 101
  EXPECT_EQ(t.count, 2);
  EXPECT_EQ(t.slots[0], 103u);
  // A bitmap the table never held: the new one still gets a slot.
  EXPECT_TRUE(t.Record(555, true, 104));
  EXPECT_EQ(t.count, 3);
  for (int i = 3; i < kImageTableSize; ++i) ASSERT_TRUE(t.Record(0, false, 1000 + i));
  EXPECT_EQ(t.count, kImageTableSize);
  EXPECT_FALSE(t.Record(0, false, 9999));
  EXPECT_EQ(t.count, kImageTableSize);
  EXPECT_TRUE(t.Record(104, true, 105)); // reuse still works when full
  EXPECT_EQ(t.slots[2], 105u);
}

TEST(SegmentQueueTest, GrowsInsteadOfOverwritingAndKeepsOrder) {
  gfx::SegmentQueue q;
  // Interleave pops so that the ring wraps before it has to grow.
  int next = 0, expected = 0;
  for (int i = 0; i < 1500; ++i) q.Push({next++, 0, 0, 0});
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(q.Pop().left, expected++);
  for (int i = 0; i < 6000; ++i) q.Push({next++, 0, 0, 0});
  EXPECT_GT(q.Capacity(), gfx::SegmentQueue::kInitial);
  while (!q.Empty()) ASSERT_EQ(q.Pop().left, expected++);
  EXPECT_EQ(expected, next);
}

// A canvas of COLORREFs for the flood fill.
struct TestCanvas {
  int w, h;
  std::vector<uint32_t> px;
  size_t rows = 0;
  TestCanvas(int width, int height, uint32_t c) : w(width), h(height), px(width * height, c) {}
  int32_t Width() const { return w; }
  int32_t Height() const { return h; }
  uint32_t &At(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
  uint32_t Get(int32_t x, int32_t y) const {
    EXPECT_TRUE(x >= 0 && y >= 0 && x < w && y < h) << x << "," << y;
    return px[static_cast<size_t>(y) * w + x];
  }
  uint32_t fill = 0;
  void Row(int32_t l, int32_t r, int32_t y) {
    ++rows;
    ASSERT_TRUE(l >= 0 && r < w && l <= r && y >= 0 && y < h);
    for (int x = l; x <= r; ++x) At(x, y) = fill;
  }
  void Box(int l, int t, int r, int b, uint32_t c) { // outline, inclusive
    for (int x = l; x <= r; ++x) At(x, t) = At(x, b) = c;
    for (int y = t; y <= b; ++y) At(l, y) = At(r, y) = c;
  }
  int Count(uint32_t c) const {
    int n = 0;
    for (uint32_t p : px) n += p == c;
    return n;
  }
};

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlack = 0, kNoBorder = 0x000001;

TEST(FloodFillTest, ABorderedBoxFillsOnlyItsInside) {
  TestCanvas c(60, 40, kBlack);
  c.Box(10, 5, 30, 25, kGreen);
  c.fill = kRed;
  gfx::FloodFill(c, 20, 15, kRed, kGreen);
  EXPECT_EQ(c.Count(kRed), 19 * 19);
  EXPECT_EQ(c.At(11, 6), kRed);
  EXPECT_EQ(c.At(29, 24), kRed);
  EXPECT_EQ(c.At(9, 15), kBlack);
  EXPECT_EQ(c.At(10, 15), kGreen);
}

TEST(FloodFillTest, WithoutABorderTheWholeCanvasFillsOverOtherColours) {
  TestCanvas c(60, 40, kBlack);
  c.Box(10, 5, 30, 25, kGreen);
  c.fill = kRed;
  gfx::FloodFill(c, 0, 0, kRed, kNoBorder);
  EXPECT_EQ(c.Count(kRed), 60 * 40);
  // A pixel of the no-border colour 0x000001 does stop it.
  TestCanvas d(20, 20, kBlack);
  for (int y = 0; y < 20; ++y) d.At(10, y) = kNoBorder;
  d.fill = kRed;
  gfx::FloodFill(d, 0, 0, kRed, kNoBorder);
  EXPECT_EQ(d.Count(kRed), 10 * 20);
}

TEST(FloodFillTest, ASeedOfTheFillColourOrOutsideDoesNothing) {
  TestCanvas c(30, 30, kRed);
  c.At(5, 5) = kBlack;
  c.fill = kRed;
  gfx::FloodFill(c, 0, 0, kRed, kGreen);
  EXPECT_EQ(c.rows, 0u);
  EXPECT_EQ(c.At(5, 5), kBlack);
  gfx::FloodFill(c, -1, 3, kGreen, kRed);
  gfx::FloodFill(c, 3, 30, kGreen, kRed);
  EXPECT_EQ(c.rows, 0u);
}

// Every pixel reachable from the seed through 4-neighbours that are not
// border, as a plain search finds them.
int Reachable(TestCanvas c, int x, int y, uint32_t border) {
  std::vector<std::pair<int, int>> stack{{x, y}};
  std::vector<bool> seen(c.px.size());
  int n = 0;
  while (!stack.empty()) {
    auto [px, py] = stack.back();
    stack.pop_back();
    if (px < 0 || py < 0 || px >= c.w || py >= c.h) continue;
    size_t i = static_cast<size_t>(py) * c.w + px;
    if (seen[i] || c.px[i] == border) continue;
    seen[i] = true;
    ++n;
    stack.push_back({px + 1, py});
    stack.push_back({px - 1, py});
    stack.push_back({px, py + 1});
    stack.push_back({px, py - 1});
  }
  return n;
}

TEST(FloodFillTest, AJaggedRegionBeyondTwoThousandSegmentsFillsCompletely) {
  // An open top row over a comb of 3000 one-pixel columns: scanning the
  // row below the first span queues 3000 segments at once. Every fourth
  // tooth has a gap, so that spans also run back into their parents' rows.
  const int w = 6001, h = 40;
  TestCanvas c(w, h, kBlack);
  for (int x = 1; x < w; x += 2)
    for (int y = 1; y < h; ++y)
      if (!(x % 8 == 1 && y == h / 2)) c.At(x, y) = kGreen;
  const int expected = Reachable(c, 0, 0, kGreen);
  c.fill = kRed;
  gfx::FloodFill(c, 0, 0, kRed, kGreen);
  EXPECT_EQ(c.Count(kRed), expected);
  EXPECT_EQ(expected, w + 3001 * (h - 1) + 750);
}

} // namespace
