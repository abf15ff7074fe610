#include "FrameTestScene.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/render/HUDCompManager.h"

#include <map>
#include <nlohmann/json.hpp>

namespace {

using Engine::EntityHandle;
using Engine::HUDCompManager;

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

TEST(HUDComps, ANewComponentDrawsNothingUntilATextureIsResolved)
{
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    const EntityHandle entity = entities.CreateEntity();
    const EntityHandle other = entities.CreateEntity();
    HUDCompManager& huds = HUDCompManager::GetInstance();
    EXPECT_EQ(huds.AddComponent(entity).entity, entity);
    Engine::HUDComp& hud = *huds.GetCompPtr(entity);
    EXPECT_EQ(hud.texture, nullptr);
    hud.mTextureName.value = "NoSuchTexture";
    hud.ResolveTexture();
    EXPECT_EQ(hud.texture, nullptr);
    // Without a texture the draw returns before any GL call (there is no
    // context here).
    huds.Render(0);

    EXPECT_TRUE(huds.GetComponent(other).entity.IsNull());
    EXPECT_THROW(huds.GetCompPtr(other), Engine::InvalidMapKey);
    hud.mCameraTarget.value = 1;
    EXPECT_FALSE(hud.IsSeenBy(-1)) << "a camera of index -1 draws only elements for every camera";
}

TEST(HUDComps, ClearingAlsoDestroysTheHudEntities)
{
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    HUDCompManager& huds = HUDCompManager::GetInstance();
    huds.Clear(); // empty: nothing to destroy
    const EntityHandle first = entities.CreateEntity();
    const EntityHandle kept = entities.CreateEntity();
    const EntityHandle second = entities.CreateEntity();
    huds.AddComponent(first);
    huds.AddComponent(second);
    huds.Clear();
    EXPECT_EQ(huds.Count(), 0u);
    entities.Flush();
    EXPECT_FALSE(entities.IsInUse(first.GetIndex()));
    EXPECT_FALSE(entities.IsInUse(second.GetIndex()));
    EXPECT_TRUE(entities.IsInUse(kept.GetIndex()));
}

TEST(HUDComps, SavedComponentsComeBackWithTheirProperties)
{
    const EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    HUDCompManager& huds = HUDCompManager::GetInstance();
    huds.AddComponent(entity);
    huds.GetCompPtr(entity)->mColor.value = {0.5f, 0.25f, 1.0f, 0.75f};
    huds.GetCompPtr(entity)->mCameraTarget.value = 1;

    nlohmann::json scene = nlohmann::json::object();
    huds.Save(scene);
    ASSERT_TRUE(scene["HUDComps"].is_array());
    EXPECT_EQ(scene["HUDComps"][0]["handle"], entity.GetIndex());
    EXPECT_EQ(scene["HUDComps"][0]["values"]["mColor"]["w"], 0.75f);

    huds.RemoveComponent(entity);
    huds.Load(nlohmann::json::object({{"Other", 1}}));
    EXPECT_EQ(huds.Count(), 0u) << "a document without the section changes nothing";
    huds.Load(scene);
    ASSERT_TRUE(huds.HasComponent(entity));
    EXPECT_EQ(huds.GetCompPtr(entity)->mColor.value, glm::vec4(0.5f, 0.25f, 1.0f, 0.75f));
    EXPECT_EQ(huds.GetCompPtr(entity)->mCameraTarget.value, 1);

    nlohmann::json archetype = nlohmann::json::object();
    huds.SaveEntity(archetype, entity);
    const EntityHandle copy = Engine::EntityMgr::GetInstance().CreateEntity();
    huds.LoadEntity(archetype, copy);
    EXPECT_EQ(huds.GetCompPtr(copy)->mCameraTarget.value, 1);
}

TEST_F(HudScene, TheCanvasHasItsOriginAtTheViewportCentreAndYUp)
{
    Engine::GameCamera& camera = AddCamera({0, 0, 10}, {0, 0, 0});
    camera.mCanvasSize.value = {8.9f, 5.0f};
    Sprite({0.0f, 0.0f}, {0.3f, 0.3f}, {1, 0, 0, 1});
    Sprite({8.9f, 5.0f}, {0.3f, 0.3f}, {0, 1, 0, 1});

    renderer.Render();
    const std::array<int, 3> centre = PixelAt(640, 360);
    EXPECT_GT(centre[0], 200);
    EXPECT_LT(centre[1], 40);
    const std::array<int, 3> corner = PixelAt(1277, 717);
    EXPECT_GT(corner[1], 200);
    EXPECT_LT(corner[0], 40);
    EXPECT_LT(Brightness(PixelAt(2, 717)), 30) << "the upper left corner stays empty";
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(HudScene, TheHigherEntityIsOnTopAndATextureShowsOnceResolved)
{
    AddCamera({0, 0, 10}, {0, 0, 0});
    std::map<std::uint32_t, EntityHandle> byIndex;
    while (byIndex.empty() || byIndex.rbegin()->first < 9) {
        const EntityHandle entity = Place({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
        byIndex[entity.GetIndex()] = entity;
    }
    Sprite(byIndex.at(9), {0, 0, 1, 1});
    Sprite(byIndex.at(4), {1, 1, 0, 1});
    Engine::HUDComp& cross = Sprite(Place({-4.0f, 0.0f, 0.0f}), {1, 1, 1, 1});
    cross.mTextureName.value = "Cross";
    renderer.Render();
    const std::array<int, 3> top = PixelAt(640, 360);
    EXPECT_GT(top[2], 200);
    EXPECT_LT(top[0], 40);
    const glm::ivec2 crossCentre{640 - static_cast<int>(4.0f / (5.0f * 16.0f / 9.0f) * 640.0f), 360};
    const std::array<int, 3> whiteBefore = PixelAt(crossCentre.x, crossCentre.y);

    // The name alone changed nothing; resolving brings the other picture.
    cross.ResolveTexture();
    renderer.Render();
    std::uint64_t differing = 0;
    for (int dx = -20; dx <= 20; dx += 4)
        for (int dy = -20; dy <= 20; dy += 4)
            differing += PixelAt(crossCentre.x + dx, crossCentre.y + dy) != whiteBefore;
    EXPECT_GT(differing, 0u);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(HudScene, EachCameraDrawsTheElementsAimedAtItInItsOwnViewport)
{
    Engine::GameCamera& left = AddCamera({0, 0, 10}, {0, 0, 0});
    left.mViewportIntake.value = {0.5f, 1.0f};
    Engine::GameCamera& right = AddCamera({0, 0, 10}, {0, 0, 0});
    right.mViewportPos.value = {0.5f, 0.0f};
    right.mViewportIntake.value = {0.5f, 1.0f};
    right.mCameraIndex.value = 1;
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
    corners[0].position = {0.0f, 0.0f, 0.0f};
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
