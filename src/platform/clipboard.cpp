// The clipboard functions: one thread at a time has it open; data handed
// over is copied into the backend and its block freed; data read is lent as
// a block that lives until the clipboard is closed or emptied.
#include "platform/clipboard.h"

#include <cstring>
#include <mutex>

#include "platform/winbase_memory.h"

namespace {

class ProcessClipboard : public platform::ClipboardBackend {
public:
  std::vector<UINT> Formats() override {
    std::vector<UINT> out;
    for (auto &[format, bytes] : entries_) out.push_back(format);
    return out;
  }
  std::optional<std::string> Get(UINT format) override {
    for (auto &[f, bytes] : entries_)
      if (f == format) return bytes;
    return std::nullopt;
  }
  void Set(UINT format, const std::string &bytes) override {
    for (auto &[f, b] : entries_)
      if (f == format) {
        b = bytes;
        return;
      }
    entries_.emplace_back(format, bytes);
  }
  void Empty() override { entries_.clear(); }

private:
  std::vector<std::pair<UINT, std::string>> entries_;
};

struct Clipboard {
  std::mutex mutex;
  std::unique_ptr<platform::ClipboardBackend> backend = std::make_unique<ProcessClipboard>();
  DWORD openedBy = 0; // thread id; 0: closed
  std::vector<HANDLE> lent;
};

Clipboard &C() {
  static auto *c = new Clipboard;
  return *c;
}

void FreeLent(Clipboard &c) {
  for (HANDLE h : c.lent) GlobalFree(h);
  c.lent.clear();
}

bool IsText(UINT format) {
  return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

} // namespace

namespace platform {

std::unique_ptr<ClipboardBackend> MakeProcessClipboard() {
  return std::make_unique<ProcessClipboard>();
}

void SetClipboardBackend(std::unique_ptr<ClipboardBackend> backend) {
  Clipboard &c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.backend = backend ? std::move(backend) : MakeProcessClipboard();
}

} // namespace platform

BOOL OpenClipboard(HWND) {
  Clipboard &c = C();
  DWORD self = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.openedBy != 0 && c.openedBy != self) return FALSE;
  c.openedBy = self;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard &c = C();
  DWORD self = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.openedBy != self) return FALSE;
  c.openedBy = 0;
  FreeLent(c);
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard &c = C();
  DWORD self = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.openedBy != self) return FALSE;
  FreeLent(c);
  c.backend->Empty();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE block) {
  Clipboard &c = C();
  DWORD self = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.openedBy != self || format == 0) return 0;
  void *data = GlobalLock(block);
  if (!data) return 0;
  size_t size = GlobalSize(block);
  std::string bytes(static_cast<const char *>(data), size);
  // Text ends at its NUL.
  if (IsText(format)) bytes.resize(strnlen(bytes.data(), bytes.size()));
  GlobalUnlock(block);
  c.backend->Set(format, bytes);
  GlobalFree(block);
  return block;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard &c = C();
  DWORD self = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.openedBy != self) return 0;
  std::optional<std::string> bytes = c.backend->Get(format);
  // The two byte-text formats stand in for one another, as Windows
  // converts them.
  if (!bytes && (format == CF_TEXT || format == CF_OEMTEXT)) {
    for (UINT other : {CF_TEXT, CF_OEMTEXT})
      if (!bytes && other != format) bytes = c.backend->Get(other);
  }
  if (!bytes) return 0;
  HANDLE block = GlobalAlloc(GHND, bytes->size() + 1);
  if (!block) return 0;
  void *data = GlobalLock(block);
  std::memcpy(data, bytes->data(), bytes->size());
  GlobalUnlock(block);
  c.lent.push_back(block);
  return block;
}

UINT EnumClipboardFormats(UINT format) {
  Clipboard &c = C();
  DWORD self = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.openedBy != self) return 0;
  std::vector<UINT> formats = c.backend->Formats();
  if (format == 0) return formats.empty() ? 0 : formats[0];
  for (size_t i = 0; i + 1 < formats.size(); ++i)
    if (formats[i] == format) return formats[i + 1];
  return 0;
}
