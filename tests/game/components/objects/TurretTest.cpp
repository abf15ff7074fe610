// The level's turret on the small floor: its shots, its balls' lifetime,
// what destroys it, and its saved settings.
#include "game/components/PlayerScene.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "game/arena/TurretBall.h"
#include "game/components/objects/TurretCollider.h"

#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>

namespace {

class Turret : public PlayerScene {
protected:
    // A turret as a level places one: an immovable sphere tagged "Turret".
    static Engine::EntityHandle Build(const glm::vec3& at)
    {
        const Engine::EntityHandle turret = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(turret);
        Engine::Transform::PositionRef(turret) = at;
        Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(turret);
        body.mCollisionShape.value = Engine::ShapeSphere;
        body.mInvMass.value = 0.0f;
        Engine::CollisionTable::GetInstance().AddTag("Turret");
        body.SetCollisionType("Turret");
        Engine::LogicManager::GetInstance().AddComponent<TurretCollider>(turret);
        return turret;
    }
    static TurretCollider& Of(Engine::EntityHandle turret)
    {
        return *Engine::LogicManager::GetCompPtr<TurretCollider>(turret);
    }
    static std::vector<Engine::EntityHandle> Balls()
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(TurretCollider::kBallName);
    }
    static bool Alive(Engine::EntityHandle entity)
    {
        return entity.Exists();
    }
    static Engine::CollisionComp& BodyOf(Engine::EntityHandle entity) { return Body(entity); }

    // Runs frames until the turret has fired; the frames it took. The
    // shot is checked between the logic and the physics of its frame,
    // before anything has moved the ball.
    int FramesUntilShot(int limit, const std::function<void(Engine::EntityHandle)>& check)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            Logic(10);
            if (!Balls().empty()) {
                check(Balls().back());
                PhysicsAndInput();
                return frame;
            }
            PhysicsAndInput();
        }
        return -1;
    }
};

TEST_F(Turret, FiresEveryFiveSecondsAtNineTimesTheWayToThePlayerFromItsOwnSurface)
{
    const Engine::EntityHandle player = SpawnStanding();
    const Engine::EntityHandle turret = Build(Position(player) + glm::vec3(0.0f, 3.0f, 18.0f));
    auto check = [&](Engine::EntityHandle ball) {
        const glm::vec3 way = Position(player) - Position(turret);
        const glm::vec3 velocity = BodyOf(ball).mVelocity.value;
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(velocity[axis], 9.0f * way[axis], 1e-3f);
        EXPECT_GT(glm::distance(Position(ball), Position(turret)), 1.0f) << "outside the turret";
        EXPECT_LT(glm::distance(Position(ball) + way * 0.01f, Position(player)), glm::length(way)) << "towards";
    };
    EXPECT_NEAR(FramesUntilShot(502, check), 500, 1);
    ASSERT_EQ(Balls().size(), 1u);
    const Engine::EntityHandle first = Balls().front();
    EXPECT_NEAR(glm::length(BodyOf(first).mVelocity.value), 9.0f * glm::distance(Position(player), Position(turret)),
                20.0f);

    Frames(398);
    EXPECT_TRUE(Alive(first));
    Frames(4);
    EXPECT_FALSE(Alive(first)) << "gone after 4 s";
    EXPECT_TRUE(Of(turret).mBalls.empty());
    EXPECT_NEAR(FramesUntilShot(102, check), 98, 2) << "the next shot at 10 s";
    EXPECT_TRUE(Alive(turret)) << "its own ball leaves it whole";
}

TEST_F(Turret, A18UnitWayGivesABallOf162UnitsASecond)
{
    // No player spawned: a named target stands 18 units away.
    const Engine::EntityHandle target = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(target);
    Engine::SetEntityName(target, "Player_Gamepad");
    const Engine::EntityHandle turret = Build({18.0f, 20.0f, 0.0f});
    Engine::Transform::PositionRef(target) = glm::vec3(0.0f, 20.0f, 0.0f);
    Of(turret).mTimer = 4.999;
    Logic(10);
    ASSERT_EQ(Balls().size(), 1u);
    EXPECT_FLOAT_EQ(glm::length(BodyOf(Balls().front()).mVelocity.value), 162.0f);
}

TEST_F(Turret, WithoutAPlayerTheBallRestsAndBallsThatExpireTogetherGoTogether)
{
    const Engine::EntityHandle turret = Build({0.0f, FloorTop() + 10.0f, 0.0f});
    Of(turret).mTimer = 4.999;
    Logic(10);
    ASSERT_EQ(Balls().size(), 1u);
    EXPECT_EQ(BodyOf(Balls().front()).mVelocity.value, glm::vec3(0.0f));
    PhysicsAndInput();

    TurretCollider& component = Of(turret);
    component.mTimerMax.value = 100.0;
    const Engine::EntityHandle late = TurretBall::CreateTurretBall("late");
    component.mBalls = {Balls().front(), late};
    component.mBallTimers = {3.995, 3.995};
    Frame();
    EXPECT_TRUE(component.mBalls.empty());
    EXPECT_TRUE(component.mBallTimers.empty());
    EXPECT_TRUE(Balls().empty());
    EXPECT_FALSE(Alive(late));
}

TEST_F(Turret, ABallDestroysItButTheFloorDoesNotAndItsBallsStay)
{
    const Engine::EntityHandle player = SpawnStanding();
    // Sunk into a tile's top: it touches that tile every frame.
    const glm::vec3 tile = Position(HexGrid::GetInstance().tiles[35]);
    const Engine::EntityHandle turret = Build({tile.x, FloorTop(), tile.z});
    const Engine::Transform3D sphere = Engine::MakeTransform3D(turret);
    ASSERT_FALSE(
        Engine::SpatialCollisionMgr::GetInstance().QueryOverlaps(sphere, glm::length(sphere.scale), turret).empty());
    Of(turret).mTimer = 4.999;
    Frame();
    ASSERT_EQ(Balls().size(), 1u);
    const Engine::EntityHandle fired = Balls().front();
    Frames(20);
    ASSERT_TRUE(Alive(turret)) << "the tile under it is no ball";

    const Engine::EntityHandle stray = TurretBall::CreateTurretBall("stray");
    Engine::Transform::PositionRef(stray) = Position(turret) + glm::vec3(0.0f, 0.5f, 0.0f);
    Frame();
    EXPECT_FALSE(Alive(turret));
    Frames(500);
    EXPECT_TRUE(Alive(fired)) << "no turret times it any more";
    EXPECT_EQ(MovementState(player), "Move");
}

TEST(TurretSettings, AreSavedAsNumbersAndReadBack)
{
    TurretCollider turret;
    turret.mTimerMax.value = 2.5;
    turret.turret_speed.value = 3.25;
    turret.mTimerBallMax.value = 1.125;
    nlohmann::json saved;
    turret.GetPropertyMap().ToJson(saved);
    EXPECT_EQ(saved, nlohmann::json::parse(R"({"mTimerMax": 2.5, "turret_speed": 3.25, "mTimerBallMax": 1.125})"));
    TurretCollider loaded;
    loaded.GetPropertyMap().FromJson(saved);
    EXPECT_EQ(loaded.mTimerMax.value, 2.5);
    EXPECT_EQ(loaded.turret_speed.value, 3.25);
    EXPECT_EQ(loaded.mTimerBallMax.value, 1.125);
}

} // namespace
