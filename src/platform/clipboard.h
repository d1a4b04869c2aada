// Where clipboard contents live: a process-wide store by default; a display
// backend with a desktop clipboard replaces it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform {

class ClipboardBackend {
public:
  virtual ~ClipboardBackend() = default;
  // The formats held, in the order they were set.
  virtual std::vector<UINT> Formats() = 0;
  // The bytes of FORMAT (CF_TEXT: code page 932 text without its NUL).
  virtual std::optional<std::string> Get(UINT format) = 0;
  virtual void Set(UINT format, const std::string &bytes) = 0;
  virtual void Empty() = 0;
};

// The store used when no backend was installed: formats in memory, for the
// life of the process.
std::unique_ptr<ClipboardBackend> MakeProcessClipboard();

// Replaces the backend (null: back to a fresh process store).
void SetClipboardBackend(std::unique_ptr<ClipboardBackend> backend);

} // namespace platform
