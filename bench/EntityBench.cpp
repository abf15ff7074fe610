#include "engine/core/EntityManager.h"

#include <benchmark/benchmark.h>

namespace {

// A full entity table filled, every entity queued for destruction and the
// queue flushed: the work of the worst frame the entity phase can see.
void BM_EntityCreateDestroyFlush(benchmark::State& state)
{
    Engine::EntityMgr& manager = Engine::EntityMgr::GetInstance();
    manager.Reset();
    for (auto _ : state) {
        for (std::uint32_t i = 0; i < Engine::EntityMgr::kMaxEntities; ++i) {
            const Engine::EntityHandle handle = manager.CreateEntity();
            manager.DestroyEntity(handle);
        }
        manager.Flush();
        benchmark::DoNotOptimize(manager.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * Engine::EntityMgr::kMaxEntities);
}
BENCHMARK(BM_EntityCreateDestroyFlush);

} // namespace
