// State of the GDI shared by its files: one table of objects (bitmaps, pens,
// brushes, fonts, device contexts) behind one small mutex, and the canvas
// through which a drawing call reaches the pixels of a context. The table
// mutex is held only to look up or change object state, never while pixels
// are touched; pixels have a lock of their own (the bitmap's or the window
// backing store's), taken once per call.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/pixels.h"
#include "platform/print_device.h"
#include "platform/wingdi.h"

namespace platform::font {
class Font;
}

namespace platform::gdi {

// The pixels of a bitmap.
struct Surface {
  std::mutex mutex; // held while a call reads or writes the pixels
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels; // 0x00RRGGBB, rows top to bottom
  HDC selectedIn = 0;           // guarded by the table mutex
  PixelView View() { return {pixels.data(), width, height, width}; }
};

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF colour = 0;
};

struct BrushData {
  bool null = false;
  COLORREF colour = 0;
};

struct FontData {
  LOGFONTA logfont;
  std::shared_ptr<font::Font> font; // null while no font renderer is built in
};

enum class DeviceKind { kMemory, kWindow, kPrinter };

struct DeviceContext {
  DeviceKind kind = DeviceKind::kMemory;
  HWND hwnd = 0;                        // window contexts
  std::shared_ptr<WindowPixels> store;  // window contexts
  HBITMAP bitmap = 0;                   // memory contexts
  std::shared_ptr<Surface> surface;     // memory contexts
  std::unique_ptr<PrintDevice> printer; // printer contexts
  HPEN pen = 0;
  PenData penData;
  HBRUSH brush = 0;
  BrushData brushData;
  HFONT font = 0;
  std::shared_ptr<FontData> fontData;
  POINT position;
  COLORREF textColour = 0x000000;
  COLORREF bkColour = 0xFFFFFF;
  int bkMode = OPAQUE;
};

struct Object {
  DWORD type = 0; // OBJ_BITMAP, OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_MEMDC, OBJ_DC
  bool stock = false;
  std::shared_ptr<Surface> surface;
  PenData pen;
  BrushData brush;
  std::shared_ptr<FontData> font;
  std::shared_ptr<DeviceContext> dc;
};

struct Table {
  std::mutex mutex;
  std::unordered_map<uint32_t, Object> objects;
  uint32_t lastHandle = 0;
};

// The one table (never destroyed, so threads ending during process exit
// still find it), with the stock objects in it.
Table &T();

// All below: the caller holds T().mutex.
Object *FindObject(Table &t, uint32_t handle);
DeviceContext *FindDC(Table &t, HDC hdc);
uint32_t AddObject(Table &t, Object object);
// A zero-filled (black) bitmap of WIDTH x HEIGHT (0 on either side gives
// 1x1, as on Windows); null for negative or absurd sizes (more than 64M
// pixels) and when memory runs out. AddBitmap enters it in the table (it
// takes the table mutex itself) and gives 0 for null.
std::shared_ptr<Surface> MakeSurface(int width, int height);
HBITMAP AddBitmap(std::shared_ptr<Surface> surface);
// The handle of the 1x1 bitmap a memory context starts with.
HBITMAP DefaultBitmap();
// The stock objects a new context starts with.
HPEN DefaultPen();
HBRUSH DefaultBrush();
HFONT DefaultFont();

// The pixels a drawing call works on, locked for the call's lifetime. For a
// window context every figure widens the rectangle reported to the display
// driver when the canvas closes.
class Canvas {
public:
  // Opens the canvas of HDC; Ok() is false for no context, a printer, or a
  // memory context without a real bitmap.
  explicit Canvas(HDC hdc) : Canvas(hdc, true) {}
  // With LOCK false the pixels are locked later, by LockBoth.
  Canvas(HDC hdc, bool lock);
  // Locks the pixels of two canvases without deadlock (once when they share
  // them).
  static void LockBoth(Canvas &a, Canvas &b);
  ~Canvas();
  Canvas(const Canvas &) = delete;
  Canvas &operator=(const Canvas &) = delete;

  bool Ok() const { return ok_; }
  // False only when HDC is no context at all.
  bool Valid() const { return valid_; }
  const PixelView &View() const { return view_; }
  // The state of the context when the canvas opened.
  const PenData &Pen() const { return pen_; }
  const BrushData &Brush() const { return brush_; }
  POINT Position() const { return position_; }
  // Records that pixels within R (exclusive right and bottom) changed.
  void Touch(const RECT &r);
  // For a canvas opened without its lock: fills the rectangle L, T, R, B
  // with PIXEL when it covers the whole of a window's backing store that
  // is still one colour, which then simply takes PIXEL; false (and nothing
  // done) otherwise.
  bool FillUniform(int64_t l, int64_t t, int64_t r, int64_t b, uint32_t pixel);
  // Locks the pixels of a canvas opened without its lock.
  void Lock();

private:
  std::mutex *PixelMutex();
  void TakeView();
  bool valid_ = false;
  bool ok_ = false;
  std::shared_ptr<Surface> surface_;
  std::shared_ptr<WindowPixels> store_;
  std::unique_lock<std::mutex> lock_;
  PixelView view_;
  PenData pen_;
  BrushData brush_;
  POINT position_;
  RECT touched_; // empty while left >= right
};

// Sets the current position of HDC (LineTo, MoveToEx).
void SetPosition(HDC hdc, POINT p);

// ---- Rasterisation on a locked view, clipped to it ----

// Fills [x0, x1) on row Y.
void FillSpan(const PixelView &v, int y, int64_t x0, int64_t x1, uint32_t pixel);
// Fills the rectangle [l, r) x [t, b) (any values; clipped).
void FillBox(const PixelView &v, int64_t l, int64_t t, int64_t r, int64_t b, uint32_t pixel);
// Plots one pixel with a pen of WIDTH (1: the pixel alone; more: a square of
// that side centred on it).
void Plot(const PixelView &v, int64_t x, int64_t y, int width, uint32_t pixel);
// The pixels of a line from (x0, y0) towards (x1, y1), end point excluded,
// as GDI draws them; calls PLOT for each one inside CLIP (a box that a pen of
// the given width can touch: only those steps are walked).
template <typename F>
void WalkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const RECT &clip, F &&plot);
// Draws that line with the pen; returns the rectangle it may have touched.
RECT DrawLine(const PixelView &v, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
              const PenData &pen);

// Bounding rectangle helpers (exclusive right and bottom, clamped to int).
RECT BoundsOf(int64_t l, int64_t t, int64_t r, int64_t b);

} // namespace platform::gdi

#include "platform/gdi_line_walk.h"
