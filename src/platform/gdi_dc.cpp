// Device contexts: memory, window and printer contexts, their attributes and
// device capabilities, and the canvas that gives a drawing call its pixels.
#include <algorithm>
#include <utility>

#include "platform/gdi_internal.h"
#include "platform/gdi_surface.h"
#include "platform/user_internal.h"

namespace platform::gdi {
namespace {

std::shared_ptr<DeviceContext> NewContext(DeviceKind kind) {
  auto dc = std::make_shared<DeviceContext>();
  dc->kind = kind;
  dc->pen = DefaultPen();
  dc->penData = {PS_SOLID, 1, 0x000000};
  dc->brush = DefaultBrush();
  dc->brushData = {false, 0xFFFFFF};
  dc->font = DefaultFont();
  if (Object *f = FindObject(T(), dc->font)) dc->fontData = f->font;
  if (kind == DeviceKind::kMemory) dc->bitmap = DefaultBitmap();
  return dc;
}

HDC AddContext(Table &t, std::shared_ptr<DeviceContext> dc) {
  Object o;
  o.type = dc->kind == DeviceKind::kMemory ? OBJ_MEMDC : OBJ_DC;
  o.dc = std::move(dc);
  return AddObject(t, std::move(o));
}

// Removes a context; a selected bitmap becomes free for other contexts.
// The printer device (if any) is handed back so that it is destroyed with
// the table unlocked.
std::unique_ptr<PrintDevice> RemoveContext(Table &t, HDC hdc) {
  Object *o = FindObject(t, hdc);
  std::unique_ptr<PrintDevice> device;
  if (!o || !o->dc) return device;
  if (Object *b = FindObject(t, o->dc->bitmap); b && !b->stock && b->surface)
    b->surface->selectedIn = 0;
  device = std::move(o->dc->printer);
  t.objects.erase(hdc);
  return device;
}

HDC MakeWindowDC(HWND hwnd) {
  auto store = WindowBackingStore(hwnd);
  if (!store) return 0;
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto dc = NewContext(DeviceKind::kWindow);
  dc->hwnd = hwnd;
  dc->store = std::move(store);
  return AddContext(t, std::move(dc));
}

BOOL ReleaseWindowDC(HWND hwnd, HDC hdc) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, hdc);
  if (!dc || dc->kind != DeviceKind::kWindow || (hwnd && dc->hwnd != hwnd)) return FALSE;
  RemoveContext(t, hdc);
  return TRUE;
}

} // namespace

Canvas::Canvas(HDC hdc, bool lock) {
  {
    Table &t = T();
    std::lock_guard<std::mutex> guard(t.mutex);
    DeviceContext *dc = FindDC(t, hdc);
    if (!dc) return;
    valid_ = true;
    surface_ = dc->surface;
    store_ = dc->store;
    pen_ = dc->penData;
    brush_ = dc->brushData;
    position_ = dc->position;
  }
  if (lock && PixelMutex()) {
    lock_ = std::unique_lock<std::mutex>(*PixelMutex());
    TakeView();
  }
}

std::mutex *Canvas::PixelMutex() {
  if (surface_) return &surface_->mutex;
  if (store_) return &store_->mutex;
  return nullptr;
}

bool Canvas::FillUniform(int64_t l, int64_t t, int64_t r, int64_t b, uint32_t pixel) {
  if (surface_ || !store_) return false;
  lock_ = std::unique_lock<std::mutex>(store_->mutex);
  if (store_->HasPixels() || l > 0 || t > 0 || r < store_->width || b < store_->height)
    return false;
  store_->FillAll(pixel);
  return true;
}

void Canvas::Lock() {
  std::mutex *m = PixelMutex();
  if (!m) return;
  if (!lock_.owns_lock()) lock_ = std::unique_lock<std::mutex>(*m);
  TakeView();
}

void Canvas::TakeView() {
  view_ = surface_ ? surface_->View() : store_ ? store_->View() : PixelView{};
  ok_ = view_.pixels != nullptr && view_.width > 0 && view_.height > 0;
}

void Canvas::LockBoth(Canvas &a, Canvas &b) {
  std::mutex *ma = a.PixelMutex(), *mb = b.PixelMutex();
  if (ma && mb && ma != mb) {
    std::lock(*ma, *mb);
    a.lock_ = std::unique_lock<std::mutex>(*ma, std::adopt_lock);
    b.lock_ = std::unique_lock<std::mutex>(*mb, std::adopt_lock);
  } else if (ma) {
    a.lock_ = std::unique_lock<std::mutex>(*ma);
  } else if (mb) {
    b.lock_ = std::unique_lock<std::mutex>(*mb);
  }
  a.TakeView();
  b.TakeView();
}

Canvas::~Canvas() {
  if (store_ && lock_.owns_lock() && touched_.left < touched_.right &&
      touched_.top < touched_.bottom)
    store_->MarkDirty(touched_);
}

void Canvas::Touch(const RECT &r) {
  if (!store_) return;
  RECT c{std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, view_.width),
         std::min<LONG>(r.bottom, view_.height)};
  if (c.left >= c.right || c.top >= c.bottom) return;
  if (touched_.left >= touched_.right) {
    touched_ = c;
  } else {
    touched_.left = std::min(touched_.left, c.left);
    touched_.top = std::min(touched_.top, c.top);
    touched_.right = std::max(touched_.right, c.right);
    touched_.bottom = std::max(touched_.bottom, c.bottom);
  }
}

void SetPosition(HDC hdc, POINT p) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (DeviceContext *dc = FindDC(t, hdc)) dc->position = p;
}

} // namespace platform::gdi

using namespace platform::gdi;

HDC CreateCompatibleDC(HDC hdc) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (hdc) {
    DeviceContext *dc = FindDC(t, hdc);
    if (!dc || dc->kind == DeviceKind::kPrinter) return 0;
  }
  return AddContext(t, NewContext(DeviceKind::kMemory));
}

BOOL DeleteDC(HDC hdc) {
  std::unique_ptr<platform::PrintDevice> device;
  {
    Table &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!FindDC(t, hdc)) return FALSE;
    device = RemoveContext(t, hdc);
  }
  return TRUE; // DEVICE, if any, is destroyed here, unlocked
}

HDC GetDC(HWND hwnd) {
  return MakeWindowDC(hwnd);
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  return ReleaseWindowDC(hwnd, hdc);
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT *ps) {
  RECT update;
  {
    auto &s = platform::user::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    platform::user::Window *w = platform::user::Find(s, hwnd);
    if (!w) return 0;
    if (w->needsPaint) update = w->update;
  }
  ValidateRect(hwnd, nullptr);
  HDC hdc = MakeWindowDC(hwnd);
  if (ps) {
    *ps = PAINTSTRUCT{};
    ps->hdc = hdc;
    ps->rcPaint = update;
  }
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT *ps) {
  if (!ps) return FALSE;
  return ReleaseWindowDC(hwnd, ps->hdc);
}

int GetDeviceCaps(HDC hdc, int index) {
  Table &t = T();
  std::unique_lock<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, hdc);
  if (!dc) return 0;
  if (dc->kind == DeviceKind::kPrinter) {
    platform::PrintDevice *device = dc->printer.get();
    // The device is owned by the context; the caller uses a context from one
    // thread at a time, so it stays while we call it unlocked.
    lock.unlock();
    return device ? device->GetDeviceCaps(index) : 0;
  }
  lock.unlock();
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  switch (index) {
  case HORZRES:
  case PHYSICALWIDTH:
    return w;
  case VERTRES:
  case PHYSICALHEIGHT:
    return h;
  case HORZSIZE: // millimetres at 96 dpi
    return MulDiv(w, 254, 960);
  case VERTSIZE:
    return MulDiv(h, 254, 960);
  case BITSPIXEL:
    return 32;
  case LOGPIXELSX:
  case LOGPIXELSY:
    return 96;
  default:
    return 0;
  }
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t p = static_cast<int64_t>(number) * numerator;
  // Rounded half away from zero; -1 when the result does not fit, as Windows.
  int64_t d = denominator;
  bool negative = (p < 0) != (d < 0);
  int64_t ap = p < 0 ? -p : p, ad = d < 0 ? -d : d;
  int64_t q = (ap + ad / 2) / ad;
  if (negative) q = -q;
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int>(q);
}

namespace {

// Exchanges one setting of device context HDC for VALUE: the previous
// value, or FAILED when HDC is no device context.
template <typename V> V ExchangeSetting(HDC hdc, V DeviceContext::*setting, V value, V failed) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, hdc);
  return dc ? std::exchange(dc->*setting, value) : failed;
}

} // namespace

COLORREF SetTextColor(HDC hdc, COLORREF colour) {
  return ExchangeSetting(hdc, &DeviceContext::textColour, colour & 0xFFFFFF, CLR_INVALID);
}

COLORREF SetBkColor(HDC hdc, COLORREF colour) {
  return ExchangeSetting(hdc, &DeviceContext::bkColour, colour & 0xFFFFFF, CLR_INVALID);
}

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return ExchangeSetting(hdc, &DeviceContext::bkMode, mode, 0);
}

namespace platform {

HDC MakePrinterDC(std::unique_ptr<PrintDevice> device) {
  if (!device) return 0;
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto dc = NewContext(DeviceKind::kPrinter);
  dc->printer = std::move(device);
  return AddContext(t, std::move(dc));
}

PixelView SurfacePixels(HDC memoryDC) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  DeviceContext *dc = FindDC(t, memoryDC);
  if (!dc || dc->kind != DeviceKind::kMemory || !dc->surface) return {};
  return dc->surface->View();
}

SurfaceLock::SurfaceLock(HDC memoryDC) {
  std::shared_ptr<Surface> surface;
  {
    Table &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    DeviceContext *dc = FindDC(t, memoryDC);
    if (!dc || dc->kind != DeviceKind::kMemory || !dc->surface) return;
    surface = dc->surface;
  }
  lock_ = std::unique_lock<std::mutex>(surface->mutex);
  view_ = surface->View();
  keep_ = std::move(surface);
}

SurfaceLock::~SurfaceLock() = default;

} // namespace platform
