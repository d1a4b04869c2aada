// Bitmaps as BASIC values: LOADIMAGE, GET and PUT of blocks, and the image
// table that program end empties.

#include <cstring>

#include "data/variables.h"
#include "expr/eval.h"
#include "expr/string_text.h"
#include "files/channels.h"
#include "files/error_watch.h"
#include "graphics/drawing_statements.h"
#include "graphics/graphics_args.h"
#include "graphics/surface.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

bool IsBitmap(HGDIOBJ handle, BITMAP *out = nullptr) {
  BITMAP bm;
  if (handle == 0 || GetObjectType(handle) != OBJ_BITMAP || GetObjectA(handle, sizeof bm, &bm) == 0)
    return false;
  if (out) *out = bm;
  return true;
}

// Stores FRESH into the image variable NAME. The bitmap the variable held
// is deleted and its slot reused only when it is one of the table's own: a
// number that merely names some other bitmap (a window's surface, say) is
// never deleted through a variable.
void StoreImage(const std::string &name, HBITMAP fresh) {
  ImageTable &table = E().graphics.images;
  ErrorWatch watch;
  HBITMAP old = static_cast<HBITMAP>(static_cast<uint32_t>(gfx::EvalInt(name)));
  if (watch.Raised()) {
    DeleteObject(fresh);
    return;
  }
  bool owned = false;
  for (int32_t i = 0; i < table.count && !owned; ++i) owned = table.slots[i] == old;
  owned = owned && IsBitmap(old);
  if (!table.Record(old, owned, fresh)) {
    DeleteObject(fresh); // more bitmaps than the table holds
    RuntimeError();
    return;
  }
  if (owned) DeleteObject(old);
  SetNumeric(name, static_cast<double>(static_cast<int32_t>(fresh)));
}

} // namespace

void LOADIMAGE(std::string &arg, ThreadIndex) {
  std::vector<std::string> args;
  if (!gfx::ExactArguments(StripBlanks(arg), 2, args)) return;
  ErrorWatch watch;
  std::string raw = DecodeString(EvalString(args[1]), true);
  raw.resize(std::strlen(raw.c_str()));
  if (watch.Raised()) return;
  std::string path = ResolvePath(raw);
  HANDLE image = LoadImageA(E().instance, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!image) {
    RuntimeError();
    return;
  }
  StoreImage(args[0], static_cast<HBITMAP>(image));
}

void GraphicsGet(std::string &arg) {
  std::string text = StripBlanks(arg);
  size_t pos = !text.empty() && text[0] == '@' ? 1 : 0;
  ErrorWatch watch;
  int32_t x1, y1, x2, y2;
  if (!gfx::ReadPair(text, pos, x1, y1) || watch.Raised()) return;
  if (pos >= text.size() || text[pos] != '-') {
    RuntimeError();
    return;
  }
  ++pos;
  bool step = StartsWithNoCase(std::string_view(text).substr(pos), "step");
  if (step) pos += 4;
  if (!gfx::ReadPair(text, pos, x2, y2) || watch.Raised()) return;
  if (step) {
    x2 = static_cast<int32_t>(static_cast<uint32_t>(x1) + static_cast<uint32_t>(x2));
    y2 = static_cast<int32_t>(static_cast<uint32_t>(y1) + static_cast<uint32_t>(y2));
  }
  std::vector<std::string> args = gfx::SplitArguments(text.substr(pos));
  if (pos >= text.size() || text[pos] != ',' || args.size() != 2 || args[1].empty()) {
    RuntimeError();
    return;
  }
  // Both corners are inside the block. A block that is empty or reaches
  // beyond what a bitmap can hold is an error, not a huge allocation.
  const int64_t width = int64_t{x2} - x1 + 1, height = int64_t{y2} - y1 + 1;
  const Engine &e = E();
  if (width <= 0 || height <= 0 || width > 4 * int64_t{e.surfaceWidth} ||
      height > 4 * int64_t{e.surfaceHeight}) {
    RuntimeError();
    return;
  }
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  HDC window = GetDC(target.window);
  HBITMAP bitmap = CreateCompatibleBitmap(window ? window : target.surface, static_cast<int>(width),
                                          static_cast<int>(height));
  if (window) ReleaseDC(target.window, window);
  if (!bitmap) {
    RuntimeError();
    return;
  }
  HDC memory = CreateCompatibleDC(target.surface);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, static_cast<int>(width), static_cast<int>(height), target.surface, x1, y1,
         SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  StoreImage(args[1], bitmap);
}

void GraphicsPut(std::string &arg) {
  std::string text = StripBlanks(arg);
  size_t pos = !text.empty() && text[0] == '@' ? 1 : 0;
  ErrorWatch watch;
  int32_t x, y;
  if (!gfx::ReadPair(text, pos, x, y) || watch.Raised()) return;
  std::vector<std::string> args = gfx::SplitArguments(text.substr(pos));
  if (pos >= text.size() || text[pos] != ',' || args.size() != 3 || args[1].empty()) {
    RuntimeError();
    return;
  }
  HBITMAP image = static_cast<HBITMAP>(static_cast<uint32_t>(gfx::EvalInt(args[1])));
  if (watch.Raised()) return;
  BITMAP bm;
  if (!IsBitmap(image, &bm)) {
    RuntimeError();
    return;
  }
  DWORD rop = 0;
  const std::string &mode = args[2];
  if (EqualsNoCase(mode, "pset"))
    rop = SRCCOPY;
  else if (EqualsNoCase(mode, "or"))
    rop = SRCPAINT;
  else if (EqualsNoCase(mode, "xor"))
    rop = SRCINVERT;
  else if (EqualsNoCase(mode, "and"))
    rop = SRCAND;
  if (rop == 0) {
    RuntimeError();
    return;
  }
  DrawTarget target;
  if (!CurrentTarget(target)) return;
  HDC memory = CreateCompatibleDC(target.surface);
  HGDIOBJ old = SelectObject(memory, image);
  if (!old) { // a bitmap selected elsewhere (a window's surface) cannot be drawn from
    DeleteDC(memory);
    RuntimeError();
    return;
  }
  DrawTwice(target, true,
            [&](HDC dc) { BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, memory, 0, 0, rop); });
  SelectObject(memory, old);
  DeleteDC(memory);
}

void ReleaseImages() {
  ImageTable &table = E().graphics.images;
  for (int32_t i = 0; i < table.count; ++i) {
    if (table.slots[i]) DeleteObject(table.slots[i]);
    table.slots[i] = 0;
  }
  table.count = 0;
}

void ResetImages() {
  ReleaseImages();
}
