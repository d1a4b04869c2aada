#include "graphics/window_table.h"

#include "graphics/surface.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

int WindowTable::FindLocked(HWND window) const {
  if (window == 0) return -1;
  for (int i = 0; i < kWindowTableSize; ++i)
    if (entries_[i].window == window) return i;
  return -1;
}

int WindowTable::FindEntry(HWND window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return FindLocked(window);
}

bool WindowTable::MakeSurface(HWND window, bool dark) {
  if (window == 0) {
    RuntimeError();
    return false;
  }
  auto console = std::make_shared<ConsoleBuffer>();
  const Engine &e = E();
  console->clientRect = RECT{0, 0, e.surfaceWidth, e.surfaceHeight};
  bool taken = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < kWindowTableSize && !taken; ++i) {
      WindowEntry &entry = entries_[i];
      if (entry.window != 0) continue;
      entry.window = window;
      entry.console = std::move(console);
      entry.bitmap = 0;
      entry.dc = 0;
      entry.dark = dark;
      taken = true;
    }
  }
  if (!taken) {
    RuntimeError(); // outside the table's lock: the report may show a box
    return false;
  }
  // The window shows its surface's first colour at once; the pixels of
  // the surface itself are made when something draws.
  PresentSurface(window);
  return true;
}

namespace {

// What an emptied entry held. Declared before the table's lock is taken, it
// is freed after the lock is left: freeing a surface takes the GDI's lock.
struct Detached {
  std::shared_ptr<ConsoleBuffer> console;
  HDC dc = 0;
  HBITMAP bitmap = 0;
  ~Detached() { DeleteSurfaceObjects(dc, bitmap); }
};

void Detach(WindowEntry &entry, Detached &out) {
  entry.window = 0;
  out.console = std::move(entry.console);
  out.dc = entry.dc;
  out.bitmap = entry.bitmap;
  entry.dc = 0;
  entry.bitmap = 0;
}

} // namespace

void WindowTable::ReleaseSurface(HWND window) {
  Detached old;
  std::lock_guard<std::mutex> lock(mutex_);
  int i = FindLocked(window);
  if (i >= 0) Detach(entries_[i], old);
}

void WindowTable::ReleaseAll() {
  for (int i = 1; i <= kWindowTableSize; ++i) {
    Detached old;
    std::lock_guard<std::mutex> lock(mutex_);
    Detach(entries_[i % kWindowTableSize], old);
  }
}

std::shared_ptr<ConsoleBuffer> WindowTable::Console(HWND window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int i = FindLocked(window);
  return i < 0 ? nullptr : entries_[i].console;
}
