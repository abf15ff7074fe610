#include "engine/core/PoolStlAllocator.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

using Map = Engine::PoolMap<int, std::string>;

const Engine::PoolAllocator& NodePool(const Map& map)
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
