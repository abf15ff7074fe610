#include "game/FreshRun.h"

#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/frame/EngineTestHarness.h"
#include "game/menus/MenuEvents.h"
#include "support/InjectedMotion.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

void NoCallback(MenuEventRecord&) {}

// What a match, its menus and its link leave in the process, each piece of
// which changed a later test's course in a binary run whole, and the step
// before every test of a game binary that takes it all away.
TEST(FreshRun, LeavesTheGameAsANewProcessFindsIt)
{
    FrameTest::StartEngine();
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    entities.DestroyEntity(entities.CreateEntity());
    entities.Flush();
    HexGrid& grid = HexGrid::GetInstance();
    grid.rows.fill(3);
    grid.tiles.push_back(entities.CreateEntity());
    Engine::CollisionTable::GetInstance().AddTag("Tile");
    Engine::FrameRateController::EndFrame();
    Engine::FrameRateController::SetTimeScale(0.25);
    Engine::Random::SeedWith(99);
    GameScene::PlayerCount = 2;
    GameScene::PlayerUsesGamepad[1] = false;
    GameState::GetInstance().joinAddress = "10.0.0.9";
    GameModifiers::GetPerks().Active.value = 3;
    MatchRecorder::GetInstance().capacity = 200;
    MatchRecorder::GetInstance().isLive = 0;
    MatchRecorder::GetInstance().killCamera.drawing = false;
    GameMode::Pending = GameMode::Gameplay;
    GameMode::Paused = 1;
    MenuEvents::AddOnce(MenuEvents::StartMatch, &NoCallback);
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    input.RequestQuit();
    InjectedMotion::KeepOnlyInjected(true);
    InjectedMotion::Push(40, 0);
    input.Update();
    InjectedMotion::Push(40, 0);
    const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[SDL_SCANCODE_W] = 1;
    input.SetHost({});
    NetworkMgr::GetInstance().port = 1234;
    NetworkMgr::GetInstance().disconnecting = 1;
    NetworkMgr::GetInstance().timeout = 1.0;

    FreshRun();
    EXPECT_FALSE(input.IsQuitRequested()) << "before the engine starts input again";
    FrameTest::StartEngine();

    const Engine::EntityHandle first = entities.CreateEntity();
    EXPECT_EQ(first.GetIndex(), 1u) << "entities update by index: the first one made is first again";
    EXPECT_EQ(first.GetGeneration(), 0u);
    EXPECT_TRUE(grid.tiles.empty());
    EXPECT_EQ(grid.PlannedTileCount(), 0u) << "the first match plays the default arena";
    EXPECT_FALSE(Engine::CollisionTable::GetInstance().HasTag("Tile"));
    EXPECT_EQ(Engine::FrameRateController::GetDt(), 0.0);
    EXPECT_EQ(Engine::FrameRateController::GetTimeScale(), 1.0);
    const int draw = Engine::Random::Next();
    Engine::Random::SeedWith(1);
    EXPECT_EQ(draw, Engine::Random::Next());
    EXPECT_EQ(GameScene::PlayerCount, 1);
    EXPECT_TRUE(GameScene::PlayerUsesGamepad[1]);
    EXPECT_TRUE(GameState::GetInstance().joinAddress.empty()) << "the join screen offers the file's address";
    EXPECT_EQ(GameModifiers::GetPerks().Active.value, 0);
    EXPECT_EQ(MatchRecorder::GetInstance().capacity, 500u);
    EXPECT_TRUE(MatchRecorder::GetInstance().isLive);
    EXPECT_TRUE(MatchRecorder::GetInstance().killCamera.drawing);
    EXPECT_TRUE(GameMode::Pending.Empty());
    EXPECT_FALSE(GameMode::Paused);
    EXPECT_TRUE(MenuEvents::StartMatch.empty());
    input.Update();
    EXPECT_FALSE(input.IsQuitRequested());
    EXPECT_EQ(input.GetMouseDelta(), glm::vec2(0.0f)) << "neither the last motion nor a queued one";
    InjectedMotion::KeepOnlyInjected(false);
    EXPECT_FALSE(input.IsKeyDown(SDL_SCANCODE_W));
    EXPECT_EQ(input.GetHost().window, Engine::Window::Main()->sdlWindow) << "the engine's host";
    EXPECT_EQ(NetworkMgr::GetInstance().port, NetworkMgr::kDefaultPort);
    EXPECT_FALSE(NetworkMgr::GetInstance().disconnecting);
    EXPECT_EQ(NetworkMgr::GetInstance().timeout, 10.0) << "a silent peer is given ten seconds";
}

} // namespace
