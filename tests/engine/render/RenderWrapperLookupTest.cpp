#include "engine/core/EntityManager.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/render/RenderWrapperManager.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Engine::EntityHandle;
using Engine::RenderWrapperManager;

RenderWrapperManager& Wrappers() { return RenderWrapperManager::GetInstance(); }

// The quick lookup answers what the map holds after every way a wrapper can
// come or go: added, removed, cleared, set aside and back, loaded.
TEST(RenderWrapperLookup, FollowsEveryChangeOfTheMap)
{
    Wrappers().Clear();
    const EntityHandle a = Engine::EntityMgr::GetInstance().CreateEntity();
    const EntityHandle b = Engine::EntityMgr::GetInstance().CreateEntity();
    Wrappers().AddComponent(a).component->mDiffuseColor.value = glm::vec3(0.25f);
    Wrappers().AddComponent(b);
    EXPECT_EQ(Wrappers().GetCompPtr(a)->mDiffuseColor.value, glm::vec3(0.25f));
    EXPECT_EQ(Wrappers().GetCompPtr(EntityHandle()), nullptr);

    Wrappers().RemoveComponent(b);
    EXPECT_EQ(Wrappers().GetCompPtr(b), nullptr);
    EXPECT_THROW(Wrappers().GetComponent(b), Engine::InvalidMapKey);

    nlohmann::json scene;
    Wrappers().Save(scene);
    Wrappers().SwapWithAside();
    EXPECT_EQ(Wrappers().GetCompPtr(a), nullptr);
    Wrappers().SwapWithAside();
    ASSERT_NE(Wrappers().GetCompPtr(a), nullptr);
    EXPECT_EQ(Wrappers().GetComponent(a).component, Wrappers().GetCompPtr(a));

    Wrappers().Clear();
    EXPECT_EQ(Wrappers().GetCompPtr(a), nullptr);
    Wrappers().Load(scene);
    ASSERT_NE(Wrappers().GetCompPtr(a), nullptr);
    EXPECT_EQ(Wrappers().GetCompPtr(a)->mDiffuseColor.value, glm::vec3(0.25f));
    EXPECT_EQ(Wrappers().GetCompPtr(b), nullptr);

    nlohmann::json single;
    Wrappers().SaveEntity(single, a);
    Wrappers().LoadEntity(single, b);
    ASSERT_NE(Wrappers().GetCompPtr(b), nullptr);
    EXPECT_EQ(Wrappers().GetCompPtr(b)->mDiffuseColor.value, glm::vec3(0.25f));
    Wrappers().Clear();
}

} // namespace
