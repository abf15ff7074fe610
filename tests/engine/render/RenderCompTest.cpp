#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/Camera.h"
#include "engine/render/HUDComp.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/ShaderClock.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using Engine::EntityHandle;

EntityHandle EntityAt(const glm::vec3& position)
{
    EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(entity);
    Engine::Transform::PositionRef(entity) = position;
    return entity;
}

TEST(RenderComps, CameraSelectionFollowsTargetAndExclusion)
{
    struct Case {
        int target;
        int excluded;
        int camera;
        bool seen;
        bool hudSeen; // an element for one camera only is not for "every camera"
    };
    const Case cases[] = {{-1, -1, 0, true, true},  {-1, -1, 3, true, true},   {-1, -1, -1, false, true},
                          {1, 5, 0, false, false},  {1, 5, 1, true, true},     {1, 5, -1, true, false},
                          {0, 0, 0, false, true},   {0, 7, -1, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target << ", camera " << c.camera);
        Engine::RenderComp opaque;
        opaque.mCameraTarget.value = c.target;
        opaque.mNotRenderCam.value = c.excluded;
        EXPECT_EQ(opaque.IsSeenBy(c.camera), c.seen);
        Engine::AlphaRenderComp alpha;
        alpha.mCameraTarget.value = c.target;
        EXPECT_EQ(alpha.IsSeenBy(c.camera), c.target == -1 || c.camera == -1 || c.target == c.camera);
        Engine::HUDComp hud;
        hud.mCameraTarget.value = c.target;
        EXPECT_EQ(hud.IsSeenBy(c.camera), c.hudSeen);
    }
}

TEST(RenderComps, UnresolvedComponentsAreSkipped)
{
    const EntityHandle e = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::RenderComp& c = *Engine::RenderCompManager::GetInstance().AddComponent(e).component;
    c.mModelName.value = "NoSuchModel";
    c.mShaderName.value = "NoSuchShader";
    c.ResolveResources();
    EXPECT_EQ(c.model, nullptr);
    // Without a GL context any GL call here would crash: nothing is tried.
    Engine::RenderCompManager::GetInstance().Render(0);
    EXPECT_FLOAT_EQ(c.drawTime, 0.0f);

    Engine::AlphaRenderCompManager& alpha = Engine::AlphaRenderCompManager::GetInstance();
    Engine::AlphaRenderComp& a = *alpha.AddComponent(e).component;
    Engine::Camera camera;
    alpha.SortByDistance(camera);
    alpha.Render(camera);
    EXPECT_FLOAT_EQ(a.drawTime, 0.0f);
}

// A day on the title at sixty draws a second: the clock still moves by its
// step, and the shaders' sines of it go on smoothly over each wrap.
TEST(ShaderClocks, KeepTheirStepThroughADayAndWrapOnWholeTurns)
{
    const float step = Engine::RenderCompBase::kDrawTimeStep;
    float clock = 0.0f;
    int wraps = 0;
    for (int draw = 0; draw < 24 * 3600 * 60; ++draw) {
        const float next = Engine::AdvanceShaderClock(clock, step);
        if (next < clock) {
            ++wraps;
            for (float turns : {2.0f, 3.0f, 37.0f})
                ASSERT_NEAR(std::sin(turns * next), std::sin(turns * (clock + step)), 0.02f) << turns;
        } else {
            ASSERT_NEAR(next - clock, step, 0.02f * step) << "after " << draw << " draws";
        }
        clock = next;
    }
    EXPECT_GT(wraps, 10);
}

TEST(RenderComps, TransparentOnesSortFarthestFirstKeepingTies)
{
    Engine::AlphaRenderCompManager& alpha = Engine::AlphaRenderCompManager::GetInstance();
    Engine::Camera camera; // at (0, 0, 10)
    const EntityHandle near = EntityAt({0, 0, 7});   // 3 away
    const EntityHandle far = EntityAt({0, 0, 5});    // 5 away
    const EntityHandle tieA = EntityAt({4, 0, 10});  // 4 away
    const EntityHandle tieB = EntityAt({-4, 0, 10}); // 4 away
    for (EntityHandle e : {tieB, near, far, tieA})
        alpha.AddComponent(e);
    alpha.SortByDistance(camera);
    std::vector<EntityHandle> order;
    for (const auto& [distance, entity] : alpha.GetDrawOrder())
        order.push_back(entity);
    EXPECT_EQ(order, (std::vector<EntityHandle>{far, tieA, tieB, near}));

    // Moving the eye re-sorts; without a transform an entity stands at the
    // origin.
    alpha.AddComponent(Engine::EntityMgr::GetInstance().CreateEntity());
    camera.mPos.value = {0, 0, 5};
    alpha.SortByDistance(camera);
    ASSERT_EQ(alpha.GetDrawOrder().size(), 5u);
    EXPECT_EQ(alpha.GetDrawOrder().front().second, tieA); // sqrt(41) away, ties ordered by entity
    EXPECT_EQ(alpha.GetDrawOrder().back().second, far);
    EXPECT_FLOAT_EQ(alpha.GetDrawOrder()[2].first, 5.0f); // the bare entity
}

} // namespace
