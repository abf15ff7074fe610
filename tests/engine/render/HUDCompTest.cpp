#include "FrameTestScene.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/render/HUDCompManager.h"

#include <map>

namespace {

using Engine::EntityHandle;
using Engine::HUDCompManager;

TEST(HUDComps, WithoutATextureNothingIsDrawnAndClearingDestroysTheEntities)
{
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    HUDCompManager& huds = HUDCompManager::GetInstance();
    huds.Clear(); // empty: nothing to destroy
    const EntityHandle first = entities.CreateEntity();
    const EntityHandle kept = entities.CreateEntity();
    const EntityHandle second = entities.CreateEntity();
    huds.AddComponent(first);
    huds.AddComponent(second);
    huds.GetCompPtr(first)->mTextureName.value = "NoSuchTexture";
    huds.GetCompPtr(first)->ResolveTexture();
    EXPECT_EQ(huds.GetCompPtr(first)->texture, nullptr);
    // Without a texture the draw returns before any GL call (there is no
    // context here).
    huds.Render(0);
    EXPECT_THROW(huds.GetCompPtr(kept), Engine::InvalidMapKey);

    huds.Clear();
    EXPECT_EQ(huds.Count(), 0u);
    entities.Flush();
    EXPECT_FALSE(entities.IsInUse(first.GetIndex()));
    EXPECT_FALSE(entities.IsInUse(second.GetIndex()));
    EXPECT_TRUE(entities.IsInUse(kept.GetIndex()));
}

struct HudScene : FrameTestScene {
    // A flat-coloured element (the white texture tinted) at a canvas place.
    Engine::HUDComp& Sprite(EntityHandle entity, const glm::vec4& colour)
    {
        HUDCompManager::GetInstance().AddComponent(entity);
        Engine::HUDComp& hud = *HUDCompManager::GetInstance().GetCompPtr(entity);
        hud.mTextureName.value = "White";
        hud.ResolveTexture();
        hud.mColor.value = colour;
        return hud;
    }
    Engine::HUDComp& Sprite(const glm::vec2& at, const glm::vec2& size, const glm::vec4& colour)
    {
        return Sprite(Place({at, 0.0f}, {size, 1.0f}), colour);
    }
};

TEST_F(HudScene, OriginAtTheViewportCentreYUpHigherEntityOnTopTextureOnceResolved)
{
    Engine::GameCamera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    camera.mCanvasSize.value = {8.9f, 5.0f};
    // Entities 9 (blue) and 4 (yellow) at the centre: the higher one is on top.
    std::map<std::uint32_t, EntityHandle> byIndex;
    while (byIndex.empty() || byIndex.rbegin()->first < 9) {
        const EntityHandle entity = Place({0.0f, 0.0f, 0.0f}, {0.3f, 0.3f, 1.0f});
        byIndex[entity.GetIndex()] = entity;
    }
    Sprite(byIndex.at(9), {0, 0, 1, 1});
    Sprite(byIndex.at(4), {1, 1, 0, 1});
    Sprite({8.9f, 5.0f}, {0.3f, 0.3f}, {0, 1, 0, 1});
    Engine::HUDComp& cross = Sprite(Place({-4.0f, 0.0f, 0.0f}), {1, 1, 1, 1});
    cross.mTextureName.value = "Cross";

    renderer.Render();
    const std::array<int, 3> centre = PixelAt(640, 360);
    EXPECT_GT(centre[2], 200);
    EXPECT_LT(centre[0], 40);
    const std::array<int, 3> corner = PixelAt(1277, 717);
    EXPECT_GT(corner[1], 200);
    EXPECT_LT(corner[0], 40);
    EXPECT_LT(Brightness(PixelAt(2, 717)), 30) << "the upper left corner stays empty";

    // The name alone changed nothing; resolving brings the other picture.
    const glm::ivec2 crossCentre{640 - static_cast<int>(4.0f / 8.9f * 640.0f), 360};
    const std::array<int, 3> whiteBefore = PixelAt(crossCentre.x, crossCentre.y);
    cross.ResolveTexture();
    renderer.Render();
    int differing = 0;
    for (int dx = -20; dx <= 20; dx += 4)
        for (int dy = -20; dy <= 20; dy += 4)
            differing += PixelAt(crossCentre.x + dx, crossCentre.y + dy) != whiteBefore;
    EXPECT_GT(differing, 0);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(HudScene, EachCameraDrawsTheElementsAimedAtItInItsOwnViewport)
{
    SplitScreen();
    // Cameras over the whole window leave its depth as it was: the nearest
    // there is must hide nothing.
    glClearDepth(0.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    Sprite({0.0f, 2.0f}, {0.5f, 0.5f}, {1, 0, 0, 1}).mCameraTarget.value = 1;
    Sprite({0.0f, -2.0f}, {0.5f, 0.5f}, {0, 1, 0, 1});

    renderer.Render();
    // Canvas y = 2 of 5 lies 0.4 of the half height above each centre.
    const int upper = 360 + 144;
    const int lower = 360 - 144;
    EXPECT_LT(Brightness(PixelAt(320, upper)), 30) << "camera 0 drew an element meant for camera 1";
    EXPECT_GT(PixelAt(960, upper)[0], 200);
    EXPECT_GT(PixelAt(320, lower)[1], 200);
    EXPECT_GT(PixelAt(960, lower)[1], 200);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// The radial menu draws its slices as meshes of its own in place of the
// quad.
TEST_F(HudScene, AnElementMayDrawAMeshInPlaceOfTheQuad)
{
    AddCamera({0, 0, 10}, {0, 0, 0});
    std::vector<Engine::Vertex> corners(3);
    corners[1].position = {1.0f, 0.0f, 0.0f};
    corners[2].position = {0.0f, 1.0f, 0.0f};
    const Engine::Mesh slice(corners, {0, 1, 2});
    Sprite({0.0f, 0.0f}, {2.0f, 2.0f}, {1, 1, 1, 1}).model = &slice;

    renderer.Render();
    // Inside the triangle, near its right angle: lit; across its long side
    // and left of it: empty.
    EXPECT_GT(Brightness(PixelAt(640 + 30, 360 + 30)), 600);
    EXPECT_LT(Brightness(PixelAt(640 + 100, 360 + 100)), 30);
    EXPECT_LT(Brightness(PixelAt(640 - 30, 360 + 30)), 30);
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
