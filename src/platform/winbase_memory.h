// Movable global memory blocks under their Win32 names, for the services
// that hand memory over by handle (the clipboard).
#pragma once

#include <cstddef>

#include "platform/win32.h"

using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// A block of BYTES bytes (zero-filled with GMEM_ZEROINIT); 0 on failure.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
// The block's memory, valid until GlobalUnlock; null for a bad handle.
void *GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
size_t GlobalSize(HGLOBAL block);
// 0 on success, the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL block);

// ---- Clipboard ----
constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_UNICODETEXT = 13;

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// Hands BLOCK over to the clipboard (which frees it); returns it, or 0.
HANDLE SetClipboardData(UINT format, HANDLE block);
// A block owned by the clipboard, valid while it stays open; 0 when the
// format is not there.
HANDLE GetClipboardData(UINT format);
// The format after FORMAT (0: the first); 0 after the last.
UINT EnumClipboardFormats(UINT format);
