#include "engine/core/PoolList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Heap-owning members make a missed destructor or a shallow copy visible to
// the address sanitizer.
struct Frame {
    std::string state;
    int index = 0;
};

using Frames = Engine::PoolList<Frame>;

std::vector<int> Indices(const Frames& list)
{
    std::vector<int> out;
    for (const Frame& frame : list)
        out.push_back(frame.index);
    return out;
}

TEST(PoolList, RingDropsTheOldestAndIteratesBothWays)
{
    Frames ring;
    for (int i = 0; i < 1200; ++i) {
        if (ring.size() >= 500)
            ring.pop_front();
        ring.push_back(Frame{"BallIdle with a long enough name " + std::to_string(i), i});
    }
    EXPECT_EQ(ring.front().index, 700);
    EXPECT_EQ(ring.Pool().LiveBlocks(), 501u);
    int expected = 1199;
    for (auto it = ring.rbegin(); it != ring.rend(); ++it)
        ASSERT_EQ(it->index, expected--);

    ring.push_front(Frame{"", -1});
    ring.erase(std::next(ring.begin()));
    ring.pop_back();
    EXPECT_EQ(Indices(ring).front(), -1);
    EXPECT_EQ(ring.back().index, 1198);
}

TEST(PoolList, CopyIsDeepAndClearKeepsOnlyTheSentinel)
{
    Frames ring;
    EXPECT_EQ(ring.Pool().PagesAllocated(), 1u);
    EXPECT_EQ(ring.Pool().LiveBlocks(), 1u);
    for (int i = 0; i < 50; ++i)
        ring.push_back(Frame{"a string too long for the small buffer " + std::to_string(i), i});
    Frames playback;
    playback.push_back(Frame{"old", 99});
    playback = ring;
    ring.front().state = "changed";
    ring.clear();

    EXPECT_EQ(playback.size(), 50u);
    EXPECT_EQ(playback.front().state, "a string too long for the small buffer 0");
    EXPECT_EQ(ring.Pool().LiveBlocks(), 1u);
    ring.push_back(Frame{"x", 7});
    EXPECT_EQ(Indices(Frames(ring)), std::vector<int>{7});
}

} // namespace
