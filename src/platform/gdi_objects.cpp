// The object table: stock objects, pens, brushes, bitmaps and fonts, their
// selection into contexts and their deletion.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/gdi_internal.h"

namespace platform::gdi {
namespace {

// Stock handles sit in a range of their own, below every created handle.
constexpr uint32_t kStockBase = 0x008A0000;
constexpr int kDefaultBitmapIndex = 21;
constexpr uint32_t kFirstHandle = 0x01000000;
constexpr uint32_t kLastHandle = 0x7FFFFFF0;
// The largest bitmap made (64M pixels, 256 MB).
constexpr int64_t kMaxPixels = int64_t{64} << 20;

uint32_t StockHandle(int index) {
  return kStockBase + static_cast<uint32_t>(index) * 4;
}

Object StockBrush(bool null, COLORREF colour) {
  Object o;
  o.type = OBJ_BRUSH;
  o.stock = true;
  o.brush = {null, colour};
  return o;
}

Object StockPen(int style, COLORREF colour) {
  Object o;
  o.type = OBJ_PEN;
  o.stock = true;
  o.pen = {style, 1, colour};
  return o;
}

Object StockFont(LONG height, const char *face) {
  Object o;
  o.type = OBJ_FONT;
  o.stock = true;
  o.font = std::make_shared<FontData>();
  o.font->logfont.lfHeight = height;
  o.font->logfont.lfCharSet = SHIFTJIS_CHARSET;
  std::strncpy(o.font->logfont.lfFaceName, face, LF_FACESIZE - 1);
  return o;
}

void AddStock(Table &t) {
  t.objects[StockHandle(WHITE_BRUSH)] = StockBrush(false, 0xFFFFFF);
  t.objects[StockHandle(LTGRAY_BRUSH)] = StockBrush(false, 0xC0C0C0);
  t.objects[StockHandle(GRAY_BRUSH)] = StockBrush(false, 0x808080);
  t.objects[StockHandle(DKGRAY_BRUSH)] = StockBrush(false, 0x404040);
  t.objects[StockHandle(BLACK_BRUSH)] = StockBrush(false, 0x000000);
  t.objects[StockHandle(NULL_BRUSH)] = StockBrush(true, 0);
  t.objects[StockHandle(WHITE_PEN)] = StockPen(PS_SOLID, 0xFFFFFF);
  t.objects[StockHandle(BLACK_PEN)] = StockPen(PS_SOLID, 0x000000);
  t.objects[StockHandle(NULL_PEN)] = StockPen(PS_NULL, 0);
  t.objects[StockHandle(SYSTEM_FONT)] = StockFont(16, "System");
  t.objects[StockHandle(DEFAULT_GUI_FONT)] = StockFont(-12, "MS UI Gothic");
  Object bitmap;
  bitmap.type = OBJ_BITMAP;
  bitmap.stock = true;
  bitmap.surface = std::make_shared<Surface>();
  bitmap.surface->width = bitmap.surface->height = 1;
  bitmap.surface->pixels.assign(1, 0);
  t.objects[StockHandle(kDefaultBitmapIndex)] = std::move(bitmap);
}

} // namespace

Table &T() {
  static Table *t = [] {
    auto *table = new Table;
    AddStock(*table);
    return table;
  }();
  return *t;
}

Object *FindObject(Table &t, uint32_t handle) {
  auto it = t.objects.find(handle);
  return it == t.objects.end() ? nullptr : &it->second;
}

DeviceContext *FindDC(Table &t, HDC hdc) {
  Object *o = FindObject(t, hdc);
  return o && o->dc ? o->dc.get() : nullptr;
}

uint32_t AddObject(Table &t, Object object) {
  // Handles grow and wrap, skipping those in use, so that a deleted
  // object's handle is not handed out again soon.
  for (;;) {
    t.lastHandle += 4;
    if (t.lastHandle < kFirstHandle || t.lastHandle >= kLastHandle) t.lastHandle = kFirstHandle;
    if (!t.objects.contains(t.lastHandle)) break;
  }
  t.objects[t.lastHandle] = std::move(object);
  return t.lastHandle;
}

HBITMAP DefaultBitmap() {
  return StockHandle(kDefaultBitmapIndex);
}
HPEN DefaultPen() {
  return StockHandle(BLACK_PEN);
}
HBRUSH DefaultBrush() {
  return StockHandle(WHITE_BRUSH);
}
HFONT DefaultFont() {
  return StockHandle(SYSTEM_FONT);
}

std::shared_ptr<Surface> MakeSurface(int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) width = height = 1; // as Windows: a 1x1 bitmap
  if (static_cast<int64_t>(width) * height > kMaxPixels) return nullptr;
  try {
    auto s = std::make_shared<Surface>();
    s->width = width;
    s->height = height;
    s->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return s;
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

HBITMAP AddBitmap(std::shared_ptr<Surface> surface) {
  if (!surface) return 0;
  Object o;
  o.type = OBJ_BITMAP;
  o.surface = std::move(surface);
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  return AddObject(t, std::move(o));
}

} // namespace platform::gdi

using namespace platform::gdi;

HGDIOBJ GetStockObject(int object) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (object < 0 || object >= 32) return 0;
  uint32_t h = kStockBase + static_cast<uint32_t>(object) * 4;
  return object != 21 && FindObject(t, h) ? h : 0;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
  if (style != PS_SOLID && style != PS_NULL) style = PS_SOLID; // dashes are drawn solid
  Object o;
  o.type = OBJ_PEN;
  // Width 0 is one pixel, as on Windows; absurd widths are limited so that
  // one stamp stays cheap.
  o.pen = {style, std::clamp(width, 1, 256), colour & 0xFFFFFF};
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  return AddObject(t, std::move(o));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  Object o;
  o.type = OBJ_BRUSH;
  o.brush = {false, colour & 0xFFFFFF};
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  return AddObject(t, std::move(o));
}

HFONT CreateFontIndirectA(const LOGFONTA *font) {
  if (!font) return 0;
  Object o;
  o.type = OBJ_FONT;
  o.font = std::make_shared<FontData>();
  o.font->logfont = *font;
  o.font->logfont.lfFaceName[LF_FACESIZE - 1] = '\0';
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  return AddObject(t, std::move(o));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  {
    Table &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    DeviceContext *dc = hdc ? FindDC(t, hdc) : nullptr;
    if (hdc && (!dc || dc->kind == DeviceKind::kPrinter)) return 0;
  }
  // Always 32-bit colour, also for a fresh memory context (where Windows
  // would give a monochrome bitmap, which no program here wants).
  return AddBitmap(MakeSurface(width, height));
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, hdc);
  Object *o = FindObject(t, object);
  if (!dc || !o) return 0;
  HGDIOBJ previous = 0;
  switch (o->type) {
  case OBJ_BITMAP: {
    if (dc->kind != DeviceKind::kMemory) return 0;
    if (object == dc->bitmap) return object;
    // A bitmap is selected into one context at a time (the stock 1x1
    // bitmap into any number).
    if (!o->stock && o->surface->selectedIn != 0) return 0;
    previous = dc->bitmap;
    if (Object *old = FindObject(t, previous); old && !old->stock && old->surface)
      old->surface->selectedIn = 0;
    if (!o->stock) o->surface->selectedIn = hdc;
    dc->bitmap = object;
    dc->surface = o->stock ? nullptr : o->surface;
    return previous;
  }
  case OBJ_PEN:
    previous = dc->pen;
    dc->pen = object;
    dc->penData = o->pen;
    return previous;
  case OBJ_BRUSH:
    previous = dc->brush;
    dc->brush = object;
    dc->brushData = o->brush;
    return previous;
  case OBJ_FONT:
    previous = dc->font;
    dc->font = object;
    dc->fontData = o->font;
    return previous;
  default:
    return 0;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  Object *o = FindObject(t, object);
  if (!o || o->dc) return FALSE;
  if (o->stock) return TRUE; // stock objects are never deleted
  // A selected bitmap stays; pens, brushes and fonts may go while selected
  // (the context keeps drawing with what it copied).
  if (o->type == OBJ_BITMAP && o->surface->selectedIn != 0) return FALSE;
  t.objects.erase(object);
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, void *buffer) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  Object *o = FindObject(t, object);
  if (!o || size < 0) return 0;
  if (o->type == OBJ_BITMAP) {
    if (!buffer) return sizeof(BITMAP);
    BITMAP bm;
    bm.bmType = 0;
    bm.bmWidth = o->surface->width;
    bm.bmHeight = o->surface->height;
    bm.bmWidthBytes = o->surface->width * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    bm.bmBits = nullptr;
    int n = std::min<int>(size, sizeof(BITMAP));
    std::memcpy(buffer, &bm, static_cast<size_t>(n));
    return n;
  }
  if (o->type == OBJ_FONT) {
    if (!buffer) return sizeof(LOGFONTA);
    int n = std::min<int>(size, sizeof(LOGFONTA));
    std::memcpy(buffer, &o->font->logfont, static_cast<size_t>(n));
    return n;
  }
  return 0;
}

DWORD GetObjectType(HGDIOBJ object) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  Object *o = FindObject(t, object);
  return o ? o->type : 0;
}
