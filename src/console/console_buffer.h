// The text layer of one window: a flat text of at most 8192 bytes in which
// lines are separated by line feeds, with a foreground and a background
// colour per byte, the output cursor and what painting last computed (caret
// position, composition point, client rectangle).
//
// The text has exactly one end, kept as an explicit length: every byte behind
// it reads as 0, and every edit goes through the methods below, so no byte of
// an older, longer text can ever come back. The storage behind the end is
// never read and is left as allocated: a window that shows little text does
// not write all 72 KB of it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "platform/win32.h"

constexpr int32_t kConsoleCapacity = 8192;
// Background colour of a cell that shows the graphics surface behind it.
constexpr uint32_t kTransparentColour = 0xFFFFFFFF;
// A transparent blank: one cell that shows the surface (LOCATE pads with it).
constexpr char kTransparentBlank[] = "\x01\x79";
// Composition-window style: shown at a point.
constexpr DWORD kCfsPoint = 2;

struct CompositionForm {
  DWORD style = kCfsPoint;
  POINT point{};
};

class ConsoleBuffer {
public:
  ConsoleBuffer() {} // user-provided: the arrays below stay uninitialised
  // Guards the text, the colours and the plain fields below. ConsoleWrite,
  // painting and LOCATE hold it for one whole operation; the caret flag is
  // atomic because the window procedure polls it.
  mutable std::mutex mutex;

  int32_t cursor = 0; // where the next output goes; 0..Length()
  int32_t caretX = 0; // left edge of the cursor cell
  int32_t caretY = 0; // bottom of the cursor's line
  std::atomic<uint8_t> caretEnabled{0};
  CompositionForm compositionForm;
  RECT clientRect{}; // last non-empty client rectangle seen by painting

  int32_t Length() const { return length_; }
  // The byte at I; 0 at and behind the end.
  uint8_t At(int32_t i) const { return i >= 0 && i < length_ ? static_cast<uint8_t>(text_[i]) : 0; }
  uint32_t Foreground(int32_t i) const { return i >= 0 && i < length_ ? foreground_[i] : 0; }
  uint32_t Background(int32_t i) const { return i >= 0 && i < length_ ? background_[i] : 0; }
  std::string_view Text() const { return std::string_view(text_.data(), length_); }

  // Stores C with its colours at AT (at most Length(): the end appends).
  // False when AT is outside the text or the capacity. A NUL byte would be
  // a second end and is stored as a blank.
  bool Store(int32_t at, char c, uint32_t fg, uint32_t bg);
  // Appends one byte; false when the buffer is full.
  bool Append(char c, uint32_t fg, uint32_t bg) { return Store(length_, c, fg, bg); }
  // Moves the text and colours from AT on right by N bytes and fills the gap
  // with blanks; bytes pushed beyond the capacity are lost. Returns the size
  // of the gap opened (less than N at the capacity).
  int32_t OpenGap(int32_t at, int32_t n, uint32_t fg, uint32_t bg);
  // Removes N bytes from AT on, moving the rest left.
  void Erase(int32_t at, int32_t n);
  // Shortens the text to LENGTH bytes (never lengthens it).
  void Truncate(int32_t length);
  // Empties the text and puts the cursor at 0.
  void Clear();
  // Index of the first byte of the line holding index AT (the byte after the
  // last line feed before AT, or 0).
  int32_t LineStart(int32_t at) const;
  // Index of the first line feed at or after AT; -1 when there is none.
  int32_t FindLineFeed(int32_t at) const;

private:
  std::array<char, kConsoleCapacity> text_;
  std::array<uint32_t, kConsoleCapacity> foreground_;
  std::array<uint32_t, kConsoleCapacity> background_;
  int32_t length_ = 0;
};
