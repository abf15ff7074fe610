#include "LitScene.h"

namespace {

TEST_F(LitScene, RendersThroughBloomAndPostProcessingIntoAScreenshot)
{
    const Engine::Camera& camera = BuildAll();

    renderer.Render();
    EXPECT_TRUE(DrainGlErrors().empty());
    ASSERT_TRUE(SaveScreenshot("lit_scene"));

    // The floor is lit, the cube's face toward the warm light is warm, and
    // the sky stays dark.
    const glm::ivec2 floor = WindowPixel(camera, {0.0f, -0.6f, 4.5f});
    EXPECT_GT(Brightness(PixelAt(floor.x, floor.y)), 60);
    const glm::ivec2 cubeFace = WindowPixel(camera, {-2.2f, 0.2f, 1.9f});
    const std::array<int, 3> cube = PixelAt(cubeFace.x, cubeFace.y);
    EXPECT_GT(cube[0], cube[2] + 40);
    EXPECT_LT(Brightness(PixelAt(640, 710)), 40);
}

} // namespace
