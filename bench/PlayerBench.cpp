// Two players' logic over the full arena: the movement machine with its
// hover rays and camera, the energy machine recharging between spends, and
// the hurt machine pulsing after hits; then the frame's hold of the players
// in the arena. No display is needed.
#include "bench/BenchArena.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/CameraManager.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/player/HurtLogic.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerHold.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"

#include "engine/collision/SpatialCollisionMgr.h"

#include <algorithm>
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
        for (Engine::EntityHandle player : players)
            PlayerHold::Hold(*Engine::LogicManager::GetCompPtr<Player_LogicComp>(player), players);
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

// The hold of one player a frame, held against the other player as in a
// match, where it costs least and most: 0 in the middle of the floor, 1
// against a wall, 2 in a top corner among the ends of two walls' and the
// ceiling's columns, 3 inside a raised wall column, 4 inside the other
// player's body (3 and 4 pushed out every frame).
void BM_PlayerHold(benchmark::State& state)
{
    CreepingClock clock;
    // The same arena in every run: its goal tile is drawn at random.
    Engine::Random::SeedWith(1);
    BuildRestingArena(clock);
    MatchRecorder::GetInstance().isLive = 1;
    const glm::vec3 places[] = {{0.0f, -15.0f, 0.0f}, {34.0f, -15.0f, 0.0f}, {34.0f, 18.0f, 34.0f},
                                {30.0f, 0.0f, 0.0f}, {0.0f, -15.0f, 0.0f}};
    const glm::vec3 at = places[state.range(0)];
    const Engine::EntityHandle entity = SpawnBenchPlayer(at);
    const glm::vec3 other = state.range(0) == 4 ? at + glm::vec3(1.0f, 0.0f, 0.5f) : glm::vec3(-20.0f, -15.0f, 0.0f);
    const std::vector<Engine::EntityHandle> players = {entity, SpawnBenchPlayer(other)};
    Player_LogicComp& player = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
    if (state.range(0) == 3) {
        // The wall tile level with the player, raised past it.
        const Engine::EntityHandle column = *std::min_element(
            HexGrid::GetInstance().tiles.begin(), HexGrid::GetInstance().tiles.end(), [](auto a, auto b) {
                return glm::distance(Engine::Transform::GetWorldPosition(a), glm::vec3(75.0f, 0.0f, 0.0f)) <
                       glm::distance(Engine::Transform::GetWorldPosition(b), glm::vec3(75.0f, 0.0f, 0.0f));
            });
        Engine::Transform::PositionRef(column).x -= 10.0f;
        Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(column);
    }
    for (auto _ : state) {
        Engine::Transform::SetWorldPosition(entity, at);
        // The world matrices as a frame's entity phase leaves them.
        Engine::TransformCompManager::GetInstance().Update();
        PlayerHold::Hold(player, players);
    }
    state.counters["moved"] = glm::distance(Engine::Transform::GetWorldPosition(entity), at);
}
BENCHMARK(BM_PlayerHold)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

} // namespace
