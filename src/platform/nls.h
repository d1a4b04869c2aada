// National language support under the Win32 names: code page 932 lead bytes
// and locale string comparison. Every locale compares as Japanese (0x0411).
#pragma once

#include "platform/cp932.h"
#include "platform/win32.h"

using LCID = DWORD;

constexpr LCID LOCALE_JAPANESE = 0x0411;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

// CompareStringA results; 0 means failure.
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;

// Code page 932 lead bytes (0x81-0x9F, 0xE0-0xFC).
inline BOOL IsDBCSLeadByte(BYTE b) {
  return cp932::IsLeadByte(b) ? TRUE : FALSE;
}

// Compares two code page 932 texts in the Japanese collation order: symbols,
// digits, Latin letters (lower case first), kana, kanji; hyphens and
// apostrophes count only when the texts are otherwise equal, and only
// identical texts are equal. A negative length means NUL-terminated. Only
// flags 0 is supported; other flags or a null text give 0. Safe to call from
// several threads.
int CompareStringA(LCID locale, DWORD flags, LPCSTR a, int lenA, LPCSTR b, int lenB);
