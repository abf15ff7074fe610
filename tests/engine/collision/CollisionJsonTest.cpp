#include "CollisionTestSupport.h"

#include <nlohmann/json.hpp>

namespace {

using namespace Engine;

using CollisionJson = CollisionTest::Fixture;

void FillScene()
{
    CollisionTable& table = CollisionTable::GetInstance();
    table.AddTag("Player");
    table.AddTag("Ball");
    table.SetPair("Ball", "Player", 1);
    table.SetPair("Ball", "Ball", -7); // relations are signed
    const EntityHandle player = EntityMgr::GetInstance().CreateEntity();
    const EntityHandle ball = EntityMgr::GetInstance().CreateEntity();
    CollisionComp& p = *CollisionMgr::GetInstance().GetCompPtr(player);
    p.mCollisionShape.value = ShapeOBB;
    p.SetCollisionType("Player");
    p.mGravity.value = glm::vec3(0, -200, 0);
    p.mVelocity.value = glm::vec3(0.1f, 1.0f / 3.0f, -7.25f);
    p.transform.value.pos = glm::vec3(1e-7f, 3, 4);
    CollisionComp& b = *CollisionMgr::GetInstance().GetCompPtr(ball);
    b.mCollisionShape.value = ShapeSphere;
    b.mGhost.value = true;
    b.SetCollisionType("Ball");
    b.mInvMass.value = 0.0f;
}

TEST_F(CollisionJson, ManagerAndTableRoundTripExactly)
{
    FillScene();
    nlohmann::json saved;
    Mgr().Save(saved);
    ASSERT_EQ(saved["CollisionMgr"]["Colliders"].size(), 2u);

    Mgr().Clear();
    Table().Load(nlohmann::json{{"tags", nullptr}, {"pairs", nullptr}});
    Mgr().Load(nlohmann::json::parse(saved.dump()));
    nlohmann::json again;
    Mgr().Save(again);

    EXPECT_EQ(again, saved);
    EXPECT_EQ(BodyOf(EntityHandle(1u)).mVelocity.value.y, 1.0f / 3.0f);
    EXPECT_EQ(Table().GetRelation(1, 2), 1);
    EXPECT_EQ(Table().GetRelation(2, 2), -7);

    nlohmann::json archetype;
    Mgr().SaveEntity(archetype, EntityHandle(1u));
    const EntityHandle copy = EntityMgr::GetInstance().CreateEntity();
    Mgr().LoadEntity(archetype, copy);
    nlohmann::json original;
    nlohmann::json copied;
    BodyOf(EntityHandle(1u)).GetPropertyMap().ToJson(original);
    BodyOf(copy).GetPropertyMap().ToJson(copied);
    EXPECT_EQ(copied, original);
}

TEST_F(CollisionJson, RefusedSectionChangesNoBodyAndNoTag)
{
    FillScene();
    nlohmann::json before;
    Mgr().Save(before);
    const char* broken[] = {
        R"({"CollisionMgr": {"Colliders": [{"entity": 1, "values": {"mDrag": 0.1}}, {"entity": 0, "values": {}}]}})",
        R"({"CollisionMgr": {"Colliders": [{"entity": 1, "values": {"mDrag": 0.1}}, {"entity": 4096, "values": {}}]}})",
        R"({"CollisionMgr": {"Colliders": [{"entity": 1, "values": {"mDrag": "slow"}}]}})",
        R"({"CollisionMgr": {"Colliders": [{"entity": 1, "values": {"mVelocity": {"x": 1e300, "y": 0, "z": 0}}}]}})",
        R"({"CollisionMgr": {"Colliders": [{"entity": 1}]}})",
        R"({"CollisionMgr": {"Colliders": ["body"]}})",
        R"({"CollisionMgr": {"Colliders": [{"entity": 1, "values": {"mDrag": 0.1}}]},
            "CollisionTable": {"tags": [{"tag_name": "X", "tag_value": "one"}], "pairs": []}})",
    };
    for (const char* text : broken) {
        EXPECT_ANY_THROW(Mgr().Load(nlohmann::json::parse(text))) << text;
        nlohmann::json after;
        Mgr().Save(after);
        EXPECT_EQ(after, before) << text;
    }
    const EntityHandle untouched = EntityMgr::GetInstance().CreateEntity();
    EXPECT_ANY_THROW(Mgr().LoadEntity(nlohmann::json{{"CollisionMgr", {{"values", {{"mGhost", "yes"}}}}}}, untouched));
    EXPECT_FALSE(Mgr().HasComponent(untouched));
    // A scene without the sections keeps everything.
    Mgr().Load(nlohmann::json{{"EntityMgr", nlohmann::json::object()}});
    nlohmann::json after;
    Mgr().Save(after);
    EXPECT_EQ(after, before);
}

TEST_F(CollisionJson, StaticCollidersRoundTripAndAreFiledAgain)
{
    const EntityHandle tile = Static(ShapeHexPrism, glm::vec3(20, -3, 20), glm::vec3(2.5f, 2, 2.5f));
    Statics().GetCompPtr(tile)->collision_type.value = 4;
    Static(ShapeOBB, glm::vec3(-50, 10, 3));
    nlohmann::json saved;
    Statics().Save(saved);

    Statics().Clear();
    Statics().Load(nlohmann::json::parse(saved.dump()));
    nlohmann::json again;
    Statics().Save(again);

    EXPECT_EQ(again, saved);
    EXPECT_EQ(Statics().RayCast(glm::vec3(20, 50, 20), glm::vec3(0, -1, 0)).entity, tile);
    EXPECT_ANY_THROW(Statics().Load(nlohmann::json::parse(
        R"({"SpatialCollisionMgr": {"Colliders": [{"entity": 9, "values": {}}, {"entity": -3, "values": {}}]}})")));
    EXPECT_FALSE(Statics().HasComponent(EntityHandle(9u)));
}

} // namespace
