// The pool the rich edit's small blocks come from under Wine: what a module keeps in a block
// survives every reallocation, zeroed memory is zero, blocks not the pool's pass through to the
// process heap, and slabs go back to the system once empty.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "toolkit/win32/ModulePool.h"

namespace foyer::test {
namespace {

using namespace module_pool;

bool Filled(const void* block, size_t from, size_t to, unsigned char value) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  for (size_t i = from; i < to; ++i)
    if (bytes[i] != value) return false;
  return true;
}

TEST(ModulePoolTest, ReallocationsKeepTheContentAndZeroWhatGrowsWhenAsked) {
  const HANDLE heap = GetProcessHeap();
  struct Case {
    size_t From, To;
    DWORD Flags;
    bool PoolAfter;
  };
  const Case cases[] = {
      {20, 30, HEAP_ZERO_MEMORY, true},    // grows in its own block
      {20, 200, HEAP_ZERO_MEMORY, true},   // moves to a larger class
      {200, 20, 0, true},                  // moves to a smaller one
      {1000, 4000, HEAP_ZERO_MEMORY, false},  // leaves the pool for the process heap
      {0, 16, HEAP_ZERO_MEMORY, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.From << " -> " << c.To);
    auto* block = static_cast<unsigned char*>(Alloc(heap, 0, c.From));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(Owns(block));
    EXPECT_GE(Size(heap, 0, block), c.From);
    std::memset(block, 0xA5, c.From);
    auto* moved = static_cast<unsigned char*>(ReAlloc(heap, c.Flags, block, c.To));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(Owns(moved), c.PoolAfter);
    const size_t kept = c.From < c.To ? c.From : c.To;
    EXPECT_TRUE(Filled(moved, 0, kept, 0xA5));
    if (c.Flags & HEAP_ZERO_MEMORY) {
      EXPECT_TRUE(Filled(moved, kept, c.To, 0));
    }
    EXPECT_TRUE(Free(heap, 0, moved));
  }
  // Shrunk in place and grown again with zeroing: the bytes let go of come back as zeros.
  auto* block = static_cast<unsigned char*>(Alloc(heap, 0, 60));
  std::memset(block, 0x5A, 60);
  EXPECT_EQ(ReAlloc(heap, 0, block, 40), block);
  EXPECT_EQ(ReAlloc(heap, HEAP_ZERO_MEMORY, block, 60), block);
  EXPECT_TRUE(Filled(block, 0, 40, 0x5A));
  EXPECT_TRUE(Filled(block, 40, 60, 0));
  EXPECT_EQ(ReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 500), nullptr);
  EXPECT_TRUE(Filled(block, 0, 40, 0x5A)) << "a refused reallocation lost the block";
  Free(heap, 0, block);
}

TEST(ModulePoolTest, ForeignBlocksPassThroughAndEmptySlabsGoBackToTheSystem) {
  const HANDLE heap = GetProcessHeap();
  // A block the process heap gave before the pool took over, and one of another heap.
  void* before = HeapAlloc(heap, 0, 48);
  EXPECT_FALSE(Owns(before));
  before = ReAlloc(heap, 0, before, 64);
  ASSERT_NE(before, nullptr);
  EXPECT_FALSE(Owns(before));
  EXPECT_EQ(Size(heap, 0, before), HeapSize(heap, 0, before));
  EXPECT_TRUE(Free(heap, 0, before));
  const HANDLE other = HeapCreate(0, 0, 0);
  void* elsewhere = Alloc(other, 0, 32);
  EXPECT_FALSE(Owns(elsewhere));
  EXPECT_TRUE(Free(other, 0, elsewhere));
  HeapDestroy(other);

  const Use start = InUse();
  std::vector<void*> blocks;
  for (int i = 0; i < 20000; ++i)
    blocks.push_back(Alloc(heap, 0, 96 + (i % 3) * 16));
  const Use full = InUse();
  EXPECT_EQ(full.Blocks, start.Blocks + blocks.size());
  EXPECT_GE(full.Slabs, start.Slabs + 20000 * 96 / (64 * 1024));
  for (void* block : blocks)
    EXPECT_TRUE(Free(heap, 0, block));
  const Use end = InUse();
  EXPECT_EQ(end.Blocks, start.Blocks);
  EXPECT_LE(end.Slabs, start.Slabs + 3) << "empty slabs were kept";
}

}  // namespace
}  // namespace foyer::test
