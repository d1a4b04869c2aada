// Lent buffers: messages whose wParam or lParam is a pointer on Windows
// carry a number that stands for a buffer and its size, so that a 32-bit
// parameter can name it and a receiver never writes past its end.
#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "platform/winuser_window.h"

namespace {

struct Lent {
  void *data;
  size_t size;
};

struct Table {
  std::mutex mutex;
  std::unordered_map<LPARAM, Lent> lent;
  uint32_t next = 0;
};

Table &T() {
  static auto *t = new Table;
  return *t;
}

// Numbers come from a range that ordinary small numbers and handles avoid.
constexpr uint32_t kBase = 0x5A000000;
constexpr uint32_t kSpan = 0x00FFFFFF;

} // namespace

namespace platform {

LPARAM LendBuffer(void *data, size_t size) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  for (;;) {
    t.next = (t.next + 1) & kSpan;
    auto number = static_cast<LPARAM>(kBase | t.next);
    if (t.next == 0 || t.lent.contains(number)) continue;
    t.lent.emplace(number, Lent{data, size});
    return number;
  }
}

void ReturnBuffer(LPARAM lent) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.lent.erase(lent);
}

void *BorrowedBuffer(LPARAM number, size_t *size) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.lent.find(number);
  if (it == t.lent.end()) {
    if (size) *size = 0;
    return nullptr;
  }
  if (size) *size = it->second.size;
  return it->second.data;
}

LRESULT SendTextMessage(HWND hwnd, UINT msg, WPARAM wParam, const std::string &text) {
  std::string copy = text;
  LentBuffer lent(copy.data(), copy.size() + 1);
  return SendMessageA(hwnd, msg, wParam, lent.Number());
}

std::string WindowText(HWND hwnd) {
  LRESULT length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LentBuffer lent(text.data(), text.size());
  LRESULT got = SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), lent.Number());
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
  return text;
}

} // namespace platform
