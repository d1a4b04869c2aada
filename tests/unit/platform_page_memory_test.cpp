#include "platform/page_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using platform::PageAllocator;

TEST(PageMemory, BuffersOfEverySizeAreZeroedAndWritable) {
  // Below, at and above the size where the kernel's pages take over from the heap.
  for (size_t bytes : {size_t{0}, size_t{1}, size_t{4096}, (size_t{1} << 20) - 4, size_t{1} << 20,
                       size_t{3149824}, (size_t{4} << 20) + 4}) {
    auto *p = static_cast<unsigned char *>(platform::AllocatePages(bytes));
    ASSERT_NE(p, nullptr) << bytes;
    for (size_t i = 0; i < bytes; i += 4093) EXPECT_EQ(p[i], 0) << bytes << " at " << i;
    if (bytes) {
      p[0] = 1;
      p[bytes - 1] = 2;
      EXPECT_EQ(p[bytes - 1], 2);
    }
    platform::FreePages(p, bytes);
  }
}

TEST(PageMemory, VectorsGrowKeepingTheirPixels) {
  std::vector<uint32_t, PageAllocator<uint32_t>> pixels(1024 * 768, 0x00FFFFFF);
  pixels[1024 * 768 - 1] = 7;
  pixels.resize(2048 * 1024, 1);
  EXPECT_EQ(pixels[0], 0x00FFFFFFu);
  EXPECT_EQ(pixels[1024 * 768 - 1], 7u);
  EXPECT_EQ(pixels.back(), 1u);
  std::vector<uint32_t, PageAllocator<uint32_t>> copy = pixels;
  EXPECT_EQ(copy, pixels);
  EXPECT_THROW(PageAllocator<uint32_t>().allocate(SIZE_MAX / 2), std::bad_alloc);
}
