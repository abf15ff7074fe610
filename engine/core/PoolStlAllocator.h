#pragma once
#include "engine/core/PoolAllocator.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace Engine {

// The pools behind one container: one PoolAllocator per block size asked for
// (a std::map asks only for its node size), each with 4096-byte pages.
class PoolSet {
public:
    static constexpr std::uint64_t kPageSize = 4096;

    PoolSet() = default;
    PoolSet(const PoolSet&) = delete;
    PoolSet& operator=(const PoolSet&) = delete;

    PoolAllocator& ForBlockSize(std::size_t blockSize)
    {
        for (const auto& [size, pool] : mPools) {
            if (size == blockSize)
                return *pool;
        }
        PoolAllocator::Config config{.pageSize = kPageSize, .blockSize = blockSize, .maxBlocks = 0, .powerOfTwo = false};
        mPools.emplace_back(blockSize, std::make_unique<PoolAllocator>(config));
        return *mPools.back().second;
    }

    using Entries = std::vector<std::pair<std::size_t, std::unique_ptr<PoolAllocator>>>;
    // Block size and pool, in the order first asked for.
    const Entries& Pools() const { return mPools; }

private:
    Entries mPools;
};

// Standard allocator that takes every single-object allocation (a node of a
// std::map, std::set or std::list) from a pool, one object per block. Copies
// and rebound copies share the pools, so a container's node allocator and
// the allocator it was given free each other's blocks. Arrays go to the heap.
template <class T>
class PoolStlAllocator {
public:
    using value_type = T;
    using propagate_on_container_copy_assignment = std::true_type;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;
    using is_always_equal = std::false_type;

    PoolStlAllocator() : mPools(std::make_shared<PoolSet>()) {}
    // No move constructor on purpose: a moved-from container must keep working
    // pools, so moving copies the shared handle.
    PoolStlAllocator(const PoolStlAllocator&) = default;
    PoolStlAllocator& operator=(const PoolStlAllocator&) = default;
    template <class U>
    PoolStlAllocator(const PoolStlAllocator<U>& other) : mPools(other.mPools)
    {
    }

    T* allocate(std::size_t n)
    {
        static_assert(alignof(T) <= alignof(std::max_align_t), "pool blocks are not aligned beyond max_align_t");
        if (n == 1)
            return static_cast<T*>(mPools->ForBlockSize(sizeof(T)).Allocate());
        return std::allocator<T>().allocate(n);
    }

    void deallocate(T* p, std::size_t n)
    {
        if (n == 1)
            mPools->ForBlockSize(sizeof(T)).Free(p);
        else
            std::allocator<T>().deallocate(p, n);
    }

    // The pools shared by this allocator's copies; for inspection.
    const PoolSet& Pools() const { return *mPools; }

    template <class U>
    bool operator==(const PoolStlAllocator<U>& other) const
    {
        return mPools == other.mPools;
    }

private:
    template <class>
    friend class PoolStlAllocator;
    std::shared_ptr<PoolSet> mPools;
};

// An ordered map whose nodes come from its own pool.
template <class K, class V, class Compare = std::less<K>>
using PoolMap = std::map<K, V, Compare, PoolStlAllocator<std::pair<const K, V>>>;

} // namespace Engine
