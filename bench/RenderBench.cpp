// What a frame costs on the software GL of a machine without a graphics
// card, at 1280 x 720 (see FrameTiming.h for the figures each frame
// benchmark reports). The "ms_<pass>" and "cpu_<pass>" counters are the
// frame split by pass, timed over extra frames that wait for the GPU after
// every pass.
#include "bench/BenchMatch.h"
#include "bench/FrameTiming.h"
#include "engine/core/EntityManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HexColumnSides.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "game/arena/HexGrid.h"
#include "game/modes/GameplayMode.h"
#include "game/modes/TitleMode.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <glm/gtc/matrix_transform.hpp>
#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kPrisms = 1370;
using FrameTiming::Clock;
using FrameTiming::ProcessCpuMs;

// The engine as main starts it; `ui` keeps the menu layers drawn over the
// cameras, as in the game, or leaves them out.
void StartEngine(bool ui)
{
    StartGameEngineOnce();
    Engine::Renderer::GetInstance().overlayCallback = ui ? &GameMode::RenderUILayers : nullptr;
}

// The per-pass split: the probe waits for the GPU after each pass and books
// the wall and processor time since the last mark to that pass.
struct PassTimes {
    std::map<std::string, double> ms;
    std::map<std::string, double> cpuMs;
    Clock::time_point mark;
    double cpuMark = 0.0;

    void Mark()
    {
        mark = Clock::now();
        cpuMark = ProcessCpuMs();
    }
};
PassTimes* gPassTimes = nullptr;

void TimePass(const char* pass)
{
    glFinish();
    const Clock::time_point now = Clock::now();
    const double cpuNow = ProcessCpuMs();
    gPassTimes->ms[pass] += std::chrono::duration<double, std::milli>(now - gPassTimes->mark).count();
    gPassTimes->cpuMs[pass] += cpuNow - gPassTimes->cpuMark;
    gPassTimes->mark = now;
    gPassTimes->cpuMark = cpuNow;
}

void ReportPassTimes(benchmark::State& state, int frames)
{
    PassTimes times;
    gPassTimes = &times;
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.passProbe = &TimePass;
    for (int f = 0; f < frames; ++f) {
        times.Mark();
        renderer.Render();
        TimePass("other");
        renderer.SwapBuffers();
        TimePass("swap");
    }
    renderer.passProbe = nullptr;
    gPassTimes = nullptr;
    for (const auto& [pass, ms] : times.ms)
        state.counters["ms_" + pass] = ms / frames;
    for (const auto& [pass, ms] : times.cpuMs)
        state.counters["cpu_" + pass] = ms / frames;
}

// Times the frame the scene holds now with rendering enabled, then splits
// it by pass.
void TimeFrames(benchmark::State& state)
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    const bool wasEnabled = renderer.renderingEnabled;
    renderer.renderingEnabled = true;
    FrameTiming::TimeDrawnFrames(state, FrameTiming::RenderAndSwap);
    ReportPassTimes(state, 10);
    renderer.renderingEnabled = wasEnabled;
}

// The arena palette the match or the title drew at random, among nine:
// three light the tiles' borders, and that glow costs the halo and the
// bloom far more. Runs compare only where they drew the same one.
void ReportPalette(benchmark::State& state)
{
    state.counters["palette"] = PaletteIndex;
}

Engine::EntityHandle NewEntityAt(const glm::vec3& at, const glm::vec3& scale = glm::vec3(1.0f))
{
    Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(entity);
    Engine::Transform::PositionRef(entity) = at;
    Engine::Transform::ScaleRef(entity) = scale;
    return entity;
}

Engine::GameCamera& NewCamera(const glm::vec3& eye, const glm::vec3& target)
{
    const Engine::EntityHandle entity = NewEntityAt(eye);
    Engine::CameraManager::GetInstance().AddComponent(entity);
    Engine::GameCamera& camera = *Engine::CameraManager::GetInstance().GetCompPtr(entity);
    camera.SetPosition(eye);
    camera.SetTarget(target);
    camera.Update();
    return camera;
}

void DestroyEverything()
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    Engine::EntityMgr::GetInstance().Flush();
}

// Axial hexagon coordinates spiralling out from the centre, as many as asked.
std::vector<glm::vec2> HexSpiral(int count)
{
    std::vector<glm::vec2> cells{{0.0f, 0.0f}};
    const int directions[6][2] = {{1, 0}, {1, -1}, {0, -1}, {-1, 0}, {-1, 1}, {0, 1}};
    for (int ring = 1; static_cast<int>(cells.size()) < count; ++ring) {
        int q = -ring;
        int r = ring;
        for (const auto& d : directions)
            for (int step = 0; step < ring && static_cast<int>(cells.size()) < count; ++step) {
                cells.emplace_back(static_cast<float>(q), static_cast<float>(r));
                q += d[0];
                r += d[1];
            }
    }
    return cells;
}

// How the flat arena's prisms are drawn.
enum class Prisms { RenderComponents, Instanced };

Engine::EntityHandle NewPrism(const glm::vec2& cell)
{
    const float x = 1.5f * cell.x;
    const float z = std::sqrt(3.0f) * (cell.y + 0.5f * cell.x);
    return NewEntityAt({x, -1.0f, z}, {0.95f, 0.4f, 0.95f});
}

// Every prism its own render component with the cel program.
void AddRenderComponent(Engine::EntityHandle tile)
{
    Engine::RenderComp& prism = *Engine::RenderCompManager::GetInstance().AddComponent(tile).component;
    prism.mModelName.value = "Hexagon";
    prism.mShaderName.value = "Cel";
    prism.mMaterialName.value = "Tile";
    prism.mDiffuseColor.value = {0.2f, 0.5f, 0.6f};
    prism.ResolveResources();
}

// One group entity drawing every prism, as the arena floor does.
void AddInstancedGroup(const std::vector<Engine::EntityHandle>& tiles)
{
    Engine::EntityHandle group = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::InstancedRenderable& floor =
        *Engine::InstancedRenderableManager::GetInstance().AddComponent(group).component;
    floor.mModelName.value = "Hexagon";
    floor.mShaderName.value = "Cel_Instanced";
    floor.mMaterialName.value = "Tile";
    floor.ResolveResources();
    for (const Engine::EntityHandle& tile : tiles) {
        Engine::RenderWrapper& colours = *Engine::RenderWrapperManager::GetInstance().AddComponent(tile).component;
        colours.mAmbientColor_1.value = glm::vec3(1.0f);
        colours.mDiffuseColor.value = {0.2f, 0.5f, 0.6f};
        floor.AddInstance(tile);
    }
    floor.SetupInstanceBuffers();
}

// 1370 prisms on one plane seen whole by one camera, under two lights.
void BuildFlatArena(Prisms prisms)
{
    DestroyEverything();
    std::vector<Engine::EntityHandle> tiles;
    for (const glm::vec2& cell : HexSpiral(kPrisms)) {
        Engine::EntityHandle tile = NewPrism(cell);
        if (prisms == Prisms::RenderComponents)
            AddRenderComponent(tile);
        tiles.push_back(tile);
    }
    if (prisms == Prisms::Instanced)
        AddInstancedGroup(tiles);
    // Nothing here glows: a match run before leaves its palette's border
    // glow on the floor's programs, which made this frame cost what that
    // palette drew.
    Engine::Renderer::GetInstance().emissiveColour = glm::vec3(0.0f);
    for (const glm::vec3& at : {glm::vec3(-10, 4, 5), glm::vec3(12, 5, -6)})
        Engine::LightManager::GetInstance().AddComponent(NewEntityAt(at));
    NewCamera({0.0f, 28.0f, 48.0f}, {0.0f, -1.0f, 0.0f});
    Engine::TransformCompManager::GetInstance().Update();
}

// The least a frame can cost: what every other figure is a multiple of.
void BM_BareClearAndSwapFrame(benchmark::State& state)
{
    StartEngine(false);
    DestroyEverything();
    FrameTiming::TimeEachFrame(state, FrameTiming::ClearAndSwap);
}
BENCHMARK(BM_BareClearAndSwapFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// Nothing at all to draw: the fixed cost of a camera's passes.
void BM_EmptyCameraFrame(benchmark::State& state)
{
    StartEngine(false);
    DestroyEverything();
    NewCamera({0.0f, 0.0f, 10.0f}, glm::vec3(0.0f));
    TimeFrames(state);
    DestroyEverything();
}
BENCHMARK(BM_EmptyCameraFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Every prism a render component: one draw call each.
void BM_RenderFrameOfHexPrismArena(benchmark::State& state)
{
    StartEngine(false);
    BuildFlatArena(Prisms::RenderComponents);
    TimeFrames(state);
    DestroyEverything();
}
BENCHMARK(BM_RenderFrameOfHexPrismArena)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The same prisms as instances of one group: one instanced draw, with every
// matrix and colour uploaded again each frame.
void BM_RenderFrameOfInstancedHexPrismArena(benchmark::State& state)
{
    StartEngine(false);
    BuildFlatArena(Prisms::Instanced);
    TimeFrames(state);
    DestroyEverything();
}
BENCHMARK(BM_RenderFrameOfInstancedHexPrismArena)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// 1370 touching columns at uneven heights, as the arena's.
std::vector<glm::mat4> ArenaColumns()
{
    std::vector<glm::mat4> columns;
    for (const glm::vec2& cell : HexSpiral(kPrisms)) {
        const glm::vec3 at{1.5f * cell.x, 0.1f * std::sin(cell.x * 1.7f + cell.y), std::sqrt(3.0f) * (cell.y + 0.5f * cell.x)};
        columns.push_back(glm::scale(glm::translate(glm::mat4(1.0f), at * glm::vec3(2.5f, 40.0f, 2.5f)),
                                     glm::vec3(2.5f, 40.0f, 2.5f)));
    }
    return columns;
}

// The first draw of a new floor finds every column's neighbours.
void BM_ColumnSidesFirstUpdateOfAnArenaFloor(benchmark::State& state)
{
    const std::vector<glm::mat4> columns = ArenaColumns();
    for (auto _ : state) {
        Engine::HexColumnSides sides;
        sides.Update(columns);
        benchmark::DoNotOptimize(sides.Codes().data());
    }
}
BENCHMARK(BM_ColumnSidesFirstUpdateOfAnArenaFloor)->Unit(benchmark::kMillisecond);

// What each camera's floor draw adds to find the hidden parts of the
// columns' sides once the neighbours are known: per update none, or the
// given number of columns, moving.
void BM_ColumnSidesOfAnArenaFloor(benchmark::State& state)
{
    const auto moving = static_cast<std::size_t>(state.range(0));
    std::vector<glm::mat4> columns = ArenaColumns();
    Engine::HexColumnSides sides;
    sides.Update(columns);
    float rise = 0.0f;
    for (auto _ : state) {
        rise = rise > 1.0f ? 0.0f : rise + 0.01f;
        for (std::size_t i = 0; i < moving; ++i)
            columns[i * 67 % columns.size()][3].y = rise;
        sides.Update(columns);
        benchmark::DoNotOptimize(sides.Codes().data());
    }
}
BENCHMARK(BM_ColumnSidesOfAnArenaFloor)->Arg(0)->Arg(20)->Arg(1370)->Unit(benchmark::kMicrosecond);

// Two local players as the game builds their match: each player's view of
// the arena on half the window, with their HUDs and balls.
void BM_SplitScreenMatchFrame(benchmark::State& state)
{
    StartTwoPlayerMatch();
    TimeFrames(state);
    ReportPalette(state);
    GameplayMode::Shutdown();
    GameMode::Current = {};
}
BENCHMARK(BM_SplitScreenMatchFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The title screen as the game shows it: the arena from the orbiting menu
// camera, blurred on its way to the window, the title page over it.
void BM_TitleBlurredFrame(benchmark::State& state)
{
    StartEngine(true);
    DestroyEverything();
    GameMode::Current = GameMode::Title;
    TitleMode::Init();
    RunUndrawnFrames(&TitleMode::Update, 60);
    TimeFrames(state);
    ReportPalette(state);
    GameMode::Pending = {};
    TitleMode::Shutdown();
    GameMode::Current = {};
}
BENCHMARK(BM_TitleBlurredFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
