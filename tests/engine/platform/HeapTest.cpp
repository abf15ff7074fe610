#include "engine/platform/Heap.h"

#include "support/ResidentMemory.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using namespace Engine::Platform;

constexpr std::size_t kMiB = 1u << 20;
constexpr std::size_t kPage = 4096;

// Writes every page, so that the block is resident, through a pointer the
// compiler may not see through (it could drop a block nobody reads).
std::unique_ptr<char[]> TouchedBlock(std::size_t bytes)
{
    std::unique_ptr<char[]> block(new char[bytes]);
    volatile char* pages = block.get();
    for (std::size_t at = 0; at < bytes; at += kPage)
        pages[at] = 1;
    return block;
}

// What loading a match does to the heap: a big buffer freed, then big
// buffers, each followed by a small allocation that lives on (a component, a
// name), all freed but the small ones. Memory goes back once they are.
TEST(Heap, BigBlocksFreedBetweenLastingSmallOnesGoBackToTheSystem)
{
    if (!BigBlocksCanBeMapped() || !kMemoryMeasured)
        GTEST_SKIP() << "the C library's allocator is not in use here";
    KeepBigBlocksMapped();
    // Freed, a block this big used to raise the bar for mapping to its size.
    TouchedBlock(8 * kMiB).reset();

    const long before = ResidentKiB();
    std::vector<std::unique_ptr<char[]>> big;
    std::vector<std::unique_ptr<char[]>> lasting;
    for (int i = 0; i < 24; ++i) {
        big.push_back(TouchedBlock(3 * kMiB / 2));
        lasting.push_back(TouchedBlock(64));
    }
    const long loaded = ResidentKiB();
    big.clear();
    const long after = ResidentKiB();

    ASSERT_GT(before, 0);
    EXPECT_GT(loaded - before, 30 * 1024) << "the blocks were never resident";
    EXPECT_LT(after - before, 4 * 1024) << "resident KiB: " << before << " before, " << loaded << " loaded, " << after
                                        << " after the big blocks were freed";
}

} // namespace
