#pragma once
#include "engine/audio/Emitter.h"
#include "engine/audio/MasterVolume.h"
#include "engine/audio/RecordingSoundSystem.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/InputManager.h"
#include "engine/core/Random.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/FrameTime.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/logic/SMComponent.h"
#include "engine/logic/StateMachine.h"
#include "engine/render/CameraManager.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/RenderCompManager.h"
#include "game/config/InputBindings.h"
#include "game/components/player/PlayerHold.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/GameScene.h"
#include "game/match/GridCreation.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/Palette.h"
#include "game/match/RegisterLogicTypes.h"
#include "support/CapturedOutput.h"
#include "support/InjectedMotion.h"

#include <SDL.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

// A 7 x 7 floor built by the arena's own code, players spawned on it as the
// match spawns them, and frames driven with injected input and frame time:
// keys through SDL's key array, mouse buttons through the input manager's
// host, mouse motion and pads through SDL's own events.
class PlayerScene : public ::testing::Test {
protected:
    static constexpr int kFloorRows = 7;
    static constexpr int kFloorColumns = 7;
    static constexpr int kFloorSide = 1;
    static constexpr int kWallSide = 0;
    static constexpr int kWallColumns = 19;
    static constexpr int kCeilingSide = 4;

    void SetUp() override
    {
        // Xvfb without a window manager may leave the window unfocused, and
        // SDL drops pad buttons while no window of the program has focus.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        OpenTestWindow();
        InjectedMotion::KeepOnlyInjected(true);
        BeforeFloor();
        Engine::InputManager& input = Engine::InputManager::GetInstance();
        input.Init();
        Engine::InputHost host;
        host.window = Engine::Window::Main()->sdlWindow;
        host.keyboardFocus = [] { return true; };
        host.mouseState = [this](int* x, int* y) {
            *x = mousePixel.x;
            *y = mousePixel.y;
            return mouseButtons;
        };
        input.SetHost(host);
        Engine::MasterVolume::sfx = 0.5f;
        RegisterLogicTypes();
        InputBindings::Records() = {InputBindings::Defaults(), InputBindings::Defaults()};
        MatchRecorder::GetInstance().isLive = 1;
        MatchRecorder::GetInstance().isRecording = 1;
        Player_LogicComp::ResetPlayerCount();
        // The draws a new process makes (the floor's palette, its tiles'
        // rise), whatever tests ran before in this one.
        Engine::Random::SeedWith(1);
        BuildFloor();
    }

    void TearDown() override
    {
        heldKeys.clear();
        ReleaseAllKeys();
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        PlayerHooks::Get() = PlayerHooks{};
        // The recorder as a new process has it.
        MatchRecorder& recorder = MatchRecorder::GetInstance();
        MatchRecorder::ClearFrameList(recorder.playback);
        recorder.isLive = 1;
        recorder.Reset();
        SoundSystem::Install(nullptr);
        InjectedMotion::KeepOnlyInjected(false);
    }

    // What a test needs before the floor is built (the renderer's resources).
    virtual void BeforeFloor() {}

    // The renderer's shaders, models and textures, for tests that draw.
    static void LoadRenderer()
    {
        StdoutOf([] {
            Engine::Renderer::GetInstance().LoadSplashResources();
            Engine::Renderer::GetInstance().LoadResources();
        });
        DrainGlErrors();
    }
    // A lamp high above the floor and the palette's selection and border
    // colours, as the match sets them.
    static void LightTheFloor() { LightTheFloor(glm::vec3(0.0f, FloorTop() + 25.0f, 0.0f)); }
    static void LightTheFloor(const glm::vec3& lamp)
    {
        const Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = lamp;
        Engine::Light& light = *Engine::LightManager::GetInstance().AddComponent(entity).light;
        light.mAttenuation_2.value = 0.002f;
        light.mAttenuation_3.value = 0.0005f;
        PassPaletteToRenderer(CurrentPalette);
    }
    // The frame as the renderer draws it, into the back buffer.
    static void Draw()
    {
        Engine::TransformCompManager::GetInstance().Update();
        Engine::Renderer::GetInstance().Render();
        EXPECT_TRUE(DrainGlErrors().empty());
    }
    // The frame drawn and kept as screenshots/<shot>.png.
    static void Draw(const std::string& shot)
    {
        Draw();
        ASSERT_TRUE(SaveScreenshot(shot)) << shot;
    }

    // The arena's floor alone, risen into place; with a wall, the first
    // side too (the x wall at -75, its columns rising along +x); in a room
    // (`inARoom`), one tile at the middle of every other side too.
    void BuildFloor(bool withWall = false)
    {
        GridCreation::SetDefaultSettings();
        HexGrid& grid = HexGrid::GetInstance();
        grid.rows.fill(inARoom ? 1 : 0);
        if (inARoom)
            grid.cols.fill(1);
        grid.rows[kFloorSide] = kFloorRows;
        grid.cols[kFloorSide] = kFloorColumns;
        if (withWall) {
            grid.rows[kWallSide] = kFloorRows;
            grid.cols[kWallSide] = kWallColumns;
        }
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        GridCreation::CreateGrid();
        Engine::LogicManager::GetInstance().InitializeLogicComponents();
        Engine::SceneManager::SetActive();
        // The tiles rise into place within 3 s.
        Frames(310, 10);
    }

    // The small floor built again in the room of a whole arena: its walls
    // and ceiling bound the players where a match's would. Before anything
    // is spawned; a fixture that spawns in its SetUp sets `inARoom` in
    // BeforeFloor instead.
    void RoomOfAWholeArena(bool withWall = false)
    {
        inARoom = true;
        BuildFloor(withWall);
    }
    // Where the room's walls and ceiling stand, as a player sees their tiles
    // at rest: the walls' 75 from the middle, the ceiling's 59 above it,
    // each reaching 40 inward.
    static constexpr float kWallFace = 75.0f - 40.0f;
    static constexpr float kCeilingFace = 59.0f - 40.0f;

    // The first wall's column whose place across the wall lies nearest the
    // player's, raised until its top stands `beyond` past the player.
    static Engine::EntityHandle WallColumnThrough(Engine::EntityHandle player, float beyond)
    {
        const glm::vec3 at = Position(player);
        auto across = [&](Engine::EntityHandle tile) {
            return glm::distance(glm::vec2(Position(tile).y, Position(tile).z), glm::vec2(at.y, at.z));
        };
        Engine::EntityHandle column;
        for (Engine::EntityHandle tile : HexGrid::GetInstance().tiles) {
            if (Engine::Transform::GetParent(tile) == HexGrid::GetInstance().sides[kWallSide] &&
                (column.IsNull() || across(tile) < across(column)))
                column = tile;
        }
        RaiseWallColumnTo(column, at.x + beyond);
        return column;
    }
    // A column of the first wall moved along its rise until its top stands
    // at x = `top`.
    static void RaiseWallColumnTo(Engine::EntityHandle column, float top)
    {
        Engine::Transform::PositionRef(column).x += top - Position(column).x - Engine::Transform::ScalePtr(column)->y;
        Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(column);
    }

    // The first tile built on a side.
    static Engine::EntityHandle FirstTileOf(int side)
    {
        const HexGrid& grid = HexGrid::GetInstance();
        return *std::find_if(grid.tiles.begin(), grid.tiles.end(), [&](auto each) {
            return Engine::Transform::GetParent(each) == grid.sides[side];
        });
    }
    // The top face of the floor's tiles (they all stand level).
    static float FloorTop()
    {
        const Engine::EntityHandle tile = FirstTileOf(kFloorSide);
        return Engine::Transform::GetWorldPosition(tile).y + Engine::Transform::ScalePtr(tile)->y;
    }

    // A player built by the match's spawner, at a position, initialised and
    // named as the match names a local player. The sounds the spawner starts
    // and pauses at once are left out of what the tests hear.
    Engine::EntityHandle Spawn(const glm::vec3& at, bool gamepad = false)
    {
        Engine::SceneManager::SetIdle();
        const Engine::EntityHandle player = GameScene::SpawnPlayer(gamepad);
        Engine::SetEntityName(player, Net::Names::kLocalPlayer);
        Engine::Transform::PositionRef(player) = at;
        for (Engine::LogicComp* each : *Engine::LogicManager::GetInstance().FindComponents(player))
            each->Initialize();
        Engine::SceneManager::SetActive();
        audio.calls.clear();
        return player;
    }

    static Engine::EntityHandle Hud(const glm::vec3& at, const glm::vec3& scale, int camera)
    {
        Engine::EntityHandle hud = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(hud);
        Engine::Transform::PositionRef(hud) = at;
        Engine::Transform::ScaleRef(hud) = scale;
        Engine::HUDCompManager::GetInstance().AddComponent(hud);
        Engine::HUDCompManager::GetInstance().GetCompPtr(hud)->mCameraTarget.value = camera;
        return hud;
    }

    // A player that has come down onto the floor at (x, z) and walks: past
    // "Start", hovering. (The small floor's tiles meet along z = 0, where a
    // ray straight down may slip between them.)
    Engine::EntityHandle SpawnStanding(const glm::vec3& at = {1.0f, 0.0f, 1.0f}, bool gamepad = false)
    {
        const Engine::EntityHandle player = Spawn({at.x, FloorTop() + 4.1f, at.z}, gamepad);
        Frame(20);
        while (MovementState(player) != "Move")
            Frame(20);
        Frames(2, 10);
        return player;
    }

    static Player_LogicComp& Component(Engine::EntityHandle player)
    {
        return *Engine::LogicManager::GetCompPtr<Player_LogicComp>(player);
    }
    static Engine::CollisionComp& Body(Engine::EntityHandle player)
    {
        return *Engine::CollisionMgr::GetInstance().FindComp(player);
    }
    static Engine::GameCamera& Camera(Engine::EntityHandle player)
    {
        return *Engine::CameraManager::GetInstance().GetCompPtr(player);
    }
    static std::string MovementState(Engine::EntityHandle player)
    {
        return Component(player).StateNameOf(Player_LogicComp::MovementMachine);
    }
    static std::string EnergyState(Engine::EntityHandle player)
    {
        return Component(player).StateNameOf(Player_LogicComp::EnergyMachine);
    }
    static std::string HudTexture(Engine::EntityHandle hud)
    {
        return Engine::HUDCompManager::GetInstance().GetCompPtr(hud)->mTextureName.value;
    }
    static glm::vec3 Position(Engine::EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }
    // How far the player's body reaches from its centre along each axis:
    // half its size.
    static glm::vec3 HalfSize(Engine::EntityHandle player) { return 0.5f * *Engine::Transform::ScalePtr(player); }
    // How far the player's feet float above the floor.
    static float FeetHeight(Engine::EntityHandle player)
    {
        return Position(player).y - HalfSize(player).y - FloorTop();
    }

    // The phases of one engine frame that gameplay needs, in the engine's
    // order: logic, physics, the players' hold, the records that waited for
    // it, then input's end of frame and its pump.
    void Logic(std::uint64_t milliseconds)
    {
        time.Frame(milliseconds);
        WriteHeldKeys();
        Engine::LogicManager::GetInstance().Update();
    }
    // SDL brings its key array back in line with the X server's keyboard
    // when focus or keymap events arrive, which a loaded Xvfb delivers at
    // any time: the keys a test holds are written again every frame.
    void WriteHeldKeys() const
    {
        Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(nullptr));
        for (SDL_Scancode key : heldKeys)
            keys[key] = 1;
    }
    void PhysicsAndInput()
    {
        Engine::CollisionMgr::GetInstance().Update();
        PlayerHold::HoldLocalPlayers();
        NetworkMgr::GetInstance().send_placed_records();
        Engine::InputManager::GetInstance().EndFrame();
        Engine::InputManager::GetInstance().Update();
        Engine::EntityMgr::GetInstance().Flush();
    }
    void Frame(std::uint64_t milliseconds = 10)
    {
        Logic(milliseconds);
        PhysicsAndInput();
    }
    void Frames(int count, std::uint64_t milliseconds = 10)
    {
        for (int i = 0; i < count; ++i)
            Frame(milliseconds);
    }

    // Raises a peer's record to the entity as the network's receivers
    // deliver it; what was printed to stderr.
    template <class Record>
    static std::string Deliver(Engine::EntityHandle to, std::uint32_t code, const Record& record)
    {
        const auto bytes = Net::Encode(record);
        Engine::NetworkingEvent event;
        EXPECT_TRUE(event.Fill(code, bytes));
        return StderrOf([&] { Engine::EventHandlerList::Raise(event, to); });
    }

    // Keys are held from the next frame on.
    void HoldKey(InputBindings::Slot slot, bool down = true)
    {
        HoldKey(static_cast<SDL_Scancode>(InputBindings::Defaults().Code(slot)), down);
    }
    // Held keys are written again every frame: SDL clears its key array when
    // another test's window takes the shared display's focus.
    void HoldKey(SDL_Scancode scancode, bool down = true)
    {
        const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[scancode] = down ? 1 : 0;
        if (down)
            heldKeys.insert(scancode);
        else
            heldKeys.erase(scancode);
    }
    void Release(InputBindings::Slot slot) { HoldKey(slot, false); }
    void Press(InputBindings::Slot slot)
    {
        HoldKey(slot);
        Frame();
        Release(slot);
        Frame();
    }
    void ReleaseAllKeys()
    {
        heldKeys.clear();
        int count = 0;
        Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(&count));
        std::fill(keys, keys + count, Uint8{0});
    }
    // Relative mouse motion, seen by the next frame's logic.
    static void MoveMouse(int dx, int dy) { InjectedMotion::Push(dx, dy); }

    // The floor is built in the room of a whole arena.
    bool inARoom = false;
    InjectedFrameTime time;
    std::uint32_t mouseButtons = 0;
    // The pointer in window pixels (y down); the window's centre at rest.
    glm::ivec2 mousePixel{640, 360};
    std::set<SDL_Scancode> heldKeys;
    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
};

// One player standing at the floor's usual place.
class StandingPlayerScene : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        player = SpawnStanding();
        component = &Component(player);
    }

    Engine::EntityHandle player;
    Player_LogicComp* component = nullptr;
};
