#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderCompManager.h"

#include <gtest/gtest.h>

namespace {

using Engine::AlphaRenderCompManager;
using Engine::EntityHandle;
using Engine::RenderCompManager;

struct RenderComps : ::testing::Test {
    EntityHandle NewEntity() { return Engine::EntityMgr::GetInstance().CreateEntity(); }
    EntityHandle EntityAt(const glm::vec3& position)
    {
        EntityHandle entity = NewEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = position;
        return entity;
    }
    std::vector<std::uint32_t> DrawOrderIndices() const
    {
        std::vector<std::uint32_t> indices;
        for (const auto& [distance, entity] : alpha.GetDrawOrder())
            indices.push_back(entity.GetIndex());
        return indices;
    }

    RenderCompManager& opaque = RenderCompManager::GetInstance();
    AlphaRenderCompManager& alpha = AlphaRenderCompManager::GetInstance();
};

TEST_F(RenderComps, CameraSelectionFollowsTargetAndExclusion)
{
    EntityHandle e = NewEntity();
    Engine::RenderComp& c = *opaque.AddComponent(e).component;
    EXPECT_TRUE(c.IsSeenBy(0));
    EXPECT_TRUE(c.IsSeenBy(3));
    EXPECT_FALSE(c.IsSeenBy(-1)) << "\"mNotRenderCam\" -1 keeps a camera of index -1 away";

    c.mCameraTarget.value = 1;
    c.mNotRenderCam.value = 5;
    EXPECT_FALSE(c.IsSeenBy(0));
    EXPECT_TRUE(c.IsSeenBy(1));
    EXPECT_TRUE(c.IsSeenBy(-1));
    c.mCameraTarget.value = 0;
    c.mNotRenderCam.value = 0;
    EXPECT_FALSE(c.IsSeenBy(0));

    Engine::AlphaRenderComp& a = *alpha.AddComponent(e).component;
    EXPECT_TRUE(a.IsSeenBy(-1));
    a.mCameraTarget.value = 0;
    EXPECT_TRUE(a.IsSeenBy(0));
    EXPECT_TRUE(a.IsSeenBy(-1));
    EXPECT_FALSE(a.IsSeenBy(1));
}

TEST_F(RenderComps, UnresolvedComponentsAreSkipped)
{
    EntityHandle e = NewEntity();
    Engine::RenderComp& c = *opaque.AddComponent(e).component;
    c.mModelName.value = "NoSuchModel";
    c.mShaderName.value = "NoSuchShader";
    c.ResolveResources();
    EXPECT_EQ(c.model, nullptr);
    EXPECT_EQ(c.shader, nullptr);
    // Without a GL context any GL call here would crash: nothing is tried.
    opaque.Render(0);
    EXPECT_FLOAT_EQ(c.drawTime, 0.0f);

    Engine::AlphaRenderComp& a = *alpha.AddComponent(e).component;
    Engine::Camera camera;
    alpha.SortByDistance(camera);
    alpha.Render(camera);
    EXPECT_FLOAT_EQ(a.drawTime, 0.0f);
}

TEST_F(RenderComps, TransparentOnesSortFarthestFirstKeepingTies)
{
    Engine::Camera camera; // at (0, 0, 10)
    EntityHandle near = EntityAt({0, 0, 7});   // 3 away
    EntityHandle far = EntityAt({0, 0, 5});    // 5 away
    EntityHandle tieA = EntityAt({4, 0, 10});  // 4 away
    EntityHandle tieB = EntityAt({-4, 0, 10}); // 4 away
    for (EntityHandle e : {tieB, near, far, tieA})
        alpha.AddComponent(e);
    alpha.SortByDistance(camera);
    EXPECT_EQ(DrawOrderIndices(),
              (std::vector<std::uint32_t>{far.GetIndex(), tieA.GetIndex(), tieB.GetIndex(), near.GetIndex()}));

    // Moving the eye re-sorts; without a transform an entity stands at the
    // origin.
    EntityHandle bare = NewEntity();
    alpha.AddComponent(bare);
    camera.mPos.value = {0, 0, 5};
    alpha.SortByDistance(camera);
    ASSERT_EQ(alpha.GetDrawOrder().size(), 5u);
    EXPECT_EQ(alpha.GetDrawOrder().front().second, tieA); // sqrt(41) away, ties ordered by entity
    EXPECT_EQ(alpha.GetDrawOrder().back().second, far);
    EXPECT_FLOAT_EQ(alpha.GetDrawOrder()[2].first, 5.0f); // the bare entity
}

TEST_F(RenderComps, OpaqueAndTransparentSaveUnderKeysOfTheirOwn)
{
    EntityHandle a = NewEntity();
    EntityHandle b = NewEntity();
    opaque.AddComponent(b).component->mModelName.value = "Cube";
    opaque.AddComponent(a).component->mDiffuseColor.value = {1, 0, 0};
    alpha.AddComponent(b).component->mShaderName.value = "ForceField";

    nlohmann::json document = nlohmann::json::object();
    opaque.Save(document);
    alpha.Save(document);
    ASSERT_EQ(document["RenderComps"].size(), 2u);
    EXPECT_EQ(document["RenderComps"][0]["handle"], a.GetIndex());
    EXPECT_EQ(document["RenderComps"][1]["values"]["mModelName"], "Cube");
    EXPECT_EQ(document["RenderComps"][1]["values"].size(), 10u);
    ASSERT_EQ(document["AlphaRenderComps"].size(), 1u);
    EXPECT_EQ(document["AlphaRenderComps"][0]["values"].size(), 8u);

    opaque.Clear();
    alpha.Clear();
    opaque.Load(document);
    alpha.Load(document);
    EXPECT_EQ(opaque.Count(), 2u);
    EXPECT_EQ(alpha.Count(), 1u) << "a load must not turn opaque components transparent";
    EXPECT_EQ(opaque.GetCompPtr(a)->mDiffuseColor.value, glm::vec3(1, 0, 0));
    EXPECT_EQ(alpha.GetCompPtr(b)->mShaderName.value, "ForceField");

    nlohmann::json archetype = nlohmann::json::object();
    opaque.SaveEntity(archetype, a);
    alpha.SaveEntity(archetype, a); // a is not transparent: writes nothing
    EXPECT_TRUE(archetype.contains("RenderComp"));
    EXPECT_FALSE(archetype.contains("AlphaRenderComp"));
    EntityHandle copy = NewEntity();
    opaque.LoadEntity(archetype, copy);
    alpha.LoadEntity(archetype, copy);
    EXPECT_TRUE(opaque.HasComponent(copy));
    EXPECT_FALSE(alpha.HasComponent(copy));
}

TEST_F(RenderComps, LoadUpdatesInPlaceAndKeepsUnnamedProperties)
{
    EntityHandle e = NewEntity();
    Engine::RenderComp& c = *opaque.AddComponent(e).component;
    c.mMetalness.value = 8.0f;
    c.mModelName.value = "Sphere";
    nlohmann::json document;
    document["RenderComps"] = {{{"handle", e.GetIndex()}, {"values", {{"mModelName", "Cube"}}}},
                               {{"handle", e.GetIndex()}, {"values", {{"mCameraTarget", 1}}}}};
    opaque.Load(document);
    EXPECT_EQ(&c, opaque.GetCompPtr(e));
    EXPECT_EQ(c.mModelName.value, "Cube");
    EXPECT_EQ(c.mCameraTarget.value, 1);
    EXPECT_FLOAT_EQ(c.mMetalness.value, 8.0f);

    // A later element with a bad value refuses the whole section.
    document["RenderComps"][1]["values"]["mCameraTarget"] = 1e12;
    document["RenderComps"][0]["values"]["mModelName"] = "Hexagon";
    EXPECT_THROW(opaque.Load(document), std::exception);
    EXPECT_EQ(c.mModelName.value, "Cube");

    nlohmann::json wrong;
    wrong["RenderComps"] = 3;
    EXPECT_THROW(opaque.Save(wrong), nlohmann::json::type_error);
}

} // namespace
