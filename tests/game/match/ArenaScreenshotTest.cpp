// Under Xvfb: the arena as the menu camera sees it, and a replay frame.
#include "ArenaFixture.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/FrameTime.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/CameraManager.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/Palette.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/KillCamHud.h"

namespace {

// The title screen's camera at the start of its orbit.
const glm::vec3 kMenuCamera{25.0f, 0.0f, 0.0f};

class ArenaShots : public ArenaFixture {
protected:
    void SetUp() override { OpenTestWindowWithResources(); }

    // The arena in the given palette (taken as a client takes the host's),
    // risen into place, with a few tiles raised, one aimed at, one crashing
    // out of the ceiling, and a ball with its light and sparks.
    void BuildLivelyArena(int palette)
    {
        NetworkMgr& network = NetworkMgr::GetInstance();
        network.connected = 1;
        PaletteIndex = palette;
        StderrOf([] { BuildArena(); });
        network.connected = 0;
        RunFrames(320);
        for (std::size_t number : {200u, 230u, 231u, 262u, 420u, 433u, 1000u}) {
            TileLogicComponent& tile = TileAt(number);
            tile.SetSelected(true);
            tile.mRaiseRequest = 1;
            RunFrames(1);
            tile.SetSelected(false);
        }
        Engine::LogicManager::GetInstance().AddComponent<CrashingTile>(Grid().tiles[1022]);
        auto* crash = Engine::LogicManager::GetCompPtr<CrashingTile>(Grid().tiles[1022]);
        crash->Initialize();
        crash->mActive = 1;
        RunFrames(70);
        TileAt(298).SetSelected(true);
        RunFrames(2);
        AddBall({-4.0f, -13.0f, 9.0f});
    }

    TileLogicComponent& TileAt(std::size_t number)
    {
        return *Engine::LogicManager::GetCompPtr<TileLogicComponent>(Grid().tiles[number]);
    }

    void RunFrames(int count)
    {
        for (int i = 0; i < count; ++i) {
            time.Frame(10);
            Engine::LogicManager::GetInstance().Update();
        }
    }

    static Engine::EntityHandle Place(const glm::vec3& at, const glm::vec3& scale)
    {
        Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = at;
        Engine::Transform::ScaleRef(entity) = scale;
        return entity;
    }

    // A ball as its spawner colours it, lighting the floor around it.
    static void AddBall(const glm::vec3& at)
    {
        const Engine::EntityHandle ball = Place(at, glm::vec3(1.2f));
        Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(ball).component;
        look.mModelName.value = "Geosphere";
        look.mShaderName.value = "Ball";
        look.mMaterialName.value = "Ball";
        look.mDiffuseColor.value = CurrentPalette.Colour(BallDiff);
        look.mSpecularColor.value = glm::vec3(CurrentPalette.Colour4(BallSpec));
        look.mAmbientColor.value = CurrentPalette.Colour(BallDiff) * 0.6f;
        look.ResolveResources();
        Engine::Light& light = *Engine::LightManager::GetInstance().AddComponent(ball).light;
        light.mDiffuseColor.value = glm::vec4(CurrentPalette.Colour(BallDiff), 1.0f);
        light.mSpecularColor.value = light.mDiffuseColor.value;
        light.mAmbientColor.value = glm::vec4(CurrentPalette.Colour(BallDiff) * 0.3f, 1.0f);
        light.mAttenuation_2.value = 0.05f;
        light.mAttenuation_3.value = 0.05f;

        Engine::ParticleEmitter& sparks =
            *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(Engine::EntityMgr::GetInstance().CreateEntity());
        sparks.programName = "Particle";
        sparks.modelName = "Quad";
        sparks.textureName = "Particle";
        sparks.LoadResources();
        sparks.SetMaxParticles(200);
        sparks.emissionCount = 3;
        sparks.shaderSwitch = 2;
        sparks.additive = true;
        sparks.pointA = at;
        sparks.minimum.startColour = sparks.maximum.startColour = glm::vec4(CurrentPalette.Colour(ParticlesStart), 0.8f);
        sparks.minimum.endColour = sparks.maximum.endColour = glm::vec4(CurrentPalette.Colour(ParticlesEnd), 0.0f);
        sparks.minimum.startVelocity = {-5.0f, -1.0f, -5.0f};
        sparks.maximum.startVelocity = {5.0f, 7.0f, 5.0f};
        sparks.minimum.scale = glm::vec3(0.2f);
        sparks.maximum.scale = glm::vec3(0.4f);
        sparks.minimum.lifetime = 0.5f;
        sparks.maximum.lifetime = 1.0f;
        for (int frame = 0; frame < 40; ++frame)
            sparks.Update(1.0f / 60.0f);
    }

    static Engine::GameCamera& MenuCamera()
    {
        const Engine::EntityHandle entity = Place(kMenuCamera, glm::vec3(1.0f));
        Engine::CameraManager::GetInstance().AddComponent(entity);
        Engine::GameCamera& camera = *Engine::CameraManager::GetInstance().GetCompPtr(entity);
        camera.mFoV.value = 60.0f;
        camera.SetPosition(kMenuCamera);
        camera.SetTarget(glm::vec3(0.0f));
        camera.Update();
        return camera;
    }

    static void UsePaletteOnRenderer(Engine::Camera& camera)
    {
        PassPaletteToRenderer(CurrentPalette);
        // The player aims at a point on the tile's top face.
        const Engine::EntityHandle aimed = Grid().tiles[298];
        camera.selectionPoint = Engine::Transform::GetWorldPosition(aimed) +
                                *Engine::Transform::UpPtr(aimed) * Engine::Transform::ScalePtr(aimed)->y;
    }

    // The window pixel that a world point lands on.
    static std::array<int, 3> PixelOf(const Engine::Camera& camera, const glm::vec3& world)
    {
        const glm::vec4 clip = camera.GetProjectionMatrix() * camera.GetViewMatrix() * glm::vec4(world, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return PixelAt(static_cast<int>((ndc.x * 0.5f + 0.5f) * 1280.0f), static_cast<int>((ndc.y * 0.5f + 0.5f) * 720.0f));
    }

    InjectedFrameTime time;
};

TEST_F(ArenaShots, TheWholeArenaUnderThreePalettesFromTheMenuCamera)
{
    const std::pair<int, const char*> shots[] = {{0, "arena_autumn"}, {5, "arena_dark_contrast"}, {4, "arena_pastel"}};
    std::vector<std::array<int, 3>> floors;
    for (const auto& [palette, name] : shots) {
        BuildLivelyArena(palette);
        Engine::GameCamera& camera = MenuCamera();
        UsePaletteOnRenderer(camera);
        Engine::TransformCompManager::GetInstance().Update();
        Engine::Renderer::GetInstance().Render();
        EXPECT_TRUE(DrainGlErrors().empty());
        ASSERT_TRUE(SaveScreenshot(name));
        // The aimed-at tile glows; the ceiling straight above it does not.
        const glm::vec3 aim = camera.selectionPoint;
        EXPECT_GT(Brightness(PixelOf(camera, aim)), Brightness(PixelOf(camera, aim + glm::vec3(0, 0, 12))) + 60) << name;
        const int above = Brightness(PixelOf(camera, {aim.x, 19.0f, aim.z}));
        const int aside = Brightness(PixelOf(camera, {aim.x, 19.0f, aim.z + 12.0f}));
        EXPECT_LT(std::abs(above - aside), 30) << name;
        // Straight ahead lies the far wall's middle: a resting tile.
        const std::array<int, 3> wall = PixelAt(640, 360);
        EXPECT_GT(Brightness(wall), 40) << name;
        floors.push_back(wall);
    }
    EXPECT_NE(floors[0], floors[1]);
    EXPECT_NE(floors[1], floors[2]);
}

TEST_F(ArenaShots, AReplayFrameThroughTheKillCameraWithTheRecordingOverlay)
{
    BuildLivelyArena(3);
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const Engine::EntityHandle hud = Place(glm::vec3(0.0f), {9.0f, 5.0f, 1.0f});
    Engine::HUDCompManager::GetInstance().AddComponent(hud);
    Engine::LogicManager::GetInstance().AddComponent<KillCamHud>(hud);

    // Two recorded frames seen over player 1's shoulder.
    for (int i = 0; i < 2; ++i) {
        recorder.live.players[0].camp = {22.0f, -8.0f, 22.0f};
        recorder.live.players[0].camt = {-10.0f, -16.0f, -6.0f};
        RunFrames(1);
        recorder.Update();
    }
    UsePaletteOnRenderer(recorder.killCamera);
    recorder.isLive = 0;
    const std::string said = StdoutOf([&] {
        for (int i = 0; i < 2; ++i) {
            RunFrames(1);
            Engine::TransformCompManager::GetInstance().Update();
            recorder.Update();
        }
    });
    EXPECT_NE(said.find("Cam idx: 2"), std::string::npos);
    EXPECT_FALSE(Engine::Renderer::GetInstance().renderingEnabled);
    EXPECT_EQ(Engine::HUDCompManager::GetInstance().GetCompPtr(hud)->mTextureName.value, "RecordingHud");
    EXPECT_TRUE(DrainGlErrors().empty());
    ASSERT_TRUE(SaveScreenshot("replay_kill_camera"));
    // The overlay's red dot sits near the top left corner.
    const std::array<int, 3> dot = PixelAt(118, 597);
    EXPECT_GT(dot[0], dot[1] + 60) << "the recording dot shows";

    RunFrames(1);
    recorder.Update();
    EXPECT_TRUE(recorder.isLive);
    RunFrames(1);
    EXPECT_EQ(Engine::HUDCompManager::GetInstance().GetCompPtr(hud)->mTextureName.value, "");
}

} // namespace
