// GDI objects and contexts: selection and deletion rules, stock objects,
// bitmaps, block transfers clipped at every edge, pattern fills, window
// contexts drawing into backing stores, text through contexts.
#include "platform/gdi_surface.h"
#include "platform/pixels.h"
#include "platform/print_device.h"
#include "platform/wingdi.h"
#include "platform/winuser_window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A memory context with a WIDTH x HEIGHT bitmap filled with FILL.
struct Mem {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  Mem(int w, int h, COLORREF fill) {
    dc = CreateCompatibleDC(0);
    bitmap = CreateCompatibleBitmap(dc, w, h);
    old = SelectObject(dc, bitmap);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  ~Mem() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

TEST(GdiObjects, SelectionAndDeletion) {
  HDC dc = CreateCompatibleDC(0);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
  HBITMAP a = CreateCompatibleBitmap(dc, 30, 20);
  HGDIOBJ initial = SelectObject(dc, a);
  EXPECT_NE(initial, 0u); // the 1x1 bitmap every memory context starts with
  BITMAP bm;
  ASSERT_EQ(GetObjectA(a, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 30);
  EXPECT_EQ(bm.bmHeight, 20);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmPlanes, 1);
  EXPECT_EQ(bm.bmWidthBytes, 120);
  // A selected bitmap can be neither deleted nor selected elsewhere.
  EXPECT_FALSE(DeleteObject(a));
  HDC other = CreateCompatibleDC(dc);
  EXPECT_EQ(SelectObject(other, a), 0u);
  EXPECT_EQ(SelectObject(dc, initial), a);
  EXPECT_EQ(SelectObject(other, a), initial);
  // Deleting the context frees the bitmap.
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_TRUE(DeleteObject(a));
  EXPECT_EQ(GetObjectA(a, sizeof bm, &bm), 0);
  EXPECT_EQ(GetObjectType(a), 0u);
  EXPECT_FALSE(DeleteObject(a));
  // Numbers that are no object, and contexts passed to DeleteObject.
  EXPECT_EQ(GetObjectA(12345, sizeof bm, &bm), 0);
  EXPECT_FALSE(DeleteObject(dc));
  EXPECT_EQ(SelectObject(dc, 12345), 0u);
  // Pens and brushes: the previous one comes back; stock objects survive.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, oldPen), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), OBJ_BRUSH);
  EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), OBJ_PEN);
  EXPECT_EQ(GetStockObject(999), 0u);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  // Sizes: zero gives 1x1, negative and absurd fail.
  HBITMAP z = CreateCompatibleBitmap(0, 0, 5);
  ASSERT_EQ(GetObjectA(z, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  DeleteObject(z);
  EXPECT_EQ(CreateCompatibleBitmap(0, -1, 5), 0u);
  EXPECT_EQ(CreateCompatibleBitmap(0, 100000, 100000), 0u);
  EXPECT_EQ(CreateCompatibleBitmap(777, 5, 5), 0u);
}

TEST(GdiObjects, DrawingWithoutBitmapOrContext) {
  HDC dc = CreateCompatibleDC(0);
  EXPECT_EQ(platform::SurfacePixels(dc).pixels, nullptr);
  EXPECT_TRUE(LineTo(dc, 5, 5));
  POINT p;
  EXPECT_TRUE(MoveToEx(dc, 1, 2, &p));
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  DeleteDC(dc);
  EXPECT_FALSE(LineTo(dc, 1, 1));
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
  EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
}

TEST(GdiBlit, RasterOperations) {
  Mem src(4, 4, RGB(0x0F, 0xF0, 0x33)), dst(4, 4, RGB(0xF0, 0x0F, 0x11));
  auto at = [&](HDC dc) { return GetPixel(dc, 1, 1); };
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCPAINT));
  EXPECT_EQ(at(dst.dc), RGB(0xFF, 0xFF, 0x33));
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCAND);
  EXPECT_EQ(at(dst.dc), RGB(0x0F, 0xF0, 0x33));
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(at(dst.dc), RGB(0, 0, 0));
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCINVERT);
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCINVERT); // twice restores
  EXPECT_EQ(at(dst.dc), RGB(0, 0, 0));
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(at(dst.dc), RGB(0x0F, 0xF0, 0x33));
  EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 0x12345678));
  // Pattern operations through PatBlt and BitBlt alike.
  PatBlt(dst.dc, 0, 0, 4, 4, DSTINVERT);
  EXPECT_EQ(at(dst.dc), RGB(0xF0, 0x0F, 0xCC));
  BitBlt(dst.dc, 0, 0, 4, 4, 0, 0, 0, BLACKNESS);
  EXPECT_EQ(at(dst.dc), RGB(0, 0, 0));
  SelectObject(dst.dc, GetStockObject(GRAY_BRUSH));
  PatBlt(dst.dc, 2, 2, -2, -2, PATCOPY); // negative sizes extend up and left
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(GetPixel(dst.dc, 2, 2), RGB(0, 0, 0));
  PatBlt(dst.dc, 0, 0, 1, 1, PATINVERT);
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(0, 0, 0));
}

TEST(GdiBlit, ClipsAtEveryEdge) {
  // Source: pixel (x, y) has the colour x + 16 y.
  Mem src(8, 8, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) SetPixel(src.dc, x, y, static_cast<COLORREF>(x + 16 * y));
  struct Blit {
    int x, y, w, h, sx, sy;
  };
  for (Blit b :
       {Blit{-3, -2, 8, 8, 0, 0}, Blit{5, 6, 8, 8, 0, 0}, Blit{0, 0, 8, 8, -4, -5},
        Blit{0, 0, 8, 8, 5, 3}, Blit{2, 2, 100000, 100000, 0, 0}, Blit{6, 6, -4, -3, 6, 6},
        Blit{INT32_MIN, 0, 8, 8, 0, 0}, Blit{0, 0, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}}) {
    SCOPED_TRACE(std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.w) + "x" +
                 std::to_string(b.h) + " from " + std::to_string(b.sx) + "," +
                 std::to_string(b.sy));
    Mem dst(8, 8, RGB(255, 255, 255));
    ASSERT_TRUE(BitBlt(dst.dc, b.x, b.y, b.w, b.h, src.dc, b.sx, b.sy, SRCCOPY));
    int64_t x0 = b.x, y0 = b.y, sx0 = b.sx, sy0 = b.sy, w = b.w, h = b.h;
    if (w < 0) x0 += w, sx0 += w, w = -w;
    if (h < 0) y0 += h, sy0 += h, h = -h;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        int64_t sx = x - x0 + sx0, sy = y - y0 + sy0;
        bool inside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h && sx >= 0 && sx < 8 &&
                      sy >= 0 && sy < 8;
        COLORREF want = inside ? static_cast<COLORREF>(sx + 16 * sy) : RGB(255, 255, 255);
        ASSERT_EQ(GetPixel(dst.dc, x, y), want) << "at " << x << "," << y;
      }
  }
}

TEST(GdiBlit, OverlappingWithinOneSurface) {
  Mem m(10, 1, 0);
  for (int x = 0; x < 10; ++x) SetPixel(m.dc, x, 0, static_cast<COLORREF>(x));
  BitBlt(m.dc, 2, 0, 8, 1, m.dc, 0, 0, SRCCOPY); // scroll right by two
  for (int x = 2; x < 10; ++x) EXPECT_EQ(GetPixel(m.dc, x, 0), static_cast<COLORREF>(x - 2));
  BitBlt(m.dc, -2, 0, 10, 1, m.dc, 0, 0, SRCCOPY); // and back left
  for (int x = 0; x < 8; ++x) EXPECT_EQ(GetPixel(m.dc, x, 0), static_cast<COLORREF>(x));
}

TEST(GdiFigures, LargeAndOddCoordinatesStayInside) {
  Mem m(16, 16, RGB(255, 255, 255));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(m.dc, red);
  MoveToEx(m.dc, INT32_MIN, INT32_MIN, nullptr);
  EXPECT_TRUE(LineTo(m.dc, INT32_MAX, INT32_MAX));
  EXPECT_EQ(GetPixel(m.dc, 5, 5), RGB(0, 0, 0)); // the diagonal crosses the view
  EXPECT_TRUE(Rectangle(m.dc, -1000000000, -5, 1000000000, 8));
  EXPECT_TRUE(Ellipse(m.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX)); // too large: nothing
  EXPECT_TRUE(Ellipse(m.dc, -20, -20, 20, 20));
  EXPECT_TRUE(Pie(m.dc, -20, -20, 40, 40, 0, 0, 0, 0));
  EXPECT_TRUE(Arc(m.dc, 3, 3, 3, 3, 1, 1, 2, 2));
  EXPECT_TRUE(PatBlt(m.dc, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, PATCOPY));
  RECT r{-5, -5, 1 << 30, 1 << 30};
  EXPECT_TRUE(FillRect(m.dc, &r, red));
  EXPECT_EQ(GetPixel(m.dc, 15, 15), RGB(255, 0, 0));
  // A wide pen stamps around each pixel of the line, clipped to the view.
  HPEN wide = CreatePen(PS_SOLID, 5, RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(m.dc, wide);
  MoveToEx(m.dc, 0, 8, nullptr);
  LineTo(m.dc, 16, 8);
  EXPECT_EQ(GetPixel(m.dc, 3, 6), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(m.dc, 3, 10), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(m.dc, 3, 11), RGB(255, 0, 0));
  SelectObject(m.dc, old);
  DeleteObject(wide);
  SelectObject(m.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

// A plain top-level window of WIDTH x HEIGHT, of a class registered once.
HWND TestWindow(int width, int height) {
  static const bool registered = [] {
    WNDCLASSEXA wc;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = [](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT { return msg == WM_NCCREATE; };
    wc.lpszClassName = "GdiTestClass";
    return RegisterClassExA(&wc) != 0;
  }();
  return registered
             ? CreateWindowExA(0, "GdiTestClass", "", 0, 0, 0, width, height, 0, 0, 0, nullptr)
             : 0;
}

TEST(GdiWindow, ContextsDrawIntoTheBackingStore) {
  HWND hwnd = TestWindow(40, 30);
  ASSERT_NE(hwnd, 0u);
  auto store = platform::WindowBackingStore(hwnd);
  ASSERT_TRUE(store);
  {
    std::lock_guard<std::mutex> lock(store->mutex);
    EXPECT_EQ(store->width, 40);
    EXPECT_EQ(store->height, 30);
    store->dirty = RECT{};
  }
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetObjectType(dc), OBJ_DC);
  MoveToEx(dc, 5, 6, nullptr);
  LineTo(dc, 15, 6);
  EXPECT_EQ(GetPixel(dc, 14, 6), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 40, 0), CLR_INVALID);
  {
    std::lock_guard<std::mutex> lock(store->mutex);
    EXPECT_EQ(store->pixels[6 * 40 + 5], 0u);
    EXPECT_LE(store->dirty.left, 5);
    EXPECT_GE(store->dirty.right, 15);
    EXPECT_LE(store->dirty.top, 6);
    EXPECT_GT(store->dirty.bottom, 6);
  }
  // Memory to window and back.
  Mem m(40, 30, RGB(9, 8, 7));
  BitBlt(dc, 0, 0, 40, 30, m.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(dc, 39, 29), RGB(9, 8, 7));
  SetPixel(dc, 1, 1, RGB(1, 1, 1));
  BitBlt(m.dc, 0, 0, 40, 30, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(m.dc, 1, 1), RGB(1, 1, 1));
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
  // BeginPaint validates the window.
  InvalidateRect(hwnd, nullptr, FALSE);
  PAINTSTRUCT ps;
  HDC paint = BeginPaint(hwnd, &ps);
  ASSERT_NE(paint, 0u);
  EXPECT_EQ(ps.rcPaint.right, 40);
  EXPECT_TRUE(EndPaint(hwnd, &ps));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE));
  // A destroyed window has no store and gives no context; the store held
  // here stays valid.
  DestroyWindow(hwnd);
  EXPECT_FALSE(platform::WindowBackingStore(hwnd));
  EXPECT_EQ(GetDC(hwnd), 0u);
  std::lock_guard<std::mutex> lock(store->mutex);
  EXPECT_EQ(store->pixels.size(), 40u * 30u);
}

// A store that is only ever filled whole holds no pixels; the first other
// drawing, a read or a size that gains another colour makes them.
TEST(GdiWindow, AStoreFilledWholeStaysOneColour) {
  HWND hwnd = TestWindow(40, 30);
  ASSERT_NE(hwnd, 0u);
  auto store = platform::WindowBackingStore(hwnd);
  ASSERT_TRUE(store);
  auto holds = [&] {
    std::lock_guard<std::mutex> lock(store->mutex);
    return store->HasPixels();
  };
  HDC dc = GetDC(hwnd);
  HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(PatBlt(dc, 0, 0, 40, 30, PATCOPY));
  EXPECT_FALSE(holds());
  SelectObject(dc, grey);
  EXPECT_TRUE(PatBlt(dc, 50, 40, -60, -50, PATCOPY)) << "beyond every edge, drawn backwards";
  EXPECT_FALSE(holds());
  {
    std::lock_guard<std::mutex> lock(store->mutex);
    EXPECT_EQ(store->uniform, platform::PixelOf(RGB(90, 90, 90)));
    EXPECT_EQ(store->dirty.right, 40);
    EXPECT_EQ(store->dirty.bottom, 30);
  }
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(PatBlt(dc, 0, 0, 10, 10, PATCOPY));
  EXPECT_TRUE(holds());
  EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(90, 90, 90));
  // Once made, a whole fill writes them.
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(PatBlt(dc, 0, 0, 40, 30, PATCOPY));
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));

  // A one-colour store that grows shows blank where it grew.
  HWND other = TestWindow(20, 10);
  auto second = platform::WindowBackingStore(other);
  HDC odc = GetDC(other);
  SelectObject(odc, grey);
  PatBlt(odc, 0, 0, 20, 10, PATCOPY);
  MoveWindow(other, 0, 0, 10, 5, FALSE);
  ASSERT_TRUE(platform::WindowBackingStore(other));
  {
    std::lock_guard<std::mutex> lock(second->mutex);
    EXPECT_FALSE(second->HasPixels()) << "a smaller store of one colour stays one";
  }
  MoveWindow(other, 0, 0, 30, 20, FALSE);
  ASSERT_TRUE(platform::WindowBackingStore(other));
  ReleaseDC(other, odc);
  odc = GetDC(other);
  EXPECT_EQ(GetPixel(odc, 9, 4), RGB(90, 90, 90));
  EXPECT_EQ(GetPixel(odc, 25, 15), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(odc, 5, 15), RGB(255, 255, 255));
  ReleaseDC(other, odc);
  ReleaseDC(hwnd, dc);
  DeleteObject(grey);
  DestroyWindow(other);
  DestroyWindow(hwnd);
}

TEST(GdiText, FontsThroughContexts) {
  Mem m(64, 32, RGB(255, 255, 255));
  LOGFONTA lf;
  lf.lfHeight = -16;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  HFONT font = CreateFontIndirectA(&lf);
  ASSERT_NE(font, 0u);
  LOGFONTA back;
  EXPECT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(back.lfHeight, -16);
  HGDIOBJ old = SelectObject(m.dc, font);
  EXPECT_EQ(old, GetStockObject(SYSTEM_FONT));
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetricsA(m.dc, &tm));
  EXPECT_GT(tm.tmHeight, 10);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32A(m.dc, "AB", 2, &size));
  EXPECT_EQ(size.cx, 2 * tm.tmAveCharWidth);
  SetTextColor(m.dc, RGB(0, 0, 255));
  EXPECT_EQ(SetBkMode(m.dc, TRANSPARENT), OPAQUE);
  ASSERT_TRUE(TextOutA(m.dc, 0, 0, "\x88\xa4", 2)); // a kanji
  int blue = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) blue += GetPixel(m.dc, x, y) == RGB(0, 0, 255);
  EXPECT_GT(blue, 10);
  EXPECT_EQ(GetPixel(m.dc, 40, 0), RGB(255, 255, 255)); // transparent beyond the glyph
  EXPECT_FALSE(TextOutA(m.dc, 0, 0, nullptr, 3));
  EXPECT_FALSE(GetTextMetricsA(12345, &tm));
  SelectObject(m.dc, old);
  DeleteObject(font);
}

// A printer device that records what reaches it.
class FakePrinter : public platform::PrintDevice {
public:
  std::string *log;
  explicit FakePrinter(std::string *l) : log(l) {}
  int GetDeviceCaps(int index) override { return index == LOGPIXELSX ? 600 : 0; }
  int StartDoc(const std::string &name) override { return *log += "doc " + name + ";", 1; }
  int StartPage() override { return 1; }
  int EndPage() override { return 1; }
  int EndDoc() override { return 1; }
  bool TextOut(int x, int y, std::string_view text, const LOGFONTA &, COLORREF, bool,
               COLORREF) override {
    *log += "text " + std::to_string(x) + "," + std::to_string(y) + " " + std::string(text);
    return true;
  }
};

TEST(GdiPrinter, DeviceHook) {
  std::string log;
  HDC dc = platform::MakePrinterDC(std::make_unique<FakePrinter>(&log));
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_TRUE(TextOutA(dc, 3, 4, "hi", 2));
  EXPECT_EQ(log, "text 3,4 hi");
  EXPECT_EQ(CreateCompatibleBitmap(dc, 4, 4), 0u);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(platform::MakePrinterDC(nullptr), 0u);
}

} // namespace
