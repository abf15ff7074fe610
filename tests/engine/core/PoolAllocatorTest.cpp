#include "engine/core/PoolAllocator.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

using Engine::PoolAllocator;

PoolAllocator::Config Pages(std::uint64_t page, std::uint64_t block, std::uint64_t maxBlocks = 0, bool powerOfTwo = false)
{
    return PoolAllocator::Config{.pageSize = page, .blockSize = block, .maxBlocks = maxBlocks, .powerOfTwo = powerOfTwo};
}

std::ptrdiff_t Offset(const PoolAllocator& pool, const void* block)
{
    return static_cast<const std::byte*>(block) - static_cast<const std::byte*>(pool.NewestPage());
}

TEST(PoolAllocatorLayout, FreshPageHandsOutItsHighestBlockFirst)
{
    PoolAllocator pool(Pages(4096, 64));
    void* first = pool.Allocate();
    EXPECT_EQ(pool.Capacity(), 63u);
    EXPECT_EQ(pool.BytesHeld(), 4096u);
    EXPECT_EQ(Offset(pool, first), 16 + 62 * 64);
    EXPECT_EQ(Offset(pool, pool.Allocate()), 16 + 61 * 64);

    PoolAllocator small(Pages(4096, 4)); // grows to hold the free-list link
    EXPECT_EQ(small.Stride(), 8u);
    EXPECT_EQ(static_cast<std::byte*>(small.Allocate()) - static_cast<std::byte*>(small.Allocate()), 8);
}

TEST(PoolAllocatorLayout, PowerOfTwoRoundsStrideAndAlignsTheFirstBlock)
{
    PoolAllocator pool(Pages(4096, 40, 0, true));
    EXPECT_EQ(pool.Stride(), 64u);
    EXPECT_EQ(pool.PageSize(), 4096u + 24u);
    void* highest = pool.Allocate();
    EXPECT_EQ(Offset(pool, highest), 64 + 62 * 64);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(highest) % 64, 0u);
}

TEST(PoolAllocatorLayout, ConfigurationWithoutRoomForABlockIsRefused)
{
    EXPECT_THROW(PoolAllocator(Pages(16, 8)), std::invalid_argument);
    EXPECT_THROW(PoolAllocator(Pages(8, 8)), std::invalid_argument); // below the header
    EXPECT_THROW(PoolAllocator(Pages(100, 64, 0, true)), std::invalid_argument);
    EXPECT_THROW(PoolAllocator(Pages(4096, ~0ull, 0, true)), std::invalid_argument);
    EXPECT_NO_THROW(PoolAllocator(Pages(24, 8)));
}

TEST(PoolAllocatorPages, FreedBlockIsReusedFirstWithItsLinkZeroed)
{
    PoolAllocator pool(Pages(4096, 64));
    pool.Allocate();
    auto* b = static_cast<unsigned char*>(pool.Allocate());
    pool.Free(b);
    EXPECT_EQ(pool.PagesReleased(), 0u);
    ASSERT_EQ(pool.Allocate(), b);
    EXPECT_TRUE(std::all_of(b, b + 8, [](unsigned char c) { return c == 0; }));
}

TEST(PoolAllocatorPages, FreeingEveryBlockInAnyOrderReleasesThePage)
{
    PoolAllocator pool(Pages(4096, 64));
    std::vector<void*> blocks(63);
    for (void*& block : blocks)
        block = pool.Allocate();
    std::shuffle(blocks.begin(), blocks.end(), std::mt19937(7));
    for (void* block : blocks)
        pool.Free(block);
    EXPECT_EQ(pool.PagesReleased(), 1u);
    EXPECT_EQ(pool.Capacity(), 0u);
    EXPECT_EQ(pool.LiveBlocks(), 0u);
    EXPECT_EQ(pool.BytesHeld(), 0u);
    EXPECT_EQ(pool.FreeListHead(), nullptr);
}

TEST(PoolAllocatorPages, MaxBlocksLimitThrowsAndLeavesThePoolUnchanged)
{
    PoolAllocator pool(Pages(4096, 64, 2));
    pool.Allocate();
    pool.Allocate();
    const void* head = pool.FreeListHead();
    try {
        pool.Allocate();
        FAIL() << "the third block is over the limit";
    } catch (const std::bad_alloc& e) {
        EXPECT_STREQ(e.what(), "bad allocation");
    }
    EXPECT_EQ(pool.LiveBlocks(), 2u);
    EXPECT_EQ(pool.Capacity(), 63u);
    EXPECT_EQ(pool.FreeListHead(), head);
}

TEST(PoolAllocatorPages, ForeignOrInteriorPointerIsIgnored)
{
    PoolAllocator pool(Pages(4096, 64));
    pool.Allocate();
    void* b = pool.Allocate();
    alignas(16) std::byte elsewhere[64];
    pool.Free(elsewhere);
    pool.Free(nullptr);
    pool.Free(static_cast<std::byte*>(b) + 8);
    EXPECT_EQ(pool.LiveBlocks(), 2u);
    EXPECT_EQ(pool.Allocate(), static_cast<std::byte*>(b) - 64); // free list untouched
}

TEST(PoolAllocatorPages, RandomChurnOverManyPagesNeverHandsOutABlockTwice)
{
    // A 13-byte stride also leaves the free-list links unaligned.
    PoolAllocator pool(Pages(512, 13));
    std::vector<unsigned char*> live;
    std::mt19937 random(3);
    for (int step = 0; step < 5000; ++step) {
        const bool grow = (random() % 3 != 0) == (step < 2500); // fill, then drain
        if (live.empty() || grow) {
            live.push_back(static_cast<unsigned char*>(pool.Allocate()));
            std::memset(live.back(), 0xEE, 13);
        } else {
            const auto at = live.begin() + static_cast<std::ptrdiff_t>(random() % live.size());
            pool.Free(*at);
            live.erase(at);
        }
        ASSERT_EQ(pool.LiveBlocks(), live.size());
    }
    EXPECT_GT(pool.PagesReleased(), 0u);
    std::sort(live.begin(), live.end());
    EXPECT_EQ(std::adjacent_find(live.begin(), live.end()), live.end());
    for (void* block : live)
        pool.Free(block);
    EXPECT_EQ(pool.BytesHeld(), 0u);
    EXPECT_EQ(pool.PagesAllocated(), pool.PagesReleased());
}

} // namespace
