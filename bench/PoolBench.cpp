#include "engine/core/PoolAllocator.h"
#include "engine/core/PoolStlAllocator.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kBlockSize = 64;

struct Block {
    std::byte bytes[kBlockSize];
};

// The two sources under test, behind one shape.
struct PoolSource {
    Engine::PoolAllocator pool{Engine::PoolAllocator::Config{.pageSize = 4096, .blockSize = kBlockSize}};
    void* Allocate() { return pool.Allocate(); }
    void Free(void* p) { pool.Free(p); }
};

struct HeapSource {
    std::allocator<Block> heap;
    void* Allocate() { return heap.allocate(1); }
    void Free(void* p) { heap.deallocate(static_cast<Block*>(p), 1); }
};

// Allocates n blocks, then frees them all, oldest first.
template <class Source>
void AllocThenFreeAll(benchmark::State& state)
{
    Source source;
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(n);
    for (auto _ : state) {
        for (auto& block : blocks)
            block = source.Allocate();
        for (void* block : blocks)
            source.Free(block);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

// Keeps n blocks live and replaces a random one per step.
template <class Source>
void Interleaved(benchmark::State& state)
{
    Source source;
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(n);
    for (auto& block : blocks)
        block = source.Allocate();
    std::mt19937 random(5);
    for (auto _ : state) {
        void*& slot = blocks[random() % n];
        source.Free(slot);
        slot = source.Allocate();
        benchmark::DoNotOptimize(slot);
    }
    for (void* block : blocks)
        source.Free(block);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// A map the size of a busy manager: fill, then erase everything.
template <class Map>
void MapInsertErase(benchmark::State& state)
{
    const auto n = static_cast<int>(state.range(0));
    std::vector<int> keys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        keys[static_cast<std::size_t>(i)] = i;
    std::shuffle(keys.begin(), keys.end(), std::mt19937(9));
    Map map;
    for (auto _ : state) {
        for (int key : keys)
            map.emplace(key, key);
        for (int key : keys)
            map.erase(key);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * n);
}

using HeapMap = std::map<int, int>;
using PooledMap = Engine::PoolMap<int, int>;

BENCHMARK(AllocThenFreeAll<PoolSource>)->Arg(63)->Arg(1024)->Arg(4096);
BENCHMARK(AllocThenFreeAll<HeapSource>)->Arg(63)->Arg(1024)->Arg(4096);
BENCHMARK(Interleaved<PoolSource>)->Arg(63)->Arg(1024)->Arg(4096);
BENCHMARK(Interleaved<HeapSource>)->Arg(63)->Arg(1024)->Arg(4096);
BENCHMARK(MapInsertErase<PooledMap>)->Arg(128)->Arg(4096);
BENCHMARK(MapInsertErase<HeapMap>)->Arg(128)->Arg(4096);

} // namespace
