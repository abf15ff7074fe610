#include "engine/core/PoolAllocator.h"
#include "engine/core/PoolList.h"
#include "engine/core/PoolStlAllocator.h"
#include "support/ThrownText.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
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

TEST(PoolAllocatorLayout, BlocksComeFromTheTopOfTheNewestPage)
{
    PoolAllocator pool(Pages(4096, 64));
    void* first = pool.Allocate();
    EXPECT_EQ(pool.Capacity(), 63u);
    EXPECT_EQ(pool.BytesHeld(), 4096u);
    EXPECT_EQ(Offset(pool, first), 16 + 62 * 64);
    EXPECT_EQ(Offset(pool, pool.Allocate()), 16 + 61 * 64);

    PoolAllocator small(Pages(4096, 4)); // grows to hold the free-list link
    EXPECT_EQ(static_cast<std::byte*>(small.Allocate()) - static_cast<std::byte*>(small.Allocate()), 8);

    PoolAllocator aligned(Pages(4096, 40, 0, true)); // stride 64, first block aligned to it
    EXPECT_EQ(aligned.PageSize(), 4096u + 24u);
    void* highest = aligned.Allocate();
    EXPECT_EQ(Offset(aligned, highest), 64 + 62 * 64);
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

TEST(PoolAllocatorPages, FreedBlockComesBackFirstZeroedAndForeignPointersAreIgnored)
{
    PoolAllocator pool(Pages(4096, 64));
    pool.Allocate();
    auto* b = static_cast<unsigned char*>(pool.Allocate());
    alignas(16) std::byte elsewhere[64];
    for (void* foreign : {static_cast<void*>(elsewhere), static_cast<void*>(b + 8), static_cast<void*>(nullptr)})
        pool.Free(foreign);
    EXPECT_EQ(pool.LiveBlocks(), 2u);
    EXPECT_EQ(pool.FreeListHead(), b - 64) << "free list untouched";
    pool.Free(b);
    EXPECT_EQ(pool.PagesReleased(), 0u);
    ASSERT_EQ(pool.Allocate(), b);
    EXPECT_TRUE(std::all_of(b, b + 8, [](unsigned char c) { return c == 0; }));
}

TEST(PoolAllocatorPages, MaxBlocksLimitThrowsAndLeavesThePoolUnchanged)
{
    PoolAllocator pool(Pages(4096, 64, 2));
    pool.Allocate();
    pool.Allocate();
    const void* head = pool.FreeListHead();
    EXPECT_EQ(ThrownText<std::bad_alloc>([&pool] { pool.Allocate(); }), "bad allocation");
    EXPECT_EQ(pool.LiveBlocks(), 2u);
    EXPECT_EQ(pool.Capacity(), 63u);
    EXPECT_EQ(pool.FreeListHead(), head);
}

TEST(PoolAllocatorPages, RandomChurnNeverHandsOutABlockTwiceAndReleasesEveryPage)
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
    std::shuffle(live.begin(), live.end(), std::mt19937(7));
    for (void* block : live)
        pool.Free(block);
    EXPECT_EQ(pool.BytesHeld(), 0u);
    EXPECT_EQ(pool.Capacity(), 0u);
    EXPECT_EQ(pool.FreeListHead(), nullptr) << "blocks of a released page stay on the free list";
    EXPECT_EQ(pool.PagesAllocated(), pool.PagesReleased());
}

// Heap-owning members make a missed destructor or a shallow copy visible to
// the address sanitizer.
struct RecordedFrame {
    std::string state;
    int index = 0;
};

std::string Long(int i) { return "BallIdle with a name past the small buffer " + std::to_string(i); }

TEST(PoolList, RingDropsTheOldestIteratesBothWaysAndCopiesDeep)
{
    Engine::PoolList<RecordedFrame> ring;
    for (int i = 0; i < 1200; ++i) {
        if (ring.size() >= 500)
            ring.pop_front();
        ring.push_back(RecordedFrame{Long(i), i});
    }
    EXPECT_EQ(ring.front().index, 700);
    EXPECT_EQ(ring.Pool().LiveBlocks(), 501u); // with the sentinel
    int expected = 1199;
    for (auto it = ring.rbegin(); it != ring.rend(); ++it)
        ASSERT_EQ(it->index, expected--);
    ring.push_front(RecordedFrame{"", -1});
    ring.erase(std::next(ring.begin()));
    ring.pop_back();
    EXPECT_EQ(ring.begin()->index, -1);
    EXPECT_EQ(std::next(ring.begin())->index, 701);
    EXPECT_EQ(ring.back().index, 1198);

    Engine::PoolList<RecordedFrame> playback;
    playback.push_back(RecordedFrame{Long(-1), 99});
    playback = ring;
    ring.back().state = "changed";
    ring.clear();
    EXPECT_EQ(ring.Pool().LiveBlocks(), 1u);
    EXPECT_EQ(playback.size(), 499u);
    EXPECT_EQ(playback.back().state, Long(1198));
    ring.push_back(RecordedFrame{"x", 7});
    const Engine::PoolList<RecordedFrame> copy(ring);
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_EQ(copy.front().index, 7);
}

using Map = Engine::PoolMap<int, std::string>;

const PoolAllocator& NodePool(const Map& map)
{
    const auto& pools = map.get_allocator().Pools().Pools();
    EXPECT_EQ(pools.size(), 1u); // only the node size is ever asked for
    return *pools.front().second;
}

TEST(PoolStlAllocator, MapNodesComeFromItsOwnPoolAndPagesGoBack)
{
    Map map;
    std::mt19937 random(11);
    std::uint64_t mostBytes = 0;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 2000; ++i)
            map[static_cast<int>(random() % 5000)] = "component " + std::to_string(i);
        mostBytes = std::max(mostBytes, NodePool(map).BytesHeld());
        ASSERT_EQ(NodePool(map).LiveBlocks(), map.size());
        for (int i = 0; i < 4000; ++i)
            map.erase(static_cast<int>(random() % 5000));
    }
    EXPECT_GT(mostBytes, 4096u);
    map.clear();
    EXPECT_EQ(NodePool(map).BytesHeld(), 0u);
    EXPECT_NE(&Map().get_allocator().Pools(), &map.get_allocator().Pools());
}

TEST(PoolStlAllocator, MovedCopiedAndAssignedMapsStayUsable)
{
    Map source;
    for (int i = 0; i < 100; ++i)
        source.emplace(i, std::to_string(i));
    Map copy(source);
    Map moved(std::move(source));
    source.emplace(5, "after move"); // a moved-from map still allocates
    copy.erase(copy.begin(), copy.find(50));
    Map assigned;
    assigned.emplace(-1, "old");
    assigned = moved;
    moved.clear();
    EXPECT_EQ(source.at(5), "after move");
    EXPECT_EQ(copy.size(), 50u);
    EXPECT_EQ(assigned.size(), 100u);
    EXPECT_EQ(assigned.at(99), "99");
}

} // namespace
