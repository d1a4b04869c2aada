// The window table: one entry per window the runtime owns (entry 0 the main
// window, user windows the first free one), each with the window's console
// buffer and its off-screen surface, and the current window that drawing,
// CLS, LOCATE and console output address.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "console/console_buffer.h"
#include "platform/wingdi.h"

constexpr int kWindowTableSize = 1024;

struct WindowEntry {
  HWND window = 0; // 0: free entry
  // Shared so that a writer or painter that found the buffer keeps it alive
  // while the window is being destroyed on another thread.
  std::shared_ptr<ConsoleBuffer> console;
  // The surface: a screen-sized bitmap selected into the memory context
  // that drawing goes to. Both are made on first use (0 until then), so a
  // window that never draws costs no pixels; until then the surface reads
  // as its first fill, black when DARK, white otherwise.
  HBITMAP bitmap = 0;
  HDC dc = 0;
  bool dark = true;
};

class WindowTable {
public:
  // The entry index of WINDOW; -1 for 0 or a window not in the table.
  int FindEntry(HWND window) const;
  // Takes the first free entry for WINDOW with an empty console buffer
  // (cursor 0, caret off, client rectangle the screen size). A null handle
  // or a full table is a runtime error (false). DARK chooses the surface's
  // first fill (black or white).
  bool MakeSurface(HWND window, bool dark);
  // Frees WINDOW's entry and its buffer; nothing when it has none.
  void ReleaseSurface(HWND window);
  // Frees every entry, 1 to 1023 first and the main window's last.
  void ReleaseAll();

  // The console buffer of WINDOW; null when it has no entry.
  std::shared_ptr<ConsoleBuffer> Console(HWND window) const;

  HWND Current() const { return current_.load(); }
  void SetCurrent(HWND window) { current_.store(window); }
  std::shared_ptr<ConsoleBuffer> CurrentConsole() const { return Console(Current()); }

  // WINDOW's surface context, made (and filled with its first colour) on
  // first use; 0 when WINDOW has no entry. Does not report errors.
  HDC Surface(HWND window, HBITMAP *bitmap = nullptr);
  // WINDOW's surface context when it was made, else 0; sets DARK to the
  // first fill. False when WINDOW has no entry.
  bool PeekSurface(HWND window, HDC &dc, bool &dark) const;

private:
  int FindLocked(HWND window) const;

  mutable std::mutex mutex_;
  std::array<WindowEntry, kWindowTableSize> entries_;
  std::atomic<HWND> current_{0};
};
