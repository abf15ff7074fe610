#include "InstancedScene.h"
#include "engine/core/RuntimeErrors.h"

#include <map>
#include <nlohmann/json.hpp>

namespace {

using Engine::EntityHandle;
using Engine::InstancedRenderableManager;
using Engine::RenderWrapperManager;

// A camera straight above the origin, looking down.
struct InstancedFloor : InstancedScene {
    void SetUp() override
    {
        InstancedScene::SetUp();
        renderer.celShading = false;
        camera = &AddCamera({0.0f, 9.0f, 0.01f}, {0.0f, 0.0f, 0.0f});
    }

    std::array<int, 3> PixelOver(const glm::vec3& world) const
    {
        const glm::ivec2 at = WindowPixel(*camera, world);
        return PixelAt(at.x, at.y);
    }

    Engine::GameCamera* camera = nullptr;
};

TEST_F(InstancedFloor, SlotsKeepTheOrderOfFirstAdditionAndUploadsFillEachSlot)
{
    // Entities 1.. are handed out in order (the camera took the first).
    std::map<std::uint32_t, EntityHandle> byIndex;
    while (byIndex.empty() || byIndex.rbegin()->first < 7) {
        const EntityHandle entity = Place({static_cast<float>(byIndex.size()), 0.0f, 0.0f});
        byIndex[entity.GetIndex()] = entity;
    }
    const EntityHandle e3 = byIndex.at(3);
    const EntityHandle e5 = byIndex.at(5);
    const EntityHandle e7 = byIndex.at(7);
    Paint(e3, {0.3f, 0.0f, 0.0f});
    Paint(e5, {0.5f, 0.0f, 0.0f});
    Paint(e7, {0.7f, 0.0f, 0.0f});

    Engine::InstancedRenderable& floor = Floor({e7, e3, e5});
    EXPECT_EQ(floor.GetSlots().at(e7), 0u);
    EXPECT_EQ(floor.GetSlots().at(e3), 1u);
    EXPECT_EQ(floor.GetSlots().at(e5), 2u);
    EXPECT_EQ(floor.MatrixBuffer().Bytes(), 3u * 64u);
    EXPECT_EQ(floor.RecordBuffer().Bytes(), 3u * 68u);

    // Each entity's later state lands in its own slot.
    Engine::Transform::PositionRef(e3) = {-4.0f, 1.0f, 2.0f};
    RenderWrapperManager::GetInstance().GetComponent(e5).component->mDiffuseColor.value = {0.1f, 0.2f, 0.3f};
    floor.UploadInstances();
    EXPECT_EQ(floor.GetMatrices()[1], Engine::Transform::GetWorldMatrix(e3));
    EXPECT_EQ(floor.GetMatrices()[0], Engine::Transform::GetWorldMatrix(e7));
    EXPECT_EQ(floor.GetRecords()[2].diffuse, glm::vec3(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(floor.GetRecords()[0].ambient0, glm::vec3(0.7f, 0.0f, 0.0f));
    EXPECT_EQ(floor.GetRecords()[1].spare, glm::vec2(0.0f));

    const auto matrices = BufferContents<glm::mat4>(floor.MatrixBuffer());
    const auto records = BufferContents<Engine::InstanceRecord>(floor.RecordBuffer());
    ASSERT_EQ(matrices.size(), 3u);
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(matrices[slot], floor.GetMatrices()[slot]) << "slot " << slot;
        EXPECT_EQ(records[slot].ambient0, floor.GetRecords()[slot].ambient0) << "slot " << slot;
        EXPECT_EQ(records[slot].diffuse, floor.GetRecords()[slot].diffuse) << "slot " << slot;
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(InstancedFloor, AddingRefusesTilesWithoutWrapperAndIgnoresRepeats)
{
    const EntityHandle bare = Place({0.0f, 0.0f, 0.0f});
    const EntityHandle tile = Tile({1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    Engine::InstancedRenderable& floor = Floor({});
    EXPECT_FALSE(floor.MatrixBuffer().Exists()) << "no instances, no buffers";
    floor.AddInstance(tile);
    try {
        floor.AddInstance(bare);
        FAIL() << "an entity without a wrapper was added";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    floor.AddInstance(tile);
    EXPECT_EQ(floor.InstanceCount(), 1u);
    EXPECT_EQ(floor.GetMatrices().size(), 1u);
    EXPECT_EQ(floor.GetRecords().size(), 1u);
}

TEST_F(InstancedFloor, AWrapperColourWrittenDirectlyShowsAtTheNextFrame)
{
    const EntityHandle tile = Tile({0.0f, 0.0f, 0.0f}, {0.9f, 0.1f, 0.1f}, {2.0f, 0.4f, 2.0f});
    Floor({tile});
    renderer.Render();
    const std::array<int, 3> red = PixelOver({0.0f, 0.4f, 0.0f});
    EXPECT_GT(red[0], 150);
    EXPECT_LT(red[2], 60);

    RenderWrapperManager::GetInstance().GetComponent(tile).component->mAmbientColor_0.value = {0.1f, 0.1f, 0.9f};
    renderer.Render();
    const std::array<int, 3> blue = PixelOver({0.0f, 0.4f, 0.0f});
    EXPECT_GT(blue[2], 150);
    EXPECT_LT(blue[0], 60);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Both groups share the hexagon's vertex array, the second one made last.
TEST_F(InstancedFloor, TwoGroupsOnOneModelEachDrawTheirOwnTiles)
{
    Engine::InstancedRenderable& red = Floor({Tile({-3.0f, 0.0f, 0.0f}, {0.9f, 0.1f, 0.1f})});
    Floor({Tile({3.0f, 0.0f, 0.0f}, {0.1f, 0.9f, 0.1f}), Tile({3.0f, 0.0f, 3.0f}, {0.1f, 0.9f, 0.1f})});
    // Added after set-up: the red group's buffers grow to hold it.
    red.AddInstance(Tile({-3.0f, 0.0f, 3.0f}, {0.9f, 0.1f, 0.1f}));

    renderer.Render();
    for (const glm::vec3& at : {glm::vec3(-3.0f, 0.4f, 0.0f), glm::vec3(-3.0f, 0.4f, 3.0f)}) {
        const std::array<int, 3> pixel = PixelOver(at);
        EXPECT_GT(pixel[0], 150) << at.x << ", " << at.z;
        EXPECT_LT(pixel[1], 60) << at.x << ", " << at.z;
    }
    for (const glm::vec3& at : {glm::vec3(3.0f, 0.4f, 0.0f), glm::vec3(3.0f, 0.4f, 3.0f)}) {
        const std::array<int, 3> pixel = PixelOver(at);
        EXPECT_GT(pixel[1], 150) << at.x << ", " << at.z;
        EXPECT_LT(pixel[0], 60) << at.x << ", " << at.z;
    }
    EXPECT_EQ(red.MatrixBuffer().Bytes(), 2u * 64u);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(InstancedFloor, TilesWhoseEntityOrWrapperIsGoneAreNotDrawn)
{
    const EntityHandle kept = Tile({-2.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    const EntityHandle destroyed = Tile({0.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    const EntityHandle unwrapped = Tile({2.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    Engine::InstancedRenderable& floor = Floor({kept, destroyed, unwrapped});
    destroyed.Destroy();
    Engine::EntityMgr::GetInstance().Flush();
    RenderWrapperManager::GetInstance().RemoveComponent(unwrapped);

    ASSERT_NO_THROW(renderer.Render());
    EXPECT_GT(Brightness(PixelOver({-2.0f, 0.4f, 0.0f})), 400);
    EXPECT_LT(Brightness(PixelOver({0.0f, 0.4f, 0.0f})), 30);
    EXPECT_LT(Brightness(PixelOver({2.0f, 0.4f, 0.0f})), 30);
    EXPECT_EQ(floor.GetMatrices()[1], glm::mat4(0.0f));

    // A new tile given the freed index (its next generation) takes the slot
    // over.
    const EntityHandle reused(destroyed.GetIndex());
    ASSERT_NE(reused.GetGeneration(), destroyed.GetGeneration());
    Engine::TransformCompManager::GetInstance().AddComponent(reused);
    Engine::Transform::ScaleRef(reused) = {0.95f, 0.4f, 0.95f};
    Paint(reused, {0.9f, 0.9f, 0.9f});
    floor.AddInstance(reused);
    EXPECT_EQ(floor.InstanceCount(), 3u);
    renderer.Render();
    EXPECT_GT(Brightness(PixelOver({0.0f, 0.4f, 0.0f})), 400);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(InstancedFloor, ACameraDrawsTheGroupsAimedAtIt)
{
    Engine::InstancedRenderable& floor = Floor({Tile({0.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f})});
    floor.mCameraTarget.value = 1;
    EXPECT_TRUE(floor.IsSeenBy(-1));

    renderer.Render(); // the only camera has index 0
    EXPECT_LT(Brightness(PixelOver({0.0f, 0.4f, 0.0f})), 30);
    EXPECT_FLOAT_EQ(floor.drawTime, 0.0f);
    camera->mCameraIndex.value = 1;
    renderer.Render();
    EXPECT_GT(Brightness(PixelOver({0.0f, 0.4f, 0.0f})), 400);
    EXPECT_FLOAT_EQ(floor.drawTime, 0.01666f);
}

TEST_F(InstancedFloor, SavedGroupsAndWrappersComeBackWithoutInstances)
{
    const EntityHandle tile = Tile({0.0f, 0.0f, 0.0f}, {0.2f, 0.4f, 0.6f});
    Engine::InstancedRenderable& floor = Floor({tile}, "Tile");
    floor.mMetalness.value = 7.0f;
    const EntityHandle group = InstancedRenderableManager::GetInstance().GetComponents().begin()->first;

    nlohmann::json scene = nlohmann::json::object();
    InstancedRenderableManager::GetInstance().Save(scene);
    RenderWrapperManager::GetInstance().Save(scene);
    ASSERT_TRUE(scene["InstancedRenderable"].is_array());
    EXPECT_EQ(scene["InstancedRenderable"][0]["handle"], group.GetIndex());
    EXPECT_EQ(scene["InstancedRenderable"][0]["values"]["mModelName"], "Hexagon");
    EXPECT_EQ(scene["RenderWrapper"][0]["handle"], tile.GetIndex());
    EXPECT_FLOAT_EQ(scene["RenderWrapper"][0]["values"]["mAmbientColor_0"]["y"].get<float>(), 0.4f);

    InstancedRenderableManager::GetInstance().Clear();
    RenderWrapperManager::GetInstance().Clear();
    InstancedRenderableManager::GetInstance().Load(scene);
    RenderWrapperManager::GetInstance().Load(scene);
    const Engine::InstancedRenderable* loaded = InstancedRenderableManager::GetInstance().GetCompPtr(group);
    ASSERT_NE(loaded, nullptr);
    EXPECT_FLOAT_EQ(loaded->mMetalness.value, 7.0f);
    EXPECT_EQ(loaded->mMaterialName.value, "Tile");
    EXPECT_NE(loaded->model, nullptr) << "loading resolves the names";
    EXPECT_EQ(loaded->InstanceCount(), 0u);
    EXPECT_EQ(RenderWrapperManager::GetInstance().GetComponent(tile).component->mAmbientColor_0.value,
              glm::vec3(0.2f, 0.4f, 0.6f));
    ASSERT_NO_THROW(renderer.Render()) << "a loaded group without buffers draws nothing";

    // Per entity the property object stands alone under its key.
    nlohmann::json archetype = nlohmann::json::object();
    InstancedRenderableManager::GetInstance().SaveEntity(archetype, group);
    EXPECT_EQ(archetype["InstancedRenderable"]["mMetalness"], 7.0f);
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
