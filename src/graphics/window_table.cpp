#include "graphics/window_table.h"

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
  (void)dark; // the surface's first fill, once surfaces exist
  if (window == 0) {
    RuntimeError();
    return false;
  }
  auto console = std::make_shared<ConsoleBuffer>();
  const Engine &e = E();
  console->clientRect = RECT{0, 0, e.surfaceWidth, e.surfaceHeight};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    int free = -1;
    for (int i = 0; i < kWindowTableSize && free < 0; ++i)
      if (entries_[i].window == 0) free = i;
    if (free >= 0) {
      entries_[free].window = window;
      entries_[free].console = std::move(console);
      return true;
    }
  }
  RuntimeError(); // outside the table's lock: the report may show a box
  return false;
}

void WindowTable::ReleaseSurface(HWND window) {
  std::shared_ptr<ConsoleBuffer> console; // freed after the lock is left
  std::lock_guard<std::mutex> lock(mutex_);
  int i = FindLocked(window);
  if (i < 0) return;
  entries_[i].window = 0;
  console = std::move(entries_[i].console);
}

void WindowTable::ReleaseAll() {
  for (int i = 1; i <= kWindowTableSize; ++i) {
    std::shared_ptr<ConsoleBuffer> console;
    std::lock_guard<std::mutex> lock(mutex_);
    WindowEntry &entry = entries_[i % kWindowTableSize];
    entry.window = 0;
    console = std::move(entry.console);
  }
}

std::shared_ptr<ConsoleBuffer> WindowTable::Console(HWND window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int i = FindLocked(window);
  return i < 0 ? nullptr : entries_[i].console;
}
