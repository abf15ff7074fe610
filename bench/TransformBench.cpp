#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

// 15 roots with 16 children each and 16 grandchildren per child: the full
// 4095-entity table in three levels.
std::vector<Engine::EntityHandle> BuildForest()
{
    using namespace Engine;
    EntityMgr::GetInstance().Reset();
    TransformCompManager& manager = TransformCompManager::GetInstance();
    manager.Clear();
    std::vector<EntityHandle> roots;
    const auto make = [&manager](EntityHandle parent, float offset) {
        const EntityHandle entity = EntityMgr::GetInstance().CreateEntity();
        manager.AddComponent(entity);
        if (!parent.IsNull())
            Transform::SetParent(entity, parent);
        Transform::PositionRef(entity) = glm::vec3(offset, 1.0f, -offset);
        Transform::Rotate(entity, offset * 0.1f, glm::vec3(0, 1, 0));
        return entity;
    };
    for (int r = 0; r < 15; ++r) {
        const EntityHandle root = make(EntityHandle(), static_cast<float>(r));
        roots.push_back(root);
        for (int c = 0; c < 16; ++c) {
            const EntityHandle child = make(root, static_cast<float>(c));
            for (int g = 0; g < 16; ++g)
                make(child, static_cast<float>(g));
        }
    }
    manager.Update();
    return roots;
}

// Every root moves, so every world matrix is recomputed: the entity phase of
// a frame in which the whole scene moved.
void BM_TransformUpdateAfterMovingEveryRoot(benchmark::State& state)
{
    const std::vector<Engine::EntityHandle> roots = BuildForest();
    Engine::TransformCompManager& manager = Engine::TransformCompManager::GetInstance();
    for (auto _ : state) {
        state.PauseTiming();
        for (const Engine::EntityHandle& root : roots)
            Engine::Transform::PositionRef(root).x += 0.001f;
        state.ResumeTiming();
        manager.Update();
    }
    state.counters["entities"] = static_cast<double>(manager.Count());
    state.counters["dirty"] = static_cast<double>(manager.GetDirtyCount());
}
BENCHMARK(BM_TransformUpdateAfterMovingEveryRoot)->Unit(benchmark::kMicrosecond);

// The same frame with the marking of the roots (and so of their subtrees).
void BM_TransformMoveEveryRootAndUpdate(benchmark::State& state)
{
    const std::vector<Engine::EntityHandle> roots = BuildForest();
    Engine::TransformCompManager& manager = Engine::TransformCompManager::GetInstance();
    for (auto _ : state) {
        for (const Engine::EntityHandle& root : roots)
            Engine::Transform::PositionRef(root).x += 0.001f;
        manager.Update();
    }
}
BENCHMARK(BM_TransformMoveEveryRootAndUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
