// SENDMESSAGE: the message number decides how the third and fourth
// arguments become wParam and lParam (numbers, a string, cells or a
// buffer for the answer) and what is stored afterwards.
#include <algorithm>
#include <cstring>

#include "platform/winuser_controls.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/window_args.h"
#include "windows/window_statements.h"
#include "windows/without_lock.h"

namespace {

// A text asked for is read into at most this many bytes, however large a
// length the program names.
constexpr size_t kMaxTextBuffer = 16u << 20;

enum class Row { kGetLine, kCells, kString, kGetText, kNumbers };

Row RowOf(UINT message) {
  switch (message) {
  case EM_GETLINE:
    return Row::kGetLine;
  case EM_GETSEL:
  case SBM_GETRANGE:
  case CB_GETEDITSEL:
    return Row::kCells;
  case WM_SETTEXT:
  case CB_ADDSTRING:
  case CB_INSERTSTRING:
  case CB_FINDSTRING:
  case CB_SELECTSTRING:
  case LB_ADDSTRING:
  case LB_INSERTSTRING:
  case LB_SELECTSTRING:
  case LB_FINDSTRING:
    return Row::kString;
  case WM_GETTEXT:
  case CB_GETLBTEXT:
  case LB_GETTEXT:
    return Row::kGetText;
  default:
    return Row::kNumbers;
  }
}

// A buffer of LENGTH + 1 bytes (bounded), zero-filled.
std::string TextBuffer(int64_t length) {
  length = std::clamp<int64_t>(length, 0, static_cast<int64_t>(kMaxTextBuffer) - 1);
  return std::string(static_cast<size_t>(length) + 1, '\0');
}

} // namespace

void SENDMESSAGE(std::string &arg, ThreadIndex slot) {
  std::vector<std::string> a;
  if (!RequiredArguments(arg, 4, a)) return;
  bool ok = true;
  auto hwnd = static_cast<HWND>(ArgNumber(a[0], ok));
  auto message = static_cast<UINT>(ArgNumber(a[1], ok));
  if (!ok) return;
  Row row = RowOf(message);
  auto send = [&](WPARAM w, LPARAM l) {
    return WithoutLock(slot, [&] { return SendMessageA(hwnd, message, w, l); });
  };
  LRESULT result = 0;
  switch (row) {
  case Row::kGetLine: {
    auto line = static_cast<WPARAM>(ArgNumber(a[2], ok));
    if (!ok) return;
    LRESULT index = SendMessageA(hwnd, EM_LINEINDEX, line, 0);
    LRESULT length = SendMessageA(hwnd, EM_LINELENGTH, static_cast<WPARAM>(index), 0);
    std::string buffer = TextBuffer(std::min<LRESULT>(length, 0xFFFE));
    // The first word holds the buffer's size; at least the word fits.
    if (buffer.size() < 2) buffer.resize(2, '\0');
    auto size = static_cast<WORD>(std::min<size_t>(buffer.size(), 0xFFFF));
    std::memcpy(buffer.data(), &size, sizeof size);
    platform::LentBuffer lent(buffer.data(), buffer.size());
    result = send(line, lent.Number());
    size_t got = static_cast<size_t>(std::clamp<LRESULT>(result, 0, std::max<LRESULT>(length, 0)));
    if (!AssignText(a[3], buffer.substr(0, std::min(got, buffer.size())))) return;
    break;
  }
  case Row::kCells: {
    uint32_t first = 0, second = 0;
    platform::LentBuffer one(&first, sizeof first), two(&second, sizeof second);
    result = send(static_cast<WPARAM>(one.Number()), two.Number());
    if (!AssignNumber(a[2], static_cast<int32_t>(first))) return;
    if (!AssignNumber(a[3], static_cast<int32_t>(second))) return;
    break;
  }
  case Row::kString: {
    auto w = static_cast<WPARAM>(ArgNumber(a[2], ok));
    std::string text = ArgString(a[3], ok, true);
    if (!ok) return;
    // A NUL in the text ends it, as for any C string.
    text.resize(strnlen(text.c_str(), text.size()));
    platform::LentBuffer lent(text.data(), text.size() + 1);
    result = send(w, lent.Number());
    break;
  }
  case Row::kGetText: {
    auto w = static_cast<WPARAM>(ArgNumber(a[2], ok));
    if (!ok) return;
    int64_t length;
    if (message == WM_GETTEXT) {
      length = static_cast<int64_t>(static_cast<int32_t>(w)) - 1;
    } else {
      UINT query = message == CB_GETLBTEXT ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
      length = SendMessageA(hwnd, query, w, 0);
    }
    length = std::max<int64_t>(length, 0);
    std::string buffer = TextBuffer(length);
    platform::LentBuffer lent(buffer.data(), buffer.size());
    result = send(w, lent.Number());
    size_t n = strnlen(buffer.data(), std::min<size_t>(static_cast<size_t>(length), buffer.size()));
    if (!AssignText(a[3], buffer.substr(0, n))) return;
    break;
  }
  case Row::kNumbers: {
    auto w = static_cast<WPARAM>(ArgNumber(a[2], ok));
    LPARAM l = ArgNumber(a[3], ok);
    if (!ok) return;
    result = send(w, l);
    break;
  }
  }
  if (a.size() > 4) AssignNumber(a[4], result);
}
