#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

// Needs a display: run under xvfb-run -a -s "-screen 0 1280x720x24". Under
// Xvfb the driver is Mesa's llvmpipe, so the figure is CPU rasterisation.
namespace {

constexpr int kPrisms = 1370;

// The window and every start-up resource, unless the engine already made
// them in this process.
void OpenWindowOnce()
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    if (!Engine::Window::Main()) {
        Engine::Window::Create();
        renderer.Init();
    }
    if (!renderer.shaders.Find("Cel")) {
        renderer.LoadSplashResources();
        renderer.LoadResources();
    }
    renderer.SetVSync(false);
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

// How the arena's prisms are drawn.
enum class Prisms { RenderComponents, Instanced };

Engine::EntityHandle NewPrism(const glm::vec2& cell)
{
    Engine::EntityHandle tile = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(tile);
    const float x = 1.5f * cell.x;
    const float z = std::sqrt(3.0f) * (cell.y + 0.5f * cell.x);
    Engine::Transform::PositionRef(tile) = {x, -1.0f, z};
    Engine::Transform::ScaleRef(tile) = {0.95f, 0.4f, 0.95f};
    return tile;
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
Engine::EntityHandle AddInstancedGroup(const std::vector<Engine::EntityHandle>& tiles)
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
    return group;
}

// Empty when the entity manager runs out of handles (other benchmarks of
// the same process may hold many).
std::vector<Engine::EntityHandle> BuildArena(Prisms prisms)
{
    std::vector<Engine::EntityHandle> entities;
    if (Engine::EntityMgr::GetInstance().GetCount() + kPrisms + 4 > Engine::EntityMgr::kMaxEntities)
        return entities;
    for (const glm::vec2& cell : HexSpiral(kPrisms)) {
        Engine::EntityHandle tile = NewPrism(cell);
        if (prisms == Prisms::RenderComponents)
            AddRenderComponent(tile);
        entities.push_back(tile);
    }
    if (prisms == Prisms::Instanced)
        entities.push_back(AddInstancedGroup(entities));
    for (const glm::vec3& at : {glm::vec3(-10, 4, 5), glm::vec3(12, 5, -6)}) {
        Engine::EntityHandle lamp = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(lamp);
        Engine::Transform::PositionRef(lamp) = at;
        Engine::LightManager::GetInstance().AddComponent(lamp);
        entities.push_back(lamp);
    }
    Engine::EntityHandle eye = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::CameraManager::GetInstance().AddComponent(eye);
    Engine::GameCamera& camera = *Engine::CameraManager::GetInstance().GetCompPtr(eye);
    camera.SetPosition({0.0f, 28.0f, 48.0f});
    camera.SetTarget({0.0f, -1.0f, 0.0f});
    camera.Update();
    entities.push_back(eye);
    Engine::TransformCompManager::GetInstance().Update();
    return entities;
}

void RemoveArena(const std::vector<Engine::EntityHandle>& entities)
{
    for (const Engine::EntityHandle& entity : entities)
        Engine::EntityMgr::GetInstance().DestroyEntity(entity);
    Engine::EntityMgr::GetInstance().Flush();
}

// One rendered frame of a 1370-prism arena seen whole by one camera, two
// lights, bloom and post-processing at 1280 x 720, finished and swapped.
void RenderArenaFrames(benchmark::State& state, Prisms prisms)
{
    OpenWindowOnce();
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    const bool wasEnabled = renderer.renderingEnabled;
    renderer.renderingEnabled = true;
    const std::vector<Engine::EntityHandle> arena = BuildArena(prisms);
    if (arena.empty())
        state.SkipWithError("no free entities for the arena");
    for (auto _ : state) {
        renderer.Render();
        glFinish();
        renderer.SwapBuffers();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    RemoveArena(arena);
    renderer.renderingEnabled = wasEnabled;
}

// Every prism a render component: one draw call each.
void BM_RenderFrameOfHexPrismArena(benchmark::State& state)
{
    RenderArenaFrames(state, Prisms::RenderComponents);
}
BENCHMARK(BM_RenderFrameOfHexPrismArena)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same prisms as instances of one group: one instanced draw, with every
// matrix and colour uploaded again each frame.
void BM_RenderFrameOfInstancedHexPrismArena(benchmark::State& state)
{
    RenderArenaFrames(state, Prisms::Instanced);
}
BENCHMARK(BM_RenderFrameOfInstancedHexPrismArena)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
