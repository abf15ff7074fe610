// The frame's look, held against pictures the renderer drew before its
// last round of savings on software GL: whatever the kernels and the order
// of work inside the passes become, a player must not see the difference.
// The references under looks/ were drawn by this same test on llvmpipe,
// reading the glow back; when the look is changed on purpose, copy the new
// screenshots/look_*.png over them (and look at them first).
#include "ArenaShot.h"
#include "LitScene.h"
#include "LookCompare.h"
#include "engine/core/Random.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/RenderCompManager.h"

#include <string>

namespace {

// A small window: the references stay small and the frame cheap.
constexpr int kLookWidth = 640;
constexpr int kLookHeight = 360;
// Below this a person may start to notice.
constexpr double kLeastPeakSignalToNoise = 40.0;

void UseLookWindow()
{
    Engine::Window::Main()->SetResolution({kLookWidth, kLookHeight});
    Engine::Window::CheckResize();
    // Particles and anything else random start the same way every run.
    Engine::Random::SeedWith(25);
}

// Draws one frame each way the frame can go, keeps them as
// screenshots/look_<name>.png (reading the glow back, as on a software
// rasteriser) and look_<name>_card.png (the halo drawn whole, as on a
// graphics card), and compares both with looks/<name>.png.
void ExpectLooksAsBefore(const std::string& name)
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    const RasteriserPath path;
    for (bool software : {true, false}) {
        path.Take(software);
        renderer.Render();
        EXPECT_TRUE(DrainGlErrors().empty());
        ASSERT_EQ(Engine::Window::Main()->GetSize(), std::make_pair(kLookWidth, kLookHeight));
        const std::string shot = "look_" + name + (software ? "" : "_card");
        ASSERT_TRUE(SaveScreenshot(shot));
        const double psnr =
            PeakSignalToNoise("screenshots/" + shot + ".png", std::string(SOLVANE_LOOKS_DIR) + "/" + name + ".png");
        EXPECT_GE(psnr, kLeastPeakSignalToNoise) << shot << " differs from its reference";
        std::cout << shot << ": " << psnr << " dB\n";
    }
}

struct LitLook : LitScene {
    void SetUp() override
    {
        LitScene::SetUp();
        UseLookWindow();
    }
};

TEST_F(LitLook, TheLitSceneLooksAsBefore)
{
    BuildAll();
    ExpectLooksAsBefore("lit_scene");
}

struct ArenaLook : ArenaShot {
    void SetUp() override
    {
        ArenaShot::SetUp();
        UseLookWindow();
    }

    // A player's body with its ball beside it, the ball lighting the floor.
    void AddPlayer(const glm::vec3& at, const glm::vec3& colour)
    {
        Engine::RenderComp& body = Model(Place(at, glm::vec3(1.4f)), "Player", "Player");
        body.mDiffuseColor.value = colour;
        body.mAmbientColor.value = colour * 0.3f;
        const glm::vec3 ballAt = at + glm::vec3(1.8f, 1.2f, 0.0f);
        Engine::RenderComp& ball = Model(Place(ballAt, glm::vec3(0.5f)), "Geosphere", "Ball", "Ball");
        ball.mDiffuseColor.value = colour;
        ball.mAmbientColor.value = colour * 0.6f;
        Engine::Light& light = PointLight(ballAt, colour);
        light.mAttenuation_2.value = 0.05f;
        light.mAttenuation_3.value = 0.05f;
    }

    // Two local players, each camera behind its player looking at the
    // other: one view above the other, as a split-screen match shows them.
    void BuildMatch()
    {
        BuildFloor();
        AddLights();
        AddEffects();
        const glm::vec3 first{-9.0f, 0.6f, 12.0f};
        const glm::vec3 second{7.0f, 0.6f, -8.0f};
        AddPlayer(first, {0.2f, 0.45f, 1.0f});
        AddPlayer(second, {1.0f, 0.25f, 0.2f});
        Engine::AlphaRenderComp& shield =
            Transparent(Place(second, glm::vec3(2.4f)), "Sphere", "ForceField", "ForceField");
        shield.mDiffuseColor.value = {1.0f, 0.5f, 0.3f};

        const glm::vec3 lift{0.0f, 2.5f, 0.0f};
        Engine::GameCamera& top = AddCamera(first - (second - first) * 0.15f + lift, second);
        Engine::GameCamera& bottom = AddCamera(second - (first - second) * 0.15f + lift, first);
        top.mViewportPos.value = {0.0f, 0.5f};
        top.mViewportIntake.value = {1.0f, 0.5f};
        top.selectionPoint = first + (second - first) * 0.35f;
        bottom.mViewportIntake.value = {1.0f, 0.5f};
        bottom.mCameraIndex.value = 1;
        bottom.selectionPoint = second + (first - second) * 0.35f;
        Text({-8.4f, 4.0f, 0.0f}, "Latin", u"Player 1  3", 0.6f).mCameraTarget.value = 0;
        Text({-8.4f, 4.0f, 0.0f}, "Latin", u"Player 2  2", 0.6f).mCameraTarget.value = 1;
        renderer.emissiveColour = {0.05f, 0.12f, 0.2f};
        renderer.SetSelectionColours({1.0f, 0.95f, 0.6f}, 1.6f, {0.2f, 0.4f, 0.6f});
        Engine::TransformCompManager::GetInstance().Update();
    }
};

TEST_F(ArenaLook, TheInstancedFloorLooksAsBefore)
{
    BuildAll();
    ExpectLooksAsBefore("instanced_floor");
}

TEST_F(ArenaLook, ASplitScreenMatchLooksAsBefore)
{
    BuildMatch();
    ExpectLooksAsBefore("split_match");
}

// The title screen's background: the arena blurred on its way to the
// window, the menu's text sharp over it.
TEST_F(ArenaLook, TheBlurredTitlePathLooksAsBefore)
{
    BuildAll();
    renderer.blurPath = true;
    ExpectLooksAsBefore("blurred_title");
    renderer.blurPath = false;
}

} // namespace
