// The window table's surfaces: made only when something draws, 1024
// windows at most, released with their pixels, and the first colour that a
// surface not made yet reads as.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "graphics/surface.h"

namespace {

class WindowTableTest : public EngineFixture {
protected:
  void SetUp() override {
    EngineFixture::SetUp();
    engine_->surfaceWidth = 64;
    engine_->surfaceHeight = 48;
  }
  void TearDown() override {
    engine_->windows.ReleaseAll();
    EngineFixture::TearDown();
  }
};

TEST_F(WindowTableTest, SurfacesAreMadeOnFirstUseInTheirFirstColour) {
  WindowTable &t = engine_->windows;
  ASSERT_TRUE(t.MakeSurface(5001, true));
  ASSERT_TRUE(t.MakeSurface(5002, false));
  HDC dc = 1;
  bool dark = false;
  ASSERT_TRUE(t.PeekSurface(5001, dc, dark));
  EXPECT_EQ(dc, 0u); // nothing drew yet: no pixels
  EXPECT_TRUE(dark);
  ASSERT_TRUE(t.PeekSurface(5002, dc, dark));
  EXPECT_FALSE(dark);
  // Copying a surface not made yet gives its first colour.
  HBITMAP bitmap = CreateCompatibleBitmap(0, 8, 8);
  HDC target = CreateCompatibleDC(0);
  SelectObject(target, bitmap);
  CopySurface(5002, target, 0, 0, 8, 8);
  EXPECT_EQ(GetPixel(target, 3, 3), 0xFFFFFFu);
  CopySurface(5001, target, 0, 0, 4, 4);
  EXPECT_EQ(GetPixel(target, 3, 3), 0x000000u);
  EXPECT_EQ(GetPixel(target, 5, 5), 0xFFFFFFu);
  // Drawing makes the surface, filled light for the light window.
  HDC made = t.Surface(5002);
  ASSERT_NE(made, 0u);
  EXPECT_EQ(t.Surface(5002), made); // once
  EXPECT_EQ(GetPixel(made, 63, 47), 0xFFFFFFu);
  EXPECT_EQ(GetPixel(made, 64, 47), CLR_INVALID); // the surface is screen-sized
  SetPixel(made, 1, 1, 0x0000FF);
  CopySurface(5002, target, 0, 0, 8, 8);
  EXPECT_EQ(GetPixel(target, 1, 1), 0x0000FFu);
  // Released: the entry, its context and bitmap are gone.
  t.ReleaseSurface(5002);
  EXPECT_EQ(t.FindEntry(5002), -1);
  EXPECT_EQ(GetObjectType(made), 0u);
  EXPECT_EQ(t.Surface(5002), 0u);
  DeleteDC(target);
  DeleteObject(bitmap);
  EXPECT_FALSE(TakeError());
}

TEST_F(WindowTableTest, The1025thWindowGetsNoEntry) {
  WindowTable &t = engine_->windows;
  for (HWND w = 1; w <= 1024; ++w) ASSERT_TRUE(t.MakeSurface(9000 + w, true)) << w;
  EXPECT_FALSE(TakeError());
  EXPECT_FALSE(t.MakeSurface(20000, true));
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(t.FindEntry(20000), -1);
  EXPECT_FALSE(t.MakeSurface(0, true)); // a null window
  EXPECT_TRUE(TakeError());
  // A freed entry is taken again.
  t.ReleaseSurface(9500);
  EXPECT_TRUE(t.MakeSurface(20000, false));
  EXPECT_EQ(t.FindEntry(20000), 499);
}

TEST_F(WindowTableTest, DrawingOnAWindowWithoutAnEntryIsAnError) {
  engine_->windows.SetCurrent(777);
  DrawTarget target;
  EXPECT_FALSE(CurrentTarget(target));
  EXPECT_TRUE(TakeError());
  ASSERT_TRUE(engine_->windows.MakeSurface(777, true));
  EXPECT_TRUE(CurrentTarget(target));
  EXPECT_NE(target.surface, 0u);
  EXPECT_NE(target.bitmap, 0u);
  EXPECT_FALSE(TakeError());
}

} // namespace
