// What the control classes share: the store of each class's per-window
// state, the lent-buffer helpers their messages need, and the metrics of
// their text until a window's font says otherwise.
#pragma once

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/wingdi.h"
#include "platform/winuser_controls.h"

namespace platform::controls {

// Per-window state of one control class. A window's state is made on first
// use and dropped at WM_NCDESTROY; each state has its own mutex because a
// painter may read it beside the procedure.
template <typename T> class Store {
public:
  std::shared_ptr<T> Get(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto &slot = states_[hwnd];
    if (!slot) slot = std::make_shared<T>();
    return slot;
  }
  std::shared_ptr<T> Peek(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = states_.find(hwnd);
    return it == states_.end() ? nullptr : it->second;
  }
  void Drop(HWND hwnd) {
    std::shared_ptr<T> gone;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = states_.find(hwnd);
    if (it == states_.end()) return;
    gone = std::move(it->second);
    states_.erase(it);
  }

private:
  std::mutex mutex_;
  std::unordered_map<HWND, std::shared_ptr<T>> states_;
};

// The NUL-terminated text lent as LPARAM (empty for none; at most the lent
// size).
std::string LentText(LPARAM lParam);
// Copies TEXT into the buffer lent as LPARAM, at most MAX - 1 bytes and a
// NUL (MAX also bounded by the lent size); returns the bytes copied
// without the NUL. NUL_TERMINATE false copies at most MAX bytes and no NUL.
int CopyToLent(LPARAM lParam, const std::string &text, size_t max, bool nulTerminate = true);
// Stores a 32-bit value into the cell lent as NUMBER (nothing for none).
void StoreCell(LPARAM number, uint32_t value);

// The controls' font: the Japanese Gothic face asked for at kFontHeight
// pixels. Layout measures text with it: kCharWidth is the cell it falls
// back to when no font can be realised.
constexpr int kFontHeight = 16;
constexpr int kCharWidth = 8;
LOGFONTA ControlLogFont();
// The height of a line of text in that font (a list item, an edit line).
int LineHeight();
// The pixel width of TEXT (code page 932) in that font.
int TextWidth(const std::string &text);
// The byte index in TEXT nearest to pixel X, on a character boundary.
size_t IndexAtX(const std::string &text, int x);
// The start of the character in TEXT that ends at AT (on a boundary).
size_t PreviousBoundary(const std::string &text, size_t at);
// The end of the character in TEXT that starts at AT.
size_t NextBoundary(const std::string &text, size_t at);

// The window's own text (its caption), read without a message.
std::string CaptionOf(HWND hwnd);

// Compares the start of ITEM with PREFIX without regard to letter case
// (ASCII letters; double-byte characters compare exactly).
bool PrefixMatches(const std::string &item, const std::string &prefix);
bool EqualNoCase(const std::string &a, const std::string &b);

} // namespace platform::controls
