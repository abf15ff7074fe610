// Two players' logic over the full arena: the movement machine with its
// hover rays and camera, the energy machine recharging between spends, and
// the hurt machine pulsing after hits. No display is needed.
#include "bench/BenchArena.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/CameraManager.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/player/HurtLogic.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

void UpdatePlayer(Engine::EntityHandle player)
{
    for (Engine::LogicComp* component : *Engine::LogicManager::GetInstance().FindComponents(player))
        component->Update();
}

void BM_TwoPlayersLogicFrame(benchmark::State& state)
{
    CreepingClock clock;
    BuildRestingArena(clock);
    const float floorTop = -19.0f;
    const std::vector<Engine::EntityHandle> players = {SpawnBenchPlayer({-10.0f, floorTop + 4.0f, 0.5f}),
                                                       SpawnBenchPlayer({10.0f, floorTop + 4.0f, -0.5f})};
    Player_LogicComp& spender = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(players[0]);
    Player_LogicComp& victim = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(players[1]);
    auto frame = [&] {
        clock.Advance(7);
        Engine::FrameRateController::EndFrame();
        for (Engine::EntityHandle player : players)
            UpdatePlayer(player);
        // The frame's entity phase: the moved players' world matrices.
        Engine::TransformCompManager::GetInstance().Update();
    };
    for (int i = 0; i < 500; ++i)
        frame();
    int count = 0;
    for (auto _ : state) {
        if (++count % 20 == 0)
            spender.SpendEnergy(1.0f);
        if (count % 400 == 0)
            victim.TakeHit();
        frame();
    }
    state.counters["grounded"] = spender.mJumpsUsed == 0 && victim.mJumpsUsed == 0;
}
BENCHMARK(BM_TwoPlayersLogicFrame)->Unit(benchmark::kMicrosecond);

} // namespace
