// Large pixel buffers straight from the kernel, in huge pages where it
// offers them: a window's client area is megabytes that a program fills at
// start, and touching it one 4 KiB page at a time costs a page fault each,
// which on a virtual machine is most of a short program's run time.
#pragma once

#include <cstddef>
#include <new>

namespace platform {

// Zeroed memory of BYTES; throws std::bad_alloc when none is left.
void *AllocatePages(size_t bytes);
// Gives back what AllocatePages(BYTES) returned.
void FreePages(void *memory, size_t bytes);

template <class T> struct PageAllocator {
  using value_type = T;
  PageAllocator() = default;
  template <class U> PageAllocator(const PageAllocator<U> &) {}
  T *allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T *>(AllocatePages(n * sizeof(T)));
  }
  void deallocate(T *p, size_t n) { FreePages(p, n * sizeof(T)); }
  template <class U> bool operator==(const PageAllocator<U> &) const { return true; }
};

} // namespace platform
