#include "platform/page_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace platform {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Smaller buffers come from the heap, which reuses its pages; so does all
// of it under AddressSanitizer, which watches only the heap for overruns.
#if defined(__SANITIZE_ADDRESS__) // GCC's way of saying it
#define QUILL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) // clang's
#define QUILL_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef QUILL_ADDRESS_SANITIZER
constexpr size_t kMinPageBytes = SIZE_MAX;
#else
constexpr size_t kMinPageBytes = size_t{1} << 20;
#endif

size_t RoundUp(size_t bytes, size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

} // namespace

void *AllocatePages(size_t bytes) {
  if (bytes < kMinPageBytes) {
    void *p = std::calloc(bytes ? bytes : 1, 1);
    if (!p) throw std::bad_alloc();
    return p;
  }
  if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
  size_t size = RoundUp(bytes, kHugePage);
  // Map a huge page more than needed and trim it to a huge-page boundary,
  // so that the kernel can back the whole buffer with huge pages.
  size_t mapped = size + kHugePage;
  void *raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  uintptr_t aligned = RoundUp(start, kHugePage);
  if (aligned > start) munmap(raw, aligned - start);
  size_t tail = mapped - (aligned - start) - size;
  if (tail) munmap(reinterpret_cast<void *>(aligned + size), tail);
  void *p = reinterpret_cast<void *>(aligned);
  madvise(p, size, MADV_HUGEPAGE); // a hint; without it the pages are ordinary
  return p;
}

void FreePages(void *memory, size_t bytes) {
  if (!memory) return;
  if (bytes < kMinPageBytes) {
    std::free(memory);
    return;
  }
  munmap(memory, RoundUp(bytes, kHugePage));
}

} // namespace platform
