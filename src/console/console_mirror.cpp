#include "console/console_mirror.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/cp932.h"
#include "platform/platform.h"

namespace {

struct Mirror {
  std::mutex mutex;
  ConsoleMirrorSink sink;
  std::string pending; // a lead byte without its trail byte yet
};

Mirror &M() {
  static Mirror mirror;
  return mirror;
}

bool RawCp932() {
  static const bool raw = [] {
    const char *enc = std::getenv("QUILLRUNNER_ENCODING");
    return enc && std::strcmp(enc, "cp932") == 0;
  }();
  return raw;
}

// Sends converted text on; the caller holds the mirror's mutex.
void Emit(Mirror &m, const std::string &bytes) {
  if (bytes.empty()) return;
  std::string out = RawCp932() ? bytes : cp932::ToUtf8(bytes);
  if (m.sink) {
    m.sink(out);
  } else if (platform::IsHeadless()) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout); // keeps the order with the message boxes on stderr
  }
}

} // namespace

void MirrorConsoleOutput(std::string_view raw) {
  Mirror &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::string bytes = m.pending;
  bytes.append(raw);
  m.pending.clear();
  // Hold back a final lead byte whose trail byte has not come yet.
  size_t i = 0;
  while (i < bytes.size()) {
    if (cp932::IsLeadByte(static_cast<uint8_t>(bytes[i]))) {
      if (i + 1 == bytes.size()) {
        m.pending = bytes.substr(i);
        bytes.resize(i);
        break;
      }
      i += 2;
    } else {
      ++i;
    }
  }
  Emit(m, bytes);
}

void FlushConsoleMirror() {
  Mirror &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::string bytes;
  bytes.swap(m.pending);
  Emit(m, bytes);
}

void SetConsoleMirrorSink(ConsoleMirrorSink sink) {
  Mirror &m = M();
  std::lock_guard<std::mutex> lock(m.mutex);
  m.sink = std::move(sink);
  m.pending.clear();
}
