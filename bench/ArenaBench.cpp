// The arena's costs: building it, one frame of every tile's logic, and one
// recorded frame. Run from the build folder (the palettes are read from
// data/); no display is needed.
#include "bench/BenchArena.h"
#include "engine/core/EntityManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/GridCreation.h"
#include "game/match/RegisterLogicTypes.h"
#include "tests/support/CreepingClock.h"

#include <benchmark/benchmark.h>

namespace {

void BM_BuildGrid(benchmark::State& state)
{
    for (auto _ : state) {
        BuildArena();
        Engine::EntityMgr::GetInstance().Flush();
    }
    state.counters["tiles"] = static_cast<double>(HexGrid::GetInstance().tiles.size());
}
BENCHMARK(BM_BuildGrid)->Unit(benchmark::kMillisecond);

// One frame of all tile logic (both machines and the recording of every
// tile), with `moving` tiles stepping up and down the whole time.
void BM_TileLogicFrame(benchmark::State& state)
{
    CreepingClock clock;
    BuildRestingArena(clock);
    const HexGrid& grid = HexGrid::GetInstance();
    std::vector<TileLogicComponent*> movers;
    for (std::size_t n = 0; movers.size() < static_cast<std::size_t>(state.range(0)); n += 7) {
        auto* tile = Engine::LogicManager::GetCompPtr<TileLogicComponent>(grid.tiles[n % grid.tiles.size()]);
        if (tile->IsMovable()) {
            tile->SetSelected(true);
            movers.push_back(tile);
        }
    }
    for (auto _ : state) {
        for (TileLogicComponent* tile : movers) {
            if (tile->HeightMachine()->GetCurrentState()->GetName() == "TileStay") {
                tile->mRaiseRequest = tile->mLevel <= 0;
                tile->mLowerRequest = tile->mLevel > 0;
            }
        }
        clock.Advance(10);
        Engine::FrameRateController::EndFrame();
        Engine::LogicManager::GetInstance().Update();
    }
}
BENCHMARK(BM_TileLogicFrame)->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond);

// The recorder's live frame: the ring full, its weights summed, the best
// moment kept, a fresh 1370-tile frame made.
void BM_RecordFrame(benchmark::State& state)
{
    BuildArena();
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    recorder.Reset();
    for (int frame = 0; frame < 500; ++frame) {
        recorder.live.points0 = frame % 50 == 0 ? 150.0f : 10.0f;
        recorder.Update();
    }
    for (auto _ : state) {
        recorder.live.points0 = 10.0f;
        recorder.Update();
    }
}
BENCHMARK(BM_RecordFrame)->Unit(benchmark::kMicrosecond);

} // namespace
