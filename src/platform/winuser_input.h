// Carets, the keyboard state and the input method's composition window.
// The window manager keeps them as plain state; a display backend presents
// them (headless, nothing shows them). Also the key and mouse constants of
// the input messages.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "platform/wingdi.h"

using SHORT = int16_t;
using HBITMAP = uint32_t;
using HIMC = uint32_t;

// The notification message of the multimedia control interface.
constexpr UINT MM_MCINOTIFY = 0x03B9;

// Virtual keys.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F12 = 0x7B;

// Mouse button flags in the wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;

constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16) |
                             static_cast<uint16_t>(low));
}

// Composition window styles.
constexpr DWORD CFS_POINT = 0x0002;

struct COMPOSITIONFORM {
  DWORD dwStyle = 0;
  POINT ptCurrentPos;
  RECT rcArea;
};

// ---- Carets (one for the process, owned by the thread that created it) ----
// BITMAP 0 gives a solid caret. The new caret starts hidden.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
// Only the owning thread destroys the caret.
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT *point);
// Hiding is cumulative: each HideCaret needs its ShowCaret. HWND 0 means the
// caret's own window; another window fails.
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);

// ---- Keyboard state ----
// Bit 15 set (negative) while the key is down; GetKeyState's bit 0 toggles
// with every press. Key codes outside 0..255 read as up.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);

// ---- Input method (every window has a context) ----
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM *form);
BOOL ImmSetCompositionFontA(HIMC context, const LOGFONTA *font);

namespace platform {

struct CaretState {
  HWND window = 0; // 0: no caret
  int width = 0;
  int height = 0;
  POINT position;
  bool visible = false;
};
// The caret as a display backend should show it.
CaretState CurrentCaret();

struct CompositionState {
  bool placed = false; // a composition window was set
  POINT point;
  bool fontSet = false;
  LOGFONTA font;
};
// The composition window of WINDOW's input context.
CompositionState Composition(HWND window);

// Display backends and scripted input report key presses and releases.
void SetKeyDown(int virtualKey, bool down);
// Forgets carets, key states and compositions (a new program in the same
// process).
void ResetInputState();

} // namespace platform
