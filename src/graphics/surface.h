// The surfaces of the window table as the drawing statements, the console
// painting and user windows use them: the current window's drawing target,
// presenting a surface on its window and copying parts of it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wingdi.h"

// What one drawing statement draws on: the current window and its surface
// context.
struct DrawTarget {
  HWND window = 0;
  HDC surface = 0;
  HBITMAP bitmap = 0; // the surface's bitmap
};

// A copy of the pixels of BITMAP (COLORREFs, rows top to bottom), read in
// one piece, or pixel by pixel through DC when BITMAP is 0.
struct SurfacePixels {
  int width = 0, height = 0;
  std::vector<uint32_t> colours;
  uint32_t At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
};
SurfacePixels ReadSurface(HDC dc, HBITMAP bitmap, int width, int height);

// The current window's target, its surface made on first use. A current
// window without an entry in the window table (SETWINDOW with a number that
// is no runtime window) is a runtime error (false).
bool CurrentTarget(DrawTarget &target);

// Copies WINDOW's whole surface onto the window (Present).
void PresentSurface(HWND window);

// WM_PAINT of a window that shows only its surface (class "NORMAL"):
// BeginPaint, the whole-surface copy, EndPaint.
void PaintSurface(HWND window);

// Copies the W x H rectangle at (X, Y) of WINDOW's surface to the same
// place of DEST. A surface not made yet gives its first colour; a window
// without an entry leaves DEST as it is.
void CopySurface(HWND window, HDC dest, int x, int y, int w, int h);

// Redraws the current window's text layer over new graphics: the console
// output of the empty text, which adds nothing and moves no cursor.
void RedrawText();

// Frees a surface's context and bitmap (either may be 0).
void DeleteSurfaceObjects(HDC dc, HBITMAP bitmap);

// Draws FIGURE into the window (through a context from GetDC) and into
// SURFACE, in the order given; both contexts get the same pen and brush
// selections by the figure itself.
template <class Figure> void DrawTwice(const DrawTarget &target, bool windowFirst, Figure figure) {
  HDC window = GetDC(target.window);
  if (windowFirst && window) figure(window);
  figure(target.surface);
  if (!windowFirst && window) figure(window);
  if (window) ReleaseDC(target.window, window);
}
