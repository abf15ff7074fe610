#include "engine/core/PoolAllocator.h"

#include "engine/core/RuntimeErrors.h"

#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace Engine {
namespace {

// Blocks need not be 8-byte aligned (any stride is allowed without the
// power-of-two flag), so the free-list link is copied, never dereferenced.
void* ReadLink(const void* block)
{
    void* next;
    std::memcpy(&next, block, sizeof next);
    return next;
}

void WriteLink(void* block, void* next) { std::memcpy(block, &next, sizeof next); }

std::uintptr_t Address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

[[noreturn]] void Refuse(const PoolAllocator::Config& config, const char* why)
{
    throw std::invalid_argument("PoolAllocator: page size " + std::to_string(config.pageSize) + " with block size " +
                                std::to_string(config.blockSize) + " refused: " + why);
}

} // namespace

PoolAllocator::PoolAllocator(const Config& config)
    : mPageSize(config.pageSize), mBlockSize(config.blockSize), mMaxBlocks(config.maxBlocks),
      mPowerOfTwo(config.powerOfTwo)
{
    if (mBlockSize < kMinBlockSize)
        mBlockSize = kMinBlockSize;

    mStride = mBlockSize;
    if (mPowerOfTwo) {
        if (mBlockSize > (std::uint64_t{1} << 63))
            Refuse(config, "the block cannot be rounded up to a power of two");
        mStride = std::bit_ceil(mBlockSize);
        mHeaderSize = mStride > kPageHeaderSize ? mStride : kPageHeaderSize;
        const std::uint64_t growth = mStride - mBlockSize;
        if (mPageSize > std::numeric_limits<std::uint64_t>::max() - growth)
            Refuse(config, "the rounded page size overflows");
        mPageSize += growth;
    }

    if (mPageSize < mHeaderSize || (mPageSize - mHeaderSize) / mStride == 0)
        Refuse(config, "a page cannot hold one block after its header");
    const std::uint64_t blocks = (mPageSize - mHeaderSize) / mStride;
    if (blocks > std::numeric_limits<std::uint32_t>::max())
        Refuse(config, "a page holds more blocks than its 32-bit count can track");
    mBlocksPerPage = static_cast<std::uint32_t>(blocks);
}

PoolAllocator::~PoolAllocator() { FreeAll(); }

void* PoolAllocator::Allocate()
{
    if (mMaxBlocks != 0 && mLiveBlocks == mMaxBlocks)
        throw BadAllocation();
    if (mLiveBlocks == mCapacity)
        AddPage();

    void* block = mFreeList;
    mFreeList = ReadLink(block);
    WriteLink(block, nullptr);
    FindPage(block)->liveBlocks += 1;
    mLiveBlocks += 1;
    return block;
}

void PoolAllocator::Free(void* block)
{
    PageHeader* page = block ? FindPage(block) : nullptr;
    if (!page)
        return;

    WriteLink(block, mFreeList);
    mFreeList = block;
    mLiveBlocks -= 1;
    page->liveBlocks -= 1;
    if (page->liveBlocks == 0)
        ReleasePage(page);
}

void PoolAllocator::FreeAll()
{
    // Every page goes, so every free block goes with it: the free list needs
    // no walk.
    while (mPages) {
        PageHeader* page = mPages;
        mPages = page->next;
        DeletePage(page);
    }
    mFreeList = nullptr;
}

void PoolAllocator::AddPage()
{
    void* raw = nullptr;
    try {
        raw = ::operator new(mPageSize, PageAlignment());
    } catch (const std::bad_alloc&) {
        throw BadAllocation();
    }
    auto* page = static_cast<PageHeader*>(raw);
    page->next = nullptr;
    page->liveBlocks = 0;
    mPagesAllocated += 1;
    mBytesHeld += mPageSize;

    // Ascending order leaves the page's last block at the head, so a fresh
    // page hands its blocks out from the highest address down.
    std::byte* block = FirstBlock(page);
    for (std::uint32_t i = 0; i < mBlocksPerPage; ++i, block += mStride) {
        WriteLink(block, mFreeList);
        mFreeList = block;
    }
    mCapacity += mBlocksPerPage;
    page->next = mPages;
    mPages = page;
}

void PoolAllocator::ReleasePage(PageHeader* page)
{
    void* previous = nullptr;
    void* current = mFreeList;
    for (std::uint32_t found = 0; current && found < mBlocksPerPage;) {
        void* next = ReadLink(current);
        if (PageHolds(page, current)) {
            if (previous)
                WriteLink(previous, next);
            else
                mFreeList = next;
            ++found;
        } else {
            previous = current;
        }
        current = next;
    }

    PageHeader** link = &mPages;
    while (*link != page)
        link = &(*link)->next;
    *link = page->next;
    DeletePage(page);
}

void PoolAllocator::DeletePage(PageHeader* page)
{
    mPagesReleased += 1;
    mCapacity -= mBlocksPerPage;
    mLiveBlocks -= page->liveBlocks;
    mBytesHeld -= mPageSize;
    ::operator delete(page, PageAlignment());
}

// With the power-of-two flag the page is aligned to the stride, so every
// block, not only its offset, sits on a stride boundary.
std::align_val_t PoolAllocator::PageAlignment() const
{
    return std::align_val_t{mHeaderSize};
}

std::byte* PoolAllocator::FirstBlock(PageHeader* page) const
{
    return reinterpret_cast<std::byte*>(page) + mHeaderSize;
}

bool PoolAllocator::PageHolds(PageHeader* page, const void* block) const
{
    const std::uintptr_t first = Address(FirstBlock(page));
    const std::uintptr_t last = first + (mBlocksPerPage - 1) * mStride;
    const std::uintptr_t at = Address(block);
    return at >= first && at <= last && (at - first) % mStride == 0;
}

PoolAllocator::PageHeader* PoolAllocator::FindPage(const void* block) const
{
    for (PageHeader* page = mPages; page; page = page->next) {
        if (PageHolds(page, block))
            return page;
    }
    return nullptr;
}

} // namespace Engine
