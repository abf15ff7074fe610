#pragma once
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A scene of 50 entities in three levels (5 roots, 3 children each, 2
// grandchildren per child), moved, scaled and turned, with names and tags,
// and what the scene looks like per entity, for comparing before and after a
// save and load.
namespace SceneTest {

struct EntityLook {
    glm::mat4 world{1.0f};
    std::optional<std::string> name;
    std::optional<std::vector<std::string>> tags;
};
using Look = std::map<std::uint32_t, EntityLook>;

// The managers a scene of this kind fills, in the engine's order.
inline void BuildManagers()
{
    Engine::TransformCompManager::GetInstance();
    Engine::EntityNameCompManager::GetInstance();
    Engine::EntityTagCompManager::GetInstance();
}

struct Scene {
    std::vector<Engine::EntityHandle> entities; // creation order
    std::vector<int> parentOf;                  // position in entities, -1 for a root
};

inline void BuildEntity(Scene& scene, int parent, int level)
{
    using namespace Engine;
    const int n = static_cast<int>(scene.entities.size());
    const EntityHandle entity = EntityMgr::GetInstance().CreateEntity();
    scene.entities.push_back(entity);
    scene.parentOf.push_back(parent);
    TransformCompManager::GetInstance().AddComponent(entity);
    if (parent >= 0)
        Transform::SetParent(entity, scene.entities[static_cast<std::size_t>(parent)]);
    Transform::PositionRef(entity) = glm::vec3(n * 0.5f - 7.0f, std::sin(n * 1.3f) * 4.0f, level * 2.0f + 0.25f);
    Transform::ScaleRef(entity) = glm::vec3(1.0f + (n % 3) * 0.5f, 1.0f + (n % 4) * 0.25f, 0.75f);
    Transform::Rotate(entity, n * 0.37f, glm::vec3(n % 2, 1.0f, (n % 5) * 0.2f));

    static const char* kLevels[] = {"Root", "Arm", "Leaf"};
    if (n % 7 != 3)
        SetEntityName(entity, (std::string(kLevels[level]) + "_" + std::to_string(n) + "_LongerThanFifteen").c_str());
    EntityTagCompManager& tags = EntityTagCompManager::GetInstance();
    if (n % 5 == 0)
        tags.AddComponent(entity); // a list with no tags
    else if (n % 5 != 4) {
        tags.AddTag(entity, kLevels[level]);
        tags.AddTag(entity, n % 2 ? "Odd" : "Even");
    }
}

inline Scene BuildScene()
{
    Scene scene;
    for (int root = 0; root < 5; ++root) {
        const int rootAt = static_cast<int>(scene.entities.size());
        BuildEntity(scene, -1, 0);
        for (int arm = 0; arm < 3; ++arm) {
            const int armAt = static_cast<int>(scene.entities.size());
            BuildEntity(scene, rootAt, 1);
            for (int leaf = 0; leaf < 2; ++leaf)
                BuildEntity(scene, armAt, 2);
        }
    }
    return scene;
}

inline EntityLook LookOf(Engine::EntityHandle entity)
{
    using namespace Engine;
    EntityLook look;
    look.world = Transform::GetWorldMatrix(entity);
    if (EntityNameCompManager::GetInstance().HasComponent(entity))
        look.name = EntityNameCompManager::GetInstance().GetName(entity);
    if (EntityTagCompManager::GetInstance().HasTagComp(entity))
        look.tags = EntityTagCompManager::GetInstance().GetTags(entity);
    return look;
}

inline Look LookAt(const std::vector<Engine::EntityHandle>& entities)
{
    Engine::TransformCompManager::GetInstance().Update();
    Look look;
    for (const Engine::EntityHandle& entity : entities)
        look[entity.GetIndex()] = LookOf(entity);
    return look;
}

inline void ExpectSameLook(const EntityLook& actual, const EntityLook& expected, std::uint32_t index)
{
    SCOPED_TRACE("entity " + std::to_string(index));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual.world[c][r], expected.world[c][r], 1e-4f * (1.0f + std::fabs(expected.world[c][r])));
    EXPECT_EQ(actual.name, expected.name);
    EXPECT_EQ(actual.tags, expected.tags);
}

inline void ExpectSameLook(const Look& actual, const Look& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (const auto& [index, look] : expected) {
        ASSERT_TRUE(actual.count(index)) << "entity " << index << " is missing";
        ExpectSameLook(actual.at(index), look, index);
    }
}

} // namespace SceneTest
