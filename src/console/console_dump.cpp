#include "console/console_dump.h"

#include <cstdlib>
#include <fstream>

#include "console/console_buffer.h"
#include "platform/cp932.h"
#include "runtime/engine.h"

std::string ConsoleTextUtf8(const ConsoleBuffer &buffer) {
  std::string raw;
  const int32_t length = buffer.Length();
  raw.reserve(length);
  for (int32_t i = 0; i < length; ++i) {
    uint8_t c = buffer.At(i);
    if (c == 0x01 && buffer.At(i + 1) == 0x79) {
      raw.push_back(' ');
      ++i;
    } else {
      raw.push_back(static_cast<char>(c));
    }
  }
  return cp932::ToUtf8(raw);
}

void WriteConsoleDump() {
  const char *path = std::getenv("QUILLRUNNER_CONSOLE_DUMP");
  if (!path || !*path) return;
  std::shared_ptr<ConsoleBuffer> buffer = E().windows.Console(E().mainWindow);
  if (!buffer) return;
  std::string text;
  {
    std::lock_guard<std::mutex> lock(buffer->mutex);
    text = ConsoleTextUtf8(*buffer);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
}
