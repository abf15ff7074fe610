#include "FrameTestScene.h"
#include "engine/core/InputManager.h"

#include <SDL.h>
#include <algorithm>

namespace {

using Engine::FramebufferSlot;

// The colour of a pixel of one of the renderer's targets, 0..255 per channel.
std::array<int, 3> TargetPixel(const Engine::Framebuffer& target, int x, int y)
{
    target.Bind();
    std::array<int, 3> rgb = PixelAt(x, y);
    target.Unbind();
    return rgb;
}

// Three spheres, each lit through one of its own colours alone: the ambient
// red, the diffuse green, the specular blue.
TEST_F(FrameTestScene, EachOfAComponentsOwnColoursReachesTheImage)
{
    renderer.celShading = false;
    struct Case {
        glm::vec3 place;
        glm::vec3 ambient, diffuse, specular;
        int channel; // the one that must stand out
    };
    const glm::vec3 none(0.0f);
    const Case cases[] = {
        {{-3, 0, 0}, {0.8f, 0, 0}, none, none, 0},
        {{0, 0, 0}, none, {0, 1, 0}, none, 1},
        {{3, 0, 0}, none, none, {0, 0, 1}, 2},
    };
    for (const Case& c : cases) {
        Engine::RenderComp& sphere = Model(Place(c.place), "Sphere", "Default");
        sphere.mAmbientColor.value = c.ambient;
        sphere.mDiffuseColor.value = c.diffuse;
        sphere.mSpecularColor.value = c.specular;
        sphere.mMetalness.value = 1.0f; // a broad highlight
    }
    PointLight({0, 0, 10}, {1, 1, 1}).mAmbientColor.value = glm::vec4(0.0f);
    const Engine::Camera& camera = AddCamera({0, 0, 10}, {0, 0, 0});

    renderer.Render();
    for (const Case& c : cases) {
        const glm::ivec2 at = WindowPixel(camera, c.place + glm::vec3(0, 0, 1));
        const std::array<int, 3> rgb = PixelAt(at.x, at.y);
        SCOPED_TRACE(testing::Message() << "channel " << c.channel << ": " << rgb[0] << ", " << rgb[1] << ", "
                                        << rgb[2]);
        for (int other : {(c.channel + 1) % 3, (c.channel + 2) % 3})
            EXPECT_GT(rgb[c.channel], rgb[other] + 60);
    }
    EXPECT_TRUE(SaveScreenshot("component_colours"));
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(FrameTestScene, ALitCubeIsBrighterOnTheSideFacingTheLight)
{
    renderer.celShading = false;
    Model(Place({0, 0, 0}), "Cube", "Default").mDiffuseColor.value = {0.8f, 0.8f, 0.8f};
    PointLight({6, 0, 0}, {1, 1, 1});
    const Engine::Camera& camera = AddCamera({3, 2, 6}, {0, 0, 0});

    renderer.Render();
    const glm::ivec2 lit = WindowPixel(camera, {1, 0, 0});   // face turned to the light
    const glm::ivec2 front = WindowPixel(camera, {0, 0, 1}); // face turned away from it
    EXPECT_GT(Brightness(PixelAt(lit.x, lit.y)), std::max(200, Brightness(PixelAt(front.x, front.y)) + 150));
    EXPECT_TRUE(DrainGlErrors().empty());
}

// A scale of 0 on one axis (a piece shrinking away) leaves no inverse for the
// normals; the face that still shows must be lit like any other.
TEST_F(FrameTestScene, AModelFlattenedByAZeroScaleIsStillLit)
{
    renderer.celShading = false;
    Model(Place({-1.5f, 0, 0}, {1, 1, 0}), "Cube", "Default").mDiffuseColor.value = {0.8f, 0.8f, 0.8f};
    Model(Place({1.5f, 0, 0}), "Cube", "Default").mDiffuseColor.value = {0.8f, 0.8f, 0.8f};
    PointLight({0, 0, 6}, {1, 1, 1});
    const Engine::Camera& camera = AddCamera({0, 0, 8}, {0, 0, 0});

    renderer.Render();
    const glm::ivec2 flat = WindowPixel(camera, {-1.5f, 0, 0});
    const glm::ivec2 whole = WindowPixel(camera, {1.5f, 0, 1});
    EXPECT_GT(Brightness(PixelAt(flat.x, flat.y)), 300);
    EXPECT_NEAR(Brightness(PixelAt(flat.x, flat.y)), Brightness(PixelAt(whole.x, whole.y)), 120);
    EXPECT_TRUE(DrainGlErrors().empty());
}

int overlayCalls = 0;

TEST_F(FrameTestScene, AnEmissiveObjectBloomsUnlessBloomIsOffAndNothingIsDrawnWithRenderingOff)
{
    Glowing({0, 0, 0}, 0.5f, {3, 2.5f, 1});
    AddCamera({0, 0, 10}, {0, 0, 0});
    overlayCalls = 0; // counted by this test's own frames only
    renderer.overlayCallback = [] { ++overlayCalls; };
    glViewport(0, 0, 1280, 720);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    renderer.renderingEnabled = false;
    renderer.Render();
    const std::array<int, 3> untouched = PixelAt(640, 360);
    EXPECT_NEAR(untouched[0], 51, 1);
    EXPECT_NEAR(untouched[2], 153, 1);
    EXPECT_EQ(overlayCalls, 0);

    // The blob's rim lies about 20 pixels from the centre; 6 more is dark
    // scene, lit only by the halo.
    renderer.renderingEnabled = true;
    renderer.Render();
    EXPECT_EQ(overlayCalls, 1);
    EXPECT_GT(Brightness(PixelAt(640, 360)), 600);
    EXPECT_GT(Brightness(PixelAt(640 + 26, 360)), 40);
    EXPECT_LT(Brightness(PixelAt(640 + 200, 360)), 5);
    renderer.bloom = false;
    renderer.Render();
    EXPECT_LT(Brightness(PixelAt(640 + 26, 360)), 5) << "the bloom flag did not reach the bloom pass";
    EXPECT_GT(Brightness(PixelAt(640, 360)), 600);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Camera 0 sees a red blob and camera 1 a blue one at the origin. Each
// camera's whole picture is squeezed into its half, so the centre of each
// half shows its own blob, and nothing leaks across.
struct SplitScreens : FrameTestScene {
    void DrawTwoBlobs(bool stacked)
    {
        Glowing({0, 0, 0}, 2.0f, {1, 0, 0}).mCameraTarget.value = 0;
        Glowing({0, 0, 0}, 2.0f, {0, 0, 1}).mCameraTarget.value = 1;
        SplitScreen(stacked);
        renderer.Render();
    }
    static void ExpectRedThenBlue(const std::array<int, 3>& first, const std::array<int, 3>& second)
    {
        EXPECT_GT(first[0], 150);
        EXPECT_LT(first[2], 30);
        EXPECT_GT(second[2], 150);
        EXPECT_LT(second[0], 30);
        EXPECT_TRUE(DrainGlErrors().empty());
    }
};

TEST_F(SplitScreens, LeftAndRightEachShowTheirCamerasView)
{
    const float before = renderer.time;
    DrawTwoBlobs(false);
    EXPECT_NEAR(renderer.time - before, 2 * 1.01666f, 1e-4f);
    ExpectRedThenBlue(PixelAt(320, 360), PixelAt(960, 360));
}

TEST_F(SplitScreens, BottomAndTopEachShowTheirCamerasView)
{
    DrawTwoBlobs(true);
    ExpectRedThenBlue(PixelAt(640, 180), PixelAt(640, 540));
    EXPECT_TRUE(SaveScreenshot("split_top_bottom"));
}

// The frame clears the scene target once and each camera draws into its own
// part of it; a camera whose part another camera drew first (a small view
// over a large one), or one drawn outside a frame as the replay draws its
// camera, starts from a cleared picture all the same.
TEST_F(FrameTestScene, ACameraOverAPartAnotherCameraDrewStartsFromAClearedPicture)
{
    Glowing({0, 0, 0}, 8.0f, {1, 0, 0}).mCameraTarget.value = 0;
    AddCamera({0, 0, 10}, {0, 0, 0});
    Engine::GameCamera& corner = AddCamera({0, 0, 10}, {0, 0, 0});
    corner.mViewportPos.value = {0.5f, 0.5f};
    corner.mViewportIntake.value = {0.5f, 0.5f};
    corner.mCameraIndex.value = 1;
    renderer.Render();
    EXPECT_GT(PixelAt(320, 180)[0], 150) << "the first camera fills the window with red";
    EXPECT_LT(Brightness(PixelAt(960, 540)), 10) << "the second camera sees nothing";

    corner.mViewportPos.value = {0.0f, 0.0f};
    corner.mViewportIntake.value = {1.0f, 1.0f};
    renderer.RenderCamera(corner);
    EXPECT_LT(Brightness(PixelAt(320, 180)), 10);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Nothing reads the scene target's normals: the frame neither clears nor
// writes them, and hands the target back drawing into all three attachments.
TEST_F(FrameTestScene, TheFrameLeavesTheScenesNormalsAloneAndItsDrawBuffersAsBuilt)
{
    const Engine::Framebuffer& scene = *renderer.GetFramebuffer(FramebufferSlot::Scene);
    scene.Bind();
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    scene.Unbind();
    Glowing({0, 0, 0}, 2.0f, {1, 0.5f, 0});
    AddCamera({0, 0, 10}, {0, 0, 0});
    renderer.Render();

    scene.Bind();
    GLint third = GL_NONE;
    glGetIntegerv(GL_DRAW_BUFFER2, &third);
    EXPECT_EQ(third, static_cast<GLint>(GL_COLOR_ATTACHMENT2));
    glReadBuffer(GL_COLOR_ATTACHMENT2);
    const std::array<int, 3> normal = PixelAt(640, 360);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    scene.Unbind();
    EXPECT_NEAR(normal[0], 64, 1);
    EXPECT_NEAR(normal[2], 191, 1);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// What the frame hands its programs: the post-processing inputs by location,
// the camera's selection point and the emissive colour by name.
TEST_F(FrameTestScene, TheFramesInputsReachTheirUniforms)
{
    Engine::GameCamera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    camera.selectionPoint = {1.0f, 2.0f, 3.0f};
    renderer.emissiveColour = {0.4f, 0.5f, 0.6f};
    const Engine::ShaderProgram& post = *renderer.shaders.Find("PostProcessing");
    const auto intAt = [&post](GLint location) {
        GLint value = -1;
        glGetUniformiv(post.Id(), location, &value);
        return value;
    };
    const auto floatsAt = [](GLuint program, GLint location) {
        glm::vec3 value(-1.0f);
        glGetUniformfv(program, location, &value.x);
        return value;
    };
    // Each flag on its own, so that no two can trade places unseen.
    for (int on = 0; on < 3; ++on) {
        SCOPED_TRACE(on);
        Engine::PostProcessingInputs& inputs = renderer.postProcessing;
        inputs.flag1 = on == 0; // replay look
        inputs.flag2 = on == 1; // colour split
        inputs.flag3 = on == 2; // hurt tint
        inputs.integer = 7 + on;
        inputs.float1 = 0.25f;
        inputs.float2 = 0.75f;
        inputs.vector = {0.1f, 0.2f, 0.3f};
        renderer.Render();
        EXPECT_EQ(intAt(2), on == 0);
        EXPECT_EQ(intAt(3), on == 1);
        EXPECT_EQ(intAt(4), on == 2);
        EXPECT_EQ(intAt(5), 7 + on);
        EXPECT_EQ(floatsAt(post.Id(), 6).x, 0.25f);
        EXPECT_EQ(floatsAt(post.Id(), 7).x, 0.75f);
        EXPECT_EQ(floatsAt(post.Id(), 8), glm::vec3(0.1f, 0.2f, 0.3f));
    }
    for (bool cel : {true, false}) {
        renderer.celShading = cel;
        renderer.Render();
        // Both builds the floor can draw with for this frame's lights.
        const Engine::ShaderProgram& lit = renderer.LitBuild(
            *renderer.shaders.Find(cel ? "Cel_Instanced" : "Default_Instanced"), Engine::LightKinds::None);
        for (const Engine::ShaderProgram* build : {&lit, &renderer.OneColourNormalBuild(lit)}) {
            const GLuint tiles = build->Id();
            EXPECT_EQ(floatsAt(tiles, glGetUniformLocation(tiles, "uSelectPos")), glm::vec3(1.0f, 2.0f, 3.0f)) << cel;
            EXPECT_EQ(floatsAt(tiles, glGetUniformLocation(tiles, "uEmissiveCol")), glm::vec3(0.4f, 0.5f, 0.6f)) << cel;
        }
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

// The blur path's middle passes work at half size; on a software
// rasteriser the Gaussian at their heart works at a quarter of it.
TEST_F(FrameTestScene, TheBlurPathWorksItsMiddlePassesAtHalfOrAQuarterOfTheSize)
{
    const Engine::Camera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    // Off-centre, in the upper right quarter: a middle pass drawn at full
    // size into a smaller target would push it out of the target.
    const glm::vec3 where{4.0f, 2.5f, 0.0f};
    Glowing(where, 1.5f, {1, 1, 1});
    renderer.blurPath = true;
    const glm::ivec2 full = WindowPixel(camera, where);
    ASSERT_GT(full.x, 700);
    ASSERT_GT(full.y, 400);
    struct Step {
        FramebufferSlot target;
        int shrink; // the target's picture against the window's
    };
    const RasteriserPath path;
    for (bool software : {false, true}) {
        SCOPED_TRACE(software);
        path.Take(software);
        for (std::size_t slot = 0; slot < static_cast<std::size_t>(FramebufferSlot::Count); ++slot) {
            renderer.GetFramebuffer(static_cast<FramebufferSlot>(slot))->Bind();
            glClear(GL_COLOR_BUFFER_BIT);
        }
        renderer.Render();
        const std::vector<Step> card{{FramebufferSlot::Blur1, 1}, {FramebufferSlot::Blur2, 2}, {FramebufferSlot::Blur3, 2},
                                     {FramebufferSlot::Blur4, 2}, {FramebufferSlot::Blur5, 2}};
        const std::vector<Step> quarter{{FramebufferSlot::Blur2, 4}, {FramebufferSlot::Blur3, 4}, {FramebufferSlot::Blur5, 2}};
        for (const Step& step : software ? quarter : card) {
            const Engine::Framebuffer& target = *renderer.GetFramebuffer(step.target);
            const int least = step.shrink == 1 ? 300 : 150;
            EXPECT_GT(Brightness(TargetPixel(target, full.x / step.shrink, full.y / step.shrink)), least)
                << static_cast<int>(step.target);
            EXPECT_LT(Brightness(TargetPixel(target, 40, 40)), 10) << static_cast<int>(step.target);
        }
        EXPECT_GT(Brightness(PixelAt(full.x, full.y)), 150);
        EXPECT_LT(Brightness(PixelAt(80, 80)), 10);
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

// The blur path's picture is faded and tinted by the last pass's inputs
// whichever way it is worked out, and its glowing blob shows as bright.
TEST_F(FrameTestScene, TheBlurPathFadesAndTintsItsPictureEitherWay)
{
    Glowing({0, 0, 0}, 1.0f, {2, 1.5f, 1});
    AddCamera({0, 0, 10}, {0, 0, 0});
    renderer.blurPath = true;
    renderer.postProcessing.vector = {0.2f, 0.1f, 0.4f};
    const RasteriserPath path;
    int centres[2] = {};
    for (bool software : {false, true}) {
        SCOPED_TRACE(software);
        path.Take(software);
        renderer.postProcessing.float1 = 0.5f;
        renderer.Render();
        const std::array<int, 3> corner = PixelAt(80, 80);
        EXPECT_NEAR(corner[0], 26, 1);
        EXPECT_NEAR(corner[1], 13, 1);
        EXPECT_NEAR(corner[2], 51, 1);
        centres[software] = Brightness(PixelAt(640, 360));
        renderer.postProcessing.float1 = 1.0f;
        renderer.Render();
        EXPECT_EQ(Brightness(PixelAt(640, 360)), 0) << "faded to black";
    }
    EXPECT_GT(centres[0], 300);
    EXPECT_NEAR(centres[1], centres[0], 12);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// A camera on part of the window keeps its blurred picture whole and in its
// place: each blur pass reads only what the one before drew, never the rest
// of the target, which still holds the last frame's full-window picture.
TEST_F(FrameTestScene, TheBlurPathKeepsANarrowedCamerasPictureInItsPlace)
{
    Engine::GameCamera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    Glowing({0.0f, 0.0f, 0.0f}, 4.0f, {1, 1, 1});
    renderer.blurPath = true;
    renderer.Render();
    ASSERT_GT(Brightness(PixelAt(760, 360)), 300) << "the blob first fills the middle";

    camera.mViewportIntake.value = {0.5f, 1.0f};
    renderer.Render();
    EXPECT_TRUE(SaveScreenshot("blur_path_left_half"));
    // Squeezed into the left half, the blob stands in its middle, as wide
    // as it is tall in the window there; its blur fades towards the sides.
    EXPECT_GT(Brightness(PixelAt(320, 360)), 600);
    EXPECT_GT(Brightness(PixelAt(320, 450)), 600);
    EXPECT_LT(Brightness(PixelAt(80, 360)), 10);
    EXPECT_LT(Brightness(PixelAt(560, 360)), 10);
    EXPECT_LT(Brightness(PixelAt(760, 360)), 10) << "nothing of the old frame on the right";
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Frames without replay look, colour split or hurt tint draw with a build of
// the last pass that leaves those out; it must draw the very same picture.
// On a software rasteriser the bloom's combine does that work instead of a
// pass of its own, which only saves rounding the combine to half floats.
TEST_F(FrameTestScene, TheLeanLastPassDrawsWhatTheFullOneDrawsWithItsEffectsIdle)
{
    Glowing({-1.0f, 0.0f, 0.0f}, 1.5f, {2.0f, 0.6f, 0.2f});
    Model(Place({2.0f, 0.0f, 0.0f}), "Sphere", "Default").mDiffuseColor.value = {0.3f, 0.7f, 0.9f};
    PointLight({0, 3, 6}, {1, 1, 1});
    AddCamera({0, 0, 10}, {0, 0, 0});
    renderer.postProcessing.vector = {0.05f, 0.0f, 0.1f};
    renderer.postProcessing.float1 = 0.2f;
    Engine::PostProcessingInputs& inputs = renderer.postProcessing;
    const RasteriserPath path;
    for (bool software : {false, true}) {
        path.Take(software);
        inputs.flag3 = false;
        renderer.Render();
        const std::vector<unsigned char> lean = WindowPicture();
        // A hurt tint of no strength: the full build runs and changes nothing.
        inputs.flag3 = true;
        inputs.float2 = 0.0f;
        renderer.Render();
        EXPECT_LE(LargestDifference(WindowPicture(), lean), software ? 1 : 0) << software;
        inputs.float2 = 0.5f;
        renderer.Render();
        EXPECT_GT(LargestDifference(WindowPicture(), lean), 20) << "the tint shows once it has strength";
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(FrameTestScene, F7FlipsCelShadingOncePerFrameOnTheBlurPathOnly)
{
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    input.Init();
    AddCamera({0, 0, 10}, {0, 0, 0});
    AddCamera({0, 0, 10}, {0, 0, 0});
    input.EndFrame();
    const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[SDL_SCANCODE_F7] = 1;
    ASSERT_TRUE(input.IsKeyTriggered(SDL_SCANCODE_F7));

    renderer.Render();
    EXPECT_TRUE(renderer.celShading) << "the plain path read F7";
    renderer.blurPath = true;
    renderer.Render();
    EXPECT_FALSE(renderer.celShading) << "two cameras flipped it twice, or none did";
    const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[SDL_SCANCODE_F7] = 0;
}

TEST_F(FrameTestScene, ATransparentDrawHandsItsOwnProgramTheCamera)
{
    Transparent(Place({0, 0, 0}), "Sphere", "ForceField", "ForceField");
    Engine::GameCamera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    Engine::AlphaRenderCompManager& alpha = Engine::AlphaRenderCompManager::GetInstance();
    alpha.SortByDistance(camera);
    renderer.shaders.Find("Quad")->Use(); // whatever the pass before left current
    alpha.Render(camera);

    const Engine::ShaderProgram& field = *renderer.shaders.Find("ForceField");
    glm::vec3 viewDir{0.0f};
    glm::vec3 eye{0.0f};
    glGetUniformfv(field.Id(), glGetUniformLocation(field.Id(), "uViewDir"), &viewDir.x);
    glGetUniformfv(field.Id(), glGetUniformLocation(field.Id(), "uViewPos"), &eye.x);
    EXPECT_NEAR(viewDir.z, -1.0f, 1e-5f);
    EXPECT_EQ(eye, glm::vec3(0.0f, 0.0f, 10.0f));
    EXPECT_TRUE(DrainGlErrors().empty()) << "the hook wrote into another program";
}

} // namespace
