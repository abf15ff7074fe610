#pragma once
#include <cstddef>
#include <cstdint>
#include <new>

namespace Engine {

// Fixed-size blocks carved from fixed-size pages, with an intrusive free list.
// A page goes back to the heap as soon as its last block is freed.
//
// Page layout (page size bytes, from the general heap):
//
//   offset 0       next page (8 bytes)   | newest page first
//   offset 8       live blocks (u32)     | blocks of this page handed out
//   offset 12      padding (4 bytes)
//   offset H       block 0               | H = 16, or max(16, stride) when
//   offset H+S     block 1               |     the power-of-two flag is set
//   ...                                  | S = stride
//   offset H+(N-1)S block N-1            | N = (page size - H) / S
//
// A free block holds the next free block's address in its first 8 bytes.
// Limits: a block is at least 8 bytes; a configuration whose page cannot hold
// one block (N = 0), or whose N does not fit 32 bits, is refused.
class PoolAllocator {
public:
    struct Config {
        std::uint64_t pageSize = 4096;  // bytes per page, header included
        std::uint64_t blockSize = 8;    // bytes per block
        std::uint64_t maxBlocks = 0;    // blocks handed out at once; 0 = no limit
        bool powerOfTwo = false;        // round the stride up to a power of two
    };

    static constexpr std::uint64_t kPageHeaderSize = 16;
    static constexpr std::uint64_t kMinBlockSize = 8;

    // Throws std::invalid_argument for a configuration a page cannot serve.
    explicit PoolAllocator(const Config& config);
    ~PoolAllocator();
    PoolAllocator(const PoolAllocator&) = delete;
    PoolAllocator& operator=(const PoolAllocator&) = delete;

    // A block whose first 8 bytes are zero. Throws Engine::BadAllocation
    // ("bad allocation") at the max-blocks limit or when the heap is out.
    void* Allocate();
    // Returns a block of this allocator. A null pointer, or one that no held
    // page contains, is ignored.
    void Free(void* block);
    // Gives every page back; blocks still handed out become invalid.
    void FreeAll();

    std::uint64_t PageSize() const { return mPageSize; }
    std::uint64_t Stride() const { return mStride; }

    std::uint64_t LiveBlocks() const { return mLiveBlocks; }
    std::uint64_t Capacity() const { return mCapacity; }
    std::uint64_t PagesAllocated() const { return mPagesAllocated; }
    std::uint64_t PagesReleased() const { return mPagesReleased; }
    std::uint64_t BytesHeld() const { return mBytesHeld; }
    // Start of the newest page, or null; for inspecting the layout.
    const void* NewestPage() const { return mPages; }
    // The block the next Allocate returns when a free one is waiting, or null.
    const void* FreeListHead() const { return mFreeList; }

private:
    struct PageHeader {
        PageHeader* next;
        std::uint32_t liveBlocks;
    };
    static_assert(sizeof(PageHeader) == kPageHeaderSize);

    void AddPage();
    void ReleasePage(PageHeader* page);
    // Gives back a page already unlinked from the page list, with its counts.
    void DeletePage(PageHeader* page);
    PageHeader* FindPage(const void* block) const;
    std::align_val_t PageAlignment() const;
    std::byte* FirstBlock(PageHeader* page) const;
    bool PageHolds(PageHeader* page, const void* block) const;

    std::uint64_t mPageSize;
    std::uint64_t mBlockSize;
    std::uint64_t mMaxBlocks;
    bool mPowerOfTwo;

    PageHeader* mPages = nullptr;
    void* mFreeList = nullptr;
    std::uint64_t mLiveBlocks = 0;
    std::uint64_t mCapacity = 0;
    std::uint64_t mPagesAllocated = 0;
    std::uint64_t mPagesReleased = 0;
    std::uint64_t mBytesHeld = 0;

    std::uint64_t mStride = 0;
    std::uint64_t mHeaderSize = kPageHeaderSize;
    std::uint32_t mBlocksPerPage = 0;
};

} // namespace Engine
