#include "InstancedScene.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/render/ViewVolume.h"

#include <map>

namespace {

using Engine::EntityHandle;
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
    const std::vector<EntityHandle> order = {byIndex.at(7), byIndex.at(3), byIndex.at(5)};
    for (const EntityHandle& e : order)
        Paint(e, {0.1f * static_cast<float>(e.GetIndex()), 0.0f, 0.0f});
    Engine::InstancedRenderable& floor = Floor(order);

    // Each entity's later state lands in its own slot.
    Engine::Transform::PositionRef(order[1]) = {-4.0f, 1.0f, 2.0f};
    RenderWrapperManager::GetInstance().GetComponent(order[2]).component->mDiffuseColor.value = {0.1f, 0.2f, 0.3f};
    floor.UploadInstances();
    const auto matrices = BufferContents<glm::mat4>(floor.MatrixBuffer());
    const auto records = BufferContents<Engine::InstanceRecord>(floor.RecordBuffer());
    ASSERT_EQ(matrices.size(), 3u);
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(matrices[slot], Engine::Transform::GetWorldMatrix(order[slot])) << "slot " << slot;
        EXPECT_FLOAT_EQ(records[slot].ambient0.r, 0.1f * static_cast<float>(order[slot].GetIndex())) << slot;
        EXPECT_EQ(records[slot].spare, glm::vec2(0.0f)) << slot;
    }
    EXPECT_EQ(records[2].diffuse, glm::vec3(0.1f, 0.2f, 0.3f));
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(InstancedFloor, ALoadedGroupDrawsNothingUntilItHasInstancesAndRefusesTilesWithoutWrapper)
{
    const EntityHandle group = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::InstancedRenderableManager::GetInstance().LoadEntity(
        {{"InstancedRenderable",
          {{"mModelName", "Hexagon"}, {"mShaderName", "Default_Instanced"}, {"mMaterialName", "White"},
           {"mCameraTarget", -1}, {"mMetalness", 7.0}}}},
        group);
    Engine::InstancedRenderable& floor = *Engine::InstancedRenderableManager::GetInstance().GetCompPtr(group);
    EXPECT_NE(floor.model, nullptr) << "loading resolves the names";
    floor.SetupInstanceBuffers();
    EXPECT_FALSE(floor.MatrixBuffer().Exists()) << "no instances, no buffers";
    ASSERT_NO_THROW(renderer.Render());

    const EntityHandle tile = Tile({1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
    floor.AddInstance(tile);
    try {
        floor.AddInstance(Place({0.0f, 0.0f, 0.0f}));
        FAIL() << "an entity without a wrapper was added";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    floor.AddInstance(tile);
    EXPECT_EQ(floor.InstanceCount(), 1u);
    floor.SetupInstanceBuffers();
    EXPECT_EQ(BufferContents<glm::mat4>(floor.MatrixBuffer()).size(), 1u);
}

TEST_F(InstancedFloor, AColourChangeShowsAtTheNextFrameAndGroupsFollowTheirCameraTarget)
{
    const EntityHandle tile = Tile({0.0f, 0.0f, 0.0f}, {0.9f, 0.1f, 0.1f}, {2.0f, 0.4f, 2.0f});
    Floor({tile});
    Engine::InstancedRenderable& other = Floor({Tile({3.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f})});
    other.mCameraTarget.value = 1;
    renderer.Render(); // the only camera has index 0
    const std::array<int, 3> red = PixelOver({0.0f, 0.4f, 0.0f});
    EXPECT_GT(red[0], 150);
    EXPECT_LT(red[2], 60);
    EXPECT_LT(Brightness(PixelOver({3.0f, 0.4f, 0.0f})), 30) << "camera 0 drew a group meant for camera 1";
    EXPECT_FLOAT_EQ(other.drawTime, 0.0f);

    RenderWrapperManager::GetInstance().GetComponent(tile).component->mAmbientColor_0.value = {0.1f, 0.1f, 0.9f};
    camera->mCameraIndex.value = 1;
    renderer.Render();
    const std::array<int, 3> blue = PixelOver({0.0f, 0.4f, 0.0f});
    EXPECT_GT(blue[2], 150);
    EXPECT_LT(blue[0], 60);
    EXPECT_GT(Brightness(PixelOver({3.0f, 0.4f, 0.0f})), 400);
    EXPECT_FLOAT_EQ(other.drawTime, Engine::InstancedRenderable::kDrawTimeStep);
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
    for (const glm::vec3& at : {glm::vec3(-3, 0.4f, 0), glm::vec3(-3, 0.4f, 3), glm::vec3(3, 0.4f, 0),
                                glm::vec3(3, 0.4f, 3)}) {
        const std::array<int, 3> pixel = PixelOver(at);
        const int own = at.x < 0 ? pixel[0] : pixel[1];
        const int foreign = at.x < 0 ? pixel[1] : pixel[0];
        EXPECT_GT(own, 150) << at.x << ", " << at.z;
        EXPECT_LT(foreign, 60) << at.x << ", " << at.z;
    }
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

// One camera's draw hands the GPU only the tiles it may see, nearest first,
// so that the depth test turns away what they hide before it is shaded.
TEST_F(InstancedFloor, ACamerasDrawKeepsTheTilesInItsViewNearestFirst)
{
    const EntityHandle far = Tile({4.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    const EntityHandle nearest = Tile({0.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    const EntityHandle beside = Tile({-2.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    const EntityHandle aside = Tile({60.0f, 0.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    const EntityHandle overhead = Tile({0.0f, 20.0f, 0.0f}, {0.9f, 0.9f, 0.9f});
    Engine::InstancedRenderable& floor = Floor({far, aside, nearest, overhead, beside});
    Engine::TransformCompManager::GetInstance().Update();
    const Engine::ShaderProgram& program = *renderer.shaders.Find("Default_Instanced");
    const glm::mat4 viewProjection = camera->GetProjectionMatrix() * camera->GetViewMatrix();

    floor.Draw(program, Engine::ViewVolume(viewProjection, camera->mPos.value));
    const auto matrices = BufferContents<glm::mat4>(floor.MatrixBuffer());
    ASSERT_GE(matrices.size(), 3u);
    for (const auto& [slot, tile] : {std::pair{0, nearest}, std::pair{1, beside}, std::pair{2, far}})
        EXPECT_EQ(matrices[static_cast<std::size_t>(slot)], Engine::Transform::GetWorldMatrix(tile)) << slot;
    EXPECT_FLOAT_EQ(floor.drawTime, Engine::InstancedRenderable::kDrawTimeStep);

    // The hexagon's box: corners at unit distance across, flat sides at
    // the square root of 3 over 2, one up and down.
    const Engine::ModelBox box = Engine::ModelBounds(*floor.model);
    EXPECT_LT(glm::length(box.centre), 1e-5f);
    EXPECT_NEAR(box.half.x, 1.0f, 1e-5f);
    EXPECT_NEAR(box.half.y, 1.0f, 1e-5f);
    EXPECT_NEAR(box.half.z, std::sqrt(3.0f) / 2.0f, 1e-5f);
    // Uploads for every camera at once keep the slot order.
    floor.UploadInstances();
    EXPECT_EQ(BufferContents<glm::mat4>(floor.MatrixBuffer())[1], Engine::Transform::GetWorldMatrix(aside));
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
