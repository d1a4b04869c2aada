// Global memory blocks: handles to byte vectors.
#include <map>
#include <mutex>
#include <vector>

#include "platform/winbase_memory.h"

namespace {

struct Blocks {
  std::mutex mutex;
  std::map<HGLOBAL, std::vector<char>> blocks;
  HGLOBAL last = 0x30000;
};

Blocks &B() {
  static auto *b = new Blocks;
  return *b;
}

} // namespace

HGLOBAL GlobalAlloc(UINT, size_t bytes) {
  // Blocks are always zero-filled; at most 1 GiB.
  if (bytes > (size_t{1} << 30)) return 0;
  Blocks &b = B();
  std::lock_guard<std::mutex> lock(b.mutex);
  do {
    b.last += 4;
  } while (b.last == 0 || b.blocks.contains(b.last));
  b.blocks[b.last].assign(bytes == 0 ? 1 : bytes, '\0');
  return b.last;
}

void *GlobalLock(HGLOBAL block) {
  Blocks &b = B();
  std::lock_guard<std::mutex> lock(b.mutex);
  auto it = b.blocks.find(block);
  return it == b.blocks.end() ? nullptr : it->second.data();
}

BOOL GlobalUnlock(HGLOBAL block) {
  Blocks &b = B();
  std::lock_guard<std::mutex> lock(b.mutex);
  return b.blocks.contains(block) ? TRUE : FALSE;
}

size_t GlobalSize(HGLOBAL block) {
  Blocks &b = B();
  std::lock_guard<std::mutex> lock(b.mutex);
  auto it = b.blocks.find(block);
  return it == b.blocks.end() ? 0 : it->second.size();
}

HGLOBAL GlobalFree(HGLOBAL block) {
  Blocks &b = B();
  std::lock_guard<std::mutex> lock(b.mutex);
  return b.blocks.erase(block) ? 0 : block;
}
