#include "ArenaShot.h"

namespace {

TEST_F(ArenaShot, AFullFloorOfInstancedTilesWithOverlayAndParticles)
{
    Engine::GameCamera& camera = BuildAll();

    renderer.Render();
    EXPECT_TRUE(DrainGlErrors().empty());
    ASSERT_TRUE(SaveScreenshot("instanced_floor"));

    EXPECT_EQ(Engine::InstancedRenderableManager::GetInstance().GetComponents().begin()->second.InstanceCount(),
              static_cast<std::size_t>(kArenaTiles));
    const glm::ivec2 floor = WindowPixel(camera, {0.0f, -1.0f, 12.0f});
    EXPECT_GT(Brightness(PixelAt(floor.x, floor.y)), 60);
}

} // namespace
