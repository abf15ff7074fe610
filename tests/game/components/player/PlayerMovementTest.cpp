// Under Xvfb, on a 7 x 7 floor: hovering, walking, running, jumping and
// looking, driven by injected keys, mouse motion and frame time.
#include "game/components/PlayerScene.h"

#include "game/arena/ArenaRoom.h"
#include "game/arena/MatchStats.h"
#include "game/components/perks/PassivePerks.h"
#include "game/components/player/PlayerBody.h"
#include "game/components/tile/TileColumns.h"
#include "game/components/tile/TileLogicComponent.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Slot = InputBindings::Slot;

float HorizontalSpeed(const glm::vec3& velocity) { return std::hypot(velocity.x, velocity.z); }

// The speed a held key settles at: each step adds the acceleration, then
// the body's drag takes its share.
float SteadySpeed(float speed, float drag) { return drag * speed * 0.016f / (1.0f - drag); }

class PlayerMovement : public PlayerScene {};

TEST_F(PlayerMovement, DescendsAtTheStartThenHoversAtItsLevitationAboveTheFloor)
{
    const Engine::EntityHandle player = Spawn({4.0f, FloorTop() + 12.0f, 3.0f});
    Frame();
    EXPECT_EQ(MovementState(player), "Start");
    Frames(30, 20);
    // A tenth of its gravity during the opening descent.
    EXPECT_FLOAT_EQ(Body(player).mGravity.value.y, -20.0f);
    EXPECT_LT(Position(player).y, FloorTop() + 12.0f);
    EXPECT_FLOAT_EQ(Camera(player).mTarget.value.x, 0.0f) << "looks at the arena's centre";
    EXPECT_FALSE(Component(player).mCanAct);

    while (MovementState(player) == "Start")
        Frame(20);
    EXPECT_TRUE(Component(player).mCanAct);
    Frames(50);
    EXPECT_NEAR(FeetHeight(player), 3.5f, 1e-3f);
    EXPECT_EQ(Body(player).mGravity.value, glm::vec3(0.0f));
    EXPECT_EQ(Body(player).mVelocity.value.y, 0.0f);
}

TEST_F(PlayerMovement, NothingUnderTheFeetMeansFallingNotBeingLifted)
{
    const Engine::EntityHandle player = SpawnStanding();
    Engine::Transform::PositionRef(player) = glm::vec3(400.0f, 0.0f, 0.0f);
    float previous = Position(player).y;
    for (int i = 0; i < 10; ++i) {
        Frame();
        EXPECT_LE(Position(player).y, previous) << "frame " << i;
        previous = Position(player).y;
    }
    EXPECT_LT(previous, 0.0f);
    EXPECT_FLOAT_EQ(Body(player).mGravity.value.y, -200.0f);
}

// A floor tile round the feet is seen from above: the player stands on its
// top, where a ray from inside it would let the player drop under the floor.
TEST_F(PlayerMovement, FeetInsideAFloorTileStandOnItsTopInsteadOfDroppingThrough)
{
    const Engine::EntityHandle player = SpawnStanding({-6.0f, 0.0f, 1.0f});
    // A tile on the way to the arena's centre, where the view rests, two
    // steps up.
    const glm::vec3 ahead = Position(player) + glm::normalize(glm::vec3(6.0f, 0.0f, -1.0f)) * 3.0f;
    const Engine::EntityHandle column = *std::min_element(
        HexGrid::GetInstance().tiles.begin(), HexGrid::GetInstance().tiles.end(), [&](auto a, auto b) {
            return glm::distance(glm::vec2(Position(a).x, Position(a).z), glm::vec2(ahead.x, ahead.z)) <
                   glm::distance(glm::vec2(Position(b).x, Position(b).z), glm::vec2(ahead.x, ahead.z));
        });
    TileLogicComponent& tile = *Engine::LogicManager::GetCompPtr<TileLogicComponent>(column);
    const float step = tile.tile_size.value;
    for (int i = 0; i < 2; ++i) {
        tile.SetSelected(true);
        tile.mRaiseRequest = 1;
        Frames(70);
    }
    ASSERT_EQ(tile.mLevel, 2);

    HoldKey(Slot::Forward);
    float lowest = FeetHeight(player);
    bool stoodOnIt = false;
    for (int i = 0; i < 200 && !stoodOnIt; ++i) {
        Frame();
        lowest = std::min(lowest, FeetHeight(player));
        stoodOnIt = std::fabs(FeetHeight(player) - (2.0f * step + 3.5f)) < 1e-3f;
    }
    EXPECT_TRUE(stoodOnIt) << "feet at " << FeetHeight(player);
    EXPECT_GT(lowest, 0.0f) << "never under the floor";
    Frames(150);
    Release(Slot::Forward);
    Frames(100);
    EXPECT_NEAR(FeetHeight(player), 3.5f, 1e-3f) << "walked off, back down onto the floor";

    // Landing a hair inside the floor, as a teleport onto a ball lying on it.
    Engine::Transform::PositionRef(player).y -= 3.6f;
    Frame();
    EXPECT_NEAR(FeetHeight(player), 3.5f, 1e-3f);

    // Over the next tile along z, the body brushing the raised one's side.
    const float inner = Engine::Transform::ScalePtr(column)->z * std::sqrt(3.0f) / 2.0f;
    const glm::vec3 side = Position(column) + glm::vec3(0.0f, 0.0f, inner + 0.5f * HalfSize(player).z);
    Engine::Transform::SetWorldPosition(player, {side.x, Position(player).y, side.z});
    Frame();
    EXPECT_NEAR(FeetHeight(player), 3.5f, 1e-3f) << "not lifted onto its top";
}

// A floor tile that rises through the player after its logic in the frame
// (a tile later in the entities' order) holds the player up on its top
// before the frame is drawn: no view from the column's inside.
TEST_F(PlayerMovement, AFloorColumnRisingThroughThePlayerHoldsItsViewAboveItsTopThatFrame)
{
    const Engine::EntityHandle player = SpawnStanding();
    const glm::vec3 at = Position(player);
    const Engine::EntityHandle under = Engine::SpatialCollisionMgr::GetInstance()
                                           .RayCast(at - glm::vec3(0.0f, 0.5f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f))
                                           .entity;
    ASSERT_TRUE(under.IsValid());
    Logic(10);
    Engine::Transform::PositionRef(under).y += 6.0f;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(under);
    PhysicsAndInput();
    const float top = Position(under).y + Engine::Transform::ScalePtr(under)->y;
    EXPECT_GT(Camera(player).mPos.value.y, top);
    EXPECT_FALSE(TileColumns::WayOutOfColumns(Camera(player).mPos.value, 0.0f, ArenaRoom::Of(HexGrid::GetInstance())));
}

TEST_F(PlayerMovement, WalksAndRunsAtTheirSpeedsAlongTheView)
{
    const Engine::EntityHandle player = SpawnStanding({-6.0f, 0.0f, 1.0f});
    const Player_LogicComp& component = Component(player);
    HoldKey(Slot::Forward);
    Frames(150);
    const glm::vec3 walk = Body(player).mVelocity.value;
    EXPECT_NEAR(HorizontalSpeed(walk), SteadySpeed(component.PlayerSpeed.value, 0.9f), 0.05f);
    const glm::vec3 view = Camera(player).forward;
    EXPECT_GT(glm::dot(glm::normalize(glm::vec2(walk.x, walk.z)), glm::normalize(glm::vec2(view.x, view.z))), 0.999f);
    EXPECT_FLOAT_EQ(component.Energy.value, 16.0f) << "walking is free";

    HoldKey(Slot::Run);
    Frames(150);
    EXPECT_EQ(MovementState(player), "Run");
    EXPECT_TRUE(component.mRunning);
    EXPECT_NEAR(HorizontalSpeed(Body(player).mVelocity.value), SteadySpeed(component.PlayerRunSpeed.value, 0.9f), 0.05f);
    EXPECT_EQ(audio.CallsStartingWith("Play data/Sounds/Sfx/Running1.wav loop=1").size(), 1u);

    Release(Slot::Run);
    Frame();
    EXPECT_EQ(MovementState(player), "Move");
    EXPECT_FALSE(component.mRunning);
    EXPECT_EQ(audio.CallsStartingWith("Pause data/Sounds/Sfx/Running1.wav").size(), 1u);
}

TEST_F(PlayerMovement, RunningPaysOneUnitEvery0175SecondsOfRealTime)
{
    const Engine::EntityHandle player = SpawnStanding();
    const Player_LogicComp& component = Component(player);
    // Slow motion does not slow the payments.
    Engine::FrameRateController::SetTimeScale(0.25);
    HoldKey(Slot::Forward);
    HoldKey(Slot::Run);
    constexpr std::uint64_t kStep = 25;
    std::vector<int> payments;
    float energy = component.Energy.value;
    for (int frame = 0; frame < 120 && payments.size() < 5; ++frame) {
        Frame(kStep);
        if (component.Energy.value < energy)
            payments.push_back(frame);
        energy = component.Energy.value;
    }
    ASSERT_EQ(payments.size(), 5u);
    for (std::size_t i = 1; i < payments.size(); ++i) {
        const float seconds = static_cast<float>((payments[i] - payments[i - 1]) * kStep) / 1000.0f;
        EXPECT_GE(seconds, 0.175f - 1e-4f);
        EXPECT_LT(seconds, 0.175f + kStep / 1000.0f);
    }
    EXPECT_FLOAT_EQ(component.Energy.value, 11.0f) << "no recharge while running";
    EXPECT_EQ(EnergyState(player), "UsingEnergy");
}

TEST_F(PlayerMovement, RunningStopsWhenTheEnergyRunsOut)
{
    const Engine::EntityHandle player = SpawnStanding();
    Player_LogicComp& component = Component(player);
    component.Energy.value = 2.0f;
    HoldKey(Slot::Forward);
    HoldKey(Slot::Run);
    int frames = 0;
    for (; frames < 60 && component.Energy.value > 0.0f; ++frames)
        Frame(25);
    Frame(25);
    EXPECT_EQ(MovementState(player), "Move") << "the run ends in the frame after its last unit was paid";
    Frames(60 - frames, 25);
    EXPECT_TRUE(component.mExhausted);
    EXPECT_FALSE(audio.CallsStartingWith("Play data/Sounds/Sfx/ooe_test.wav").empty()) << "the run key finds no energy";
}

TEST_F(PlayerMovement, JumpsOnceOrTwiceBeforeLanding)
{
    struct Case {
        bool doubleJump;
        float secondJumpAdds;
    };
    for (const Case& test : {Case{false, 0.0f}, Case{true, 100.0f}}) {
        SCOPED_TRACE(test.doubleJump ? "double jump" : "single jump");
        const Engine::EntityHandle player = SpawnStanding({test.doubleJump ? 6.0f : -6.0f, 0.0f, 1.0f});
        if (test.doubleJump) {
            PasivePerkss::AttachBySelection(player, 0);
            Frame();
        }
        const int jumps = MatchStats::GetInstance().Jumps.value;
        HoldKey(Slot::Jump);
        Logic(10);
        EXPECT_FLOAT_EQ(Body(player).mVelocity.value.y, 100.0f);
        PhysicsAndInput();
        Release(Slot::Jump);
        Frames(5);
        EXPECT_GT(FeetHeight(player), 3.6f);

        const float before = Body(player).mVelocity.value.y;
        HoldKey(Slot::Jump);
        Logic(10);
        EXPECT_FLOAT_EQ(Body(player).mVelocity.value.y, before + test.secondJumpAdds);
        PhysicsAndInput();
        Release(Slot::Jump);
        Frame();
        const float last = Body(player).mVelocity.value.y;
        HoldKey(Slot::Jump);
        Logic(10);
        EXPECT_FLOAT_EQ(Body(player).mVelocity.value.y, last) << "no jump is left";
        PhysicsAndInput();
        Release(Slot::Jump);
        EXPECT_EQ(MatchStats::GetInstance().Jumps.value - jumps, test.doubleJump ? 2 : 1);

        // Landing gives the jumps back.
        for (int i = 0; i < 300 && Component(player).mJumpsUsed != 0; ++i)
            Frame();
        EXPECT_EQ(Component(player).mJumpsUsed, 0);
        EXPECT_NEAR(FeetHeight(player), 3.5f, 1e-3f);
        Engine::EntityMgr::GetInstance().DestroyEntity(player);
        Frame();
    }
}

// A gathered tile can be lowered two steps and more: over it the player
// floats at its levitation as over any tile, over a deeper hole as over the
// room's floor two steps down, and landing there gives its jumps back.
TEST_F(PlayerMovement, OverAHoleThePlayerHoversAndLandsAsOverAnyTile)
{
    const Engine::EntityHandle hole = HexGrid::GetInstance().tiles[22];
    TileLogicComponent& tile = *Engine::LogicManager::GetCompPtr<TileLogicComponent>(hole);
    const float step = tile.tile_size.value;
    const glm::vec3 above = Position(hole);
    const Engine::EntityHandle player = SpawnStanding({above.x, 0.0f, above.z});
    for (int depth = 1; depth <= 3; ++depth) {
        SCOPED_TRACE(depth);
        tile.SetSelected(true);
        tile.mLowerRequest = 1;
        Frames(70);
        ASSERT_EQ(tile.mLevel, -depth);
        Frames(100);
        const float floor = -step * static_cast<float>(std::min(depth, 2));
        EXPECT_NEAR(FeetHeight(player), floor + 3.5f, 1e-3f);
        Press(Slot::Jump);
        EXPECT_EQ(Component(player).mJumpsUsed, 1);
        for (int i = 0; i < 300 && Component(player).mJumpsUsed != 0; ++i)
            Frame();
        EXPECT_EQ(Component(player).mJumpsUsed, 0) << "landed";
        EXPECT_NEAR(FeetHeight(player), floor + 3.5f, 1e-3f);
    }
}

TEST_F(PlayerMovement, ARocketJumpOffARisingTileAddsBothSpeeds)
{
    struct Case {
        bool rocketPerk;
        bool tileRising;
        float expected;
    };
    const Case cases[] = {{true, true, 180.0f}, {true, false, 100.0f}, {false, true, 100.0f}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& test = cases[i];
        SCOPED_TRACE(i);
        const Engine::EntityHandle tile = HexGrid::GetInstance().tiles[10 + 12 * i];
        const glm::vec3 above = Position(tile);
        const Engine::EntityHandle player = SpawnStanding({above.x, 0.0f, above.z});
        if (test.rocketPerk) {
            Engine::LogicManager::GetInstance().AddComponent<PasivePerkss::RocketJump>(player);
            Frame();
        }
        if (test.tileRising) {
            auto& floorTile = *Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile);
            floorTile.SetSelected(true);
            floorTile.mRaiseRequest = 1;
            Frame();
            ASSERT_EQ(floorTile.HeightMachine()->GetCurrentState()->GetName(), "TileUp");
        }
        HoldKey(Slot::Jump);
        Logic(10);
        EXPECT_FLOAT_EQ(Body(player).mVelocity.value.y, test.expected);
        PhysicsAndInput();
        Release(Slot::Jump);
        Engine::EntityMgr::GetInstance().DestroyEntity(player);
        Frame();
    }
}


// The tiles' colliders hold a body only near their centres, far behind their
// tops: the walls and the ceiling are the room's bounds, kept at every frame
// time the frame's cap allows. The body stops half its size short of them,
// and so under a ceiling column brought down over it.
TEST_F(PlayerMovement, AWallOrTheCeilingStopsThePlayerInsideTheArenaAtTheLongestFrame)
{
    RoomOfAWholeArena();
    const Engine::EntityHandle player = SpawnStanding();
    const glm::vec3 half = HalfSize(player);
    const Engine::EntityHandle ceiling = FirstTileOf(kCeilingSide);
    auto pushUntilStopped = [&](const glm::vec3& push, float stop, const char* what) {
        SCOPED_TRACE(what);
        const glm::vec3 way = glm::normalize(push);
        for (int i = 0; i < 40; ++i) {
            // After the hover, which stops a standing player's fall and rise.
            Logic(32);
            Body(player).mVelocity.value += push * 0.1f;
            PhysicsAndInput();
            ASSERT_LE(glm::dot(Position(player), way), stop + 1e-3f) << "frame " << i;
        }
        EXPECT_NEAR(glm::dot(Position(player), way), stop, 1e-3f) << "stops there, not short of it";
        EXPECT_EQ(glm::dot(Body(player).mVelocity.value, way), 0.0f) << "and no faster into it";
    };
    pushUntilStopped({400.0f, 0.0f, 0.0f}, kWallFace - half.x, "the far x wall");
    pushUntilStopped({0.0f, 0.0f, -400.0f}, kWallFace - half.z, "the near z wall");
    pushUntilStopped({0.0f, 400.0f, 0.0f}, kCeilingFace - half.y, "the ceiling");

    // Just under the ceiling's middle tile, brought down 10.
    Engine::Transform::PositionRef(ceiling).y -= 10.0f;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(ceiling);
    const float columnTop = kCeilingFace - 10.0f;
    Engine::Transform::SetWorldPosition(player, {Position(ceiling).x, columnTop - half.y - 1.0f, Position(ceiling).z});
    Body(player).mVelocity.value = glm::vec3(0.0f);
    pushUntilStopped({0.0f, 400.0f, 0.0f}, columnTop - half.y, "the ceiling's column");
}

// A wall's column raised to the player pushes it back out through its top,
// so the view never looks out from the column's inside; one standing out of
// its wall beside the player, its top far past it, pushes it out of its
// nearer side, when nothing stands there, and so does one raised across the
// arena to the far wall, whose top lies beyond the room.
TEST_F(PlayerMovement, AWallsColumnPushesThePlayerOutThroughItsTopOrItsNearerSide)
{
    RoomOfAWholeArena(true);
    const Engine::EntityHandle player = SpawnStanding();
    const float half = HalfSize(player).x;
    const ArenaRoom room = ArenaRoom::Of(HexGrid::GetInstance());
    const glm::vec3 at = Position(player);
    Engine::EntityHandle column = WallColumnThrough(player, 1.0f);
    Frame(32);
    EXPECT_NEAR(Position(player).x, at.x + 1.0f + half, 1e-3f) << "its body's half extent out of the top";
    EXPECT_FALSE(TileColumns::WayOutOfColumns(Camera(player).mPos.value, 0.0f, room));

    // With its neighbour two columns up the wall raised a little higher, and
    // the player a hair inside the column from their common side: out of
    // the column's top, which lies in the neighbour, then out of the
    // neighbour's top.
    const glm::vec3 before = Position(player);
    const std::uint64_t number = Engine::LogicManager::GetCompPtr<TileLogicComponent>(column)->mTileNumber;
    const Engine::EntityHandle higher = HexGrid::GetInstance().tiles[number + 2 * kFloorRows - 1];
    RaiseWallColumnTo(column, before.x + 0.5f);
    RaiseWallColumnTo(higher, before.x + 0.8f);
    const glm::vec2 from(Position(column).y, Position(column).z);
    const glm::vec2 to(Position(higher).y, Position(higher).z);
    const glm::vec2 inside = (from + to) * 0.5f - glm::normalize(to - from) * 0.1f;
    Engine::Transform::SetWorldPosition(player, {before.x, inside.x, inside.y});
    Frame(1);
    EXPECT_NEAR(Position(player).x, before.x + 0.8f + half, 1e-3f) << "out of both tops";
    Engine::Transform::SetWorldPosition(player, before);

    for (Engine::EntityHandle raised : {column, higher}) {
        Engine::Transform::PositionRef(raised).x -= 40.0f;
        Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(raised);
    }
    Frames(5);
    const glm::vec3 beside = Position(player);
    column = WallColumnThrough(player, 5.0f);
    const float inner = Engine::Transform::ScalePtr(column)->z * std::sqrt(3.0f) / 2.0f;
    Frame(32);
    EXPECT_NEAR(Position(player).x, beside.x, 0.1f) << "not out through the top";
    const glm::vec3 axis = Position(column);
    EXPECT_GE(glm::distance(glm::vec2(Position(player).y, Position(player).z), glm::vec2(axis.y, axis.z)),
              inner + half - 1e-3f)
        << "out of a side, its half extent clear of it";
    EXPECT_FALSE(TileColumns::WayOutOfColumns(Camera(player).mPos.value, 0.0f, room));

    Engine::Transform::PositionRef(column).x -= 40.0f;
    Engine::Transform::SetWorldPosition(player, {kWallFace - half, Position(player).y, Position(player).z});
    Frame();
    column = WallColumnThrough(player, kWallFace - Position(player).x);
    // On its axis, where the top is the shorter way.
    Engine::Transform::SetWorldPosition(player, {Position(player).x, Position(column).y, Position(column).z});
    Frame(32);
    const glm::vec3 across = Position(column);
    EXPECT_GE(glm::distance(glm::vec2(Position(player).y, Position(player).z), glm::vec2(across.y, across.z)),
              inner + half - 1e-3f)
        << "out of a side of the column across the arena";
    EXPECT_FALSE(TileColumns::WayOutOfColumns(Camera(player).mPos.value, 0.0f, room));

    // Its neighbours raised across too: out to the nearest free place.
    for (Engine::EntityHandle tile : HexGrid::GetInstance().tiles) {
        const glm::vec3 at = Position(tile);
        if (tile != column && at.x < -60.0f && glm::distance(glm::vec2(at.y, at.z), glm::vec2(across.y, across.z)) < 5.0f) {
            Engine::Transform::PositionRef(tile).x = Position(column).x;
            Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(tile);
        }
    }
    Engine::Transform::SetWorldPosition(player, {Position(player).x, across.y, across.z});
    Frame(32);
    EXPECT_GE(glm::distance(glm::vec2(Position(player).y, Position(player).z), glm::vec2(across.y, across.z)), 4.0f);
    EXPECT_FALSE(TileColumns::WayOutOfColumns(Camera(player).mPos.value, 0.0f, room));
}

// While the arena turns, a floor's column raised far sweeps sideways through
// the player the event holds: it passes the column by a side rather than
// being lifted 20 along the tilt to the column's top, and its view never
// looks out from the column's inside.
TEST_F(PlayerMovement, AFloorColumnTheTurningArenaSweepsThroughTheHeldPlayerPassesItBySide)
{
    RoomOfAWholeArena();
    const Engine::EntityHandle player = SpawnStanding();
    Component(player).mStaticRequest = true;
    Frames(2);
    const glm::vec3 held = Position(player);
    GridCreation::RotateSide(kFloorSide, glm::vec3(0.0f, 0.0f, 1.0f), glm::radians(40.0f));
    const glm::vec3 up = glm::normalize(glm::vec3(Engine::Transform::GetWorldMatrix(FirstTileOf(kFloorSide))[1]));
    auto offAxis = [&](const glm::vec3& at, Engine::EntityHandle tile) {
        const glm::vec3 apart = at - Position(tile);
        return glm::length(apart - glm::dot(apart, up) * up);
    };
    Engine::EntityHandle column = FirstTileOf(kFloorSide);
    for (Engine::EntityHandle tile : HexGrid::GetInstance().tiles) {
        if (Engine::Transform::GetParent(tile) == HexGrid::GetInstance().sides[kFloorSide] &&
            offAxis(held, tile) < offAxis(held, column))
            column = tile;
    }
    // The held place lies on the seam the small floor's rows meet along: the
    // column half a unit across, onto it, and raised along its rise until
    // its top stands 20 past it.
    Engine::Transform::PositionRef(column).z += 0.5f * glm::sign(held.z - Position(column).z);
    const float rise = glm::dot(held - Position(column), up) + 20.0f - Engine::Transform::ScalePtr(column)->y;
    Engine::Transform::PositionRef(column) += *Engine::Transform::UpPtr(column) * rise;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(column);
    const ArenaRoom room = ArenaRoom::Of(HexGrid::GetInstance());
    ASSERT_TRUE(TileColumns::WayOutOfColumns(held, 0.0f, room)) << "the held place inside the column";
    Frame();
    const float inner = Engine::Transform::ScalePtr(column)->z * std::sqrt(3.0f) / 2.0f;
    EXPECT_LE(glm::distance(Position(player), held), inner + HalfSize(player).x + 1e-3f) << "not out through the top";
    EXPECT_FALSE(TileColumns::WayOutOfColumns(Camera(player).mPos.value, 0.0f, room));
}

// Columns are looked up by number, counted from the arena's settings:
// settings that plan other tiles than were built say so, once for each
// arena built, rather than every column being missed without a word.
TEST_F(PlayerMovement, ALookupOverSettingsThatDifferFromTheBuiltArenaSaysSo)
{
    const ArenaRoom room = ArenaRoom::Of(HexGrid::GetInstance());
    const glm::vec3 inside = Position(HexGrid::GetInstance().tiles[22]);
    for (int build = 0; build < 2; ++build) {
        SCOPED_TRACE(build);
        EXPECT_TRUE(TileColumns::WayOutOfColumns(inside, 0.0f, room)) << "a floor tile's middle";
        // A wall that was never built.
        HexGrid::GetInstance().rows[kWallSide] = kFloorRows;
        const std::string said = StderrOf([&] { TileColumns::WayOutOfColumns(inside, 0.0f, room); });
        EXPECT_NE(said.find("[TileColumns] The arena's settings plan 170 tiles but 46 were built"), std::string::npos)
            << said;
        EXPECT_EQ(StderrOf([&] { TileColumns::WayOutOfColumns(inside, 0.0f, room); }), "") << "said once";
        BuildFloor();
    }
}

// Should a way out be missed, the player is not left behind the tiles.
TEST_F(PlayerMovement, APlayerFoundOutsideTheArenaGoesBackToItsStartAndItIsSaid)
{
    RoomOfAWholeArena();
    const Engine::EntityHandle player = SpawnStanding();
    const glm::vec3 start = Component(player).mStartPlace;
    Engine::Transform::PositionRef(player) = glm::vec3(60.0f, -15.0f, 2.0f);
    const std::string said = StderrOf([&] { Frame(); });
    EXPECT_NE(said.find("[Player] Player 1 was outside the arena at (60, -15, 2); put back at its start"),
              std::string::npos)
        << said;
    EXPECT_LT(glm::distance(glm::vec2(Position(player).x, Position(player).z), glm::vec2(start.x, start.z)), 0.5f);
    EXPECT_EQ(StderrOf([&] { Frames(5); }), "") << "said once";
}

TEST(PlayerSteering, AnAxisCountsOnlyPastTheDeadZone)
{
    const glm::vec3 forward(0.0f, 0.0f, 1.0f);
    const glm::vec3 right(1.0f, 0.0f, 0.0f);
    struct Case {
        glm::vec2 axes;
        glm::vec3 expected;
    };
    const Case cases[] = {
        {{0.2f, 0.0f}, {0.0f, 0.0f, 0.0f}},     {{0.21f, 0.0f}, {2.0f, 0.0f, 0.0f}},
        {{-0.2f, -0.2f}, {0.0f, 0.0f, 0.0f}},   {{-0.25f, 0.0f}, {-2.0f, 0.0f, 0.0f}},
        {{0.0f, 0.9f}, {0.0f, 0.0f, 2.0f}},     {{0.0f, -1.0f}, {0.0f, 0.0f, -2.0f}},
        {{1.0f, 1.0f}, {2.0f, 0.0f, 2.0f}},     {{0.3f, -0.5f}, {2.0f, 0.0f, -2.0f}},
    };
    for (const Case& test : cases)
        EXPECT_EQ(PlayerBody::Acceleration(test.axes, forward, right, 2.0f, 0.2f), test.expected)
            << test.axes.x << ", " << test.axes.y;
}

TEST(PlayerSteering, EachHorizontalAxisIsCappedOnItsOwn)
{
    struct Case {
        glm::vec3 velocity;
        glm::vec3 acceleration;
        glm::vec3 expected;
    };
    const Case cases[] = {
        {{0.0f, 7.0f, 0.0f}, {2.0f, 5.0f, -2.0f}, {2.0f, 7.0f, -2.0f}},     // vertical untouched
        {{9.0f, 0.0f, 9.0f}, {2.0f, 0.0f, 2.0f}, {10.0f, 0.0f, 10.0f}},     // both capped: the diagonal is faster
        {{12.0f, 0.0f, -12.0f}, {2.0f, 0.0f, -2.0f}, {10.0f, 0.0f, -10.0f}}, // past the cap: pulled back to it
        {{12.0f, 0.0f, 0.0f}, {-2.0f, 0.0f, 0.0f}, {10.0f, 0.0f, 0.0f}},    // braking from past the cap
        {{-10.0f, 0.0f, 3.0f}, {0.0f, 0.0f, 0.0f}, {-10.0f, 0.0f, 3.0f}},
    };
    for (const Case& test : cases) {
        glm::vec3 velocity = test.velocity;
        PlayerBody::Accelerate(velocity, test.acceleration, 10.0f);
        EXPECT_EQ(velocity, test.expected);
    }
}

TEST_F(PlayerMovement, TheOpenModeMenuStopsWalkingJumpingAndTurning)
{
    const Engine::EntityHandle player = SpawnStanding();
    const glm::vec3 target = Camera(player).mTarget.value;
    HoldKey(Slot::ModeMenu);
    Frame();
    ASSERT_TRUE(Component(player).mRadialOpen);
    EXPECT_TRUE(Engine::InputManager::GetInstance().menuPointerShown);
    HoldKey(Slot::Forward);
    HoldKey(Slot::Jump);
    MoveMouse(40, 25);
    Frames(20);
    EXPECT_EQ(Body(player).mVelocity.value, glm::vec3(0.0f));
    EXPECT_EQ(Component(player).mJumpsUsed, 0);
    EXPECT_LT(glm::distance(Camera(player).mTarget.value, target), 1e-3f);

    Release(Slot::ModeMenu);
    Frame();
    EXPECT_FALSE(Component(player).mRadialOpen);
    EXPECT_FALSE(Engine::InputManager::GetInstance().menuPointerShown);
    Frames(5);
    EXPECT_GT(HorizontalSpeed(Body(player).mVelocity.value), 1.0f);
}

// Each frame the view turns by all the mouse moved in that frame's pump: a
// pixel turns it 0.002 radian, at any frame rate.
TEST_F(PlayerMovement, TheMouseTurnsTheViewByAllItMovedInTheFrame)
{
    const Engine::EntityHandle player = SpawnStanding();
    Frames(5);
    const glm::vec3 right = Camera(player).right;
    const auto yaw = [&] { return std::atan2(Camera(player).forward.x, -Camera(player).forward.z); };
    const float turnOf40 = 40.0f * 0.002f;
    // A steady hand, 40 pixels in each of ten frames, then rest. Pumped at
    // the end of a frame, looked with in the next, and the view's axes
    // follow the new target in the one after.
    std::vector<float> yaws{yaw()};
    for (int frame = 0; frame < 14; ++frame) {
        if (frame < 10)
            MoveMouse(40, 0);
        Frame();
        yaws.push_back(yaw());
    }
    for (int frame = 0; frame < 14; ++frame)
        EXPECT_NEAR(yaws[frame + 1] - yaws[frame], frame >= 2 && frame < 12 ? turnOf40 : 0.0f, 1e-4f) << "frame " << frame;
    EXPECT_GT(glm::dot(Camera(player).forward, right), 0.5f) << "turned to the right";
    // Ten small moves in one frame turn it as far as one move of them all.
    for (int i = 0; i < 10; ++i)
        MoveMouse(4, 0);
    Frames(3);
    EXPECT_NEAR(yaw() - yaws.back(), turnOf40, 1e-4f);
    // The same motion turns it as far at 143 frames a second as at 30.
    for (const std::uint64_t milliseconds : {7u, 33u}) {
        const float before = yaw();
        MoveMouse(40, 0);
        Frames(3, milliseconds);
        EXPECT_NEAR(yaw() - before, turnOf40, 1e-4f) << milliseconds << " ms frames";
    }
    // A quick hand turns it as far as a slow one: 300 pixels in one frame
    // as in a hundred frames of 3.
    for (const int frames : {1, 100}) {
        const float before = yaw();
        for (int frame = 0; frame < frames; ++frame) {
            MoveMouse(300 / frames, 0);
            Frame();
        }
        Frames(2);
        EXPECT_NEAR(yaw() - before, 0.6f, 0.006f) << "in " << frames << " frames";
    }

    // The body faces the view, levelled.
    const glm::vec3 turned = Camera(player).forward;
    const glm::vec3 body = *Engine::Transform::ForwardPtr(player);
    EXPECT_FLOAT_EQ(body.y, 0.0f);
    EXPECT_GT(glm::dot(body, glm::normalize(glm::vec3(turned.x, 0.0f, turned.z))), 0.9999f);
    EXPECT_NEAR(glm::distance(Camera(player).mPos.value, Position(player) + glm::vec3(0.0f, 0.25f, 0.0f)), 0.0f, 1e-3f);

    // A player that comes after the motion looks where its start left it:
    // at the arena's middle.
    const Engine::EntityHandle late = SpawnStanding({-4.0f, 0.0f, 1.0f});
    const glm::vec3 eyes = Camera(late).mPos.value;
    EXPECT_GT(glm::dot(Camera(late).forward, glm::normalize(glm::vec3(0.0f, eyes.y, 0.0f) - eyes)), 0.9999f);
}

// A steady hand pushing up (the screen's y grows downward), then down.
TEST_F(PlayerMovement, APushUpOrDownStopsShortOfTheVerticalAndTheBodyNeverTurnsAround)
{
    const Engine::EntityHandle player = SpawnStanding();
    const glm::vec3 level = Camera(player).forward;
    const glm::vec3 facing = *Engine::Transform::ForwardPtr(player);
    for (const int up : {1, -1}) {
        int turnedAway = 0;
        float steepest = 0.0f;
        for (int frame = 0; frame < 400; ++frame) {
            MoveMouse(0, -10 * up);
            Frame();
            turnedAway += glm::dot(*Engine::Transform::ForwardPtr(player), facing) < 0.9999f;
            steepest = std::max(steepest, up * Camera(player).forward.y);
        }
        EXPECT_EQ(turnedAway, 0) << up;
        EXPECT_NEAR(steepest, std::sin(glm::radians(85.0f)), 1e-3f) << "85 degrees from level";
        // 85 degrees back bring it level at once, facing as before.
        MoveMouse(0, 742 * up);
        Frames(3);
        EXPECT_GT(glm::dot(Camera(player).forward, level), 0.9999f) << up;
    }
}

TEST_F(PlayerMovement, ArenaEventsHoldThePlayerAndStunAreasFreezeItInGameTime)
{
    const Engine::EntityHandle player = SpawnStanding();
    Player_LogicComp& component = Component(player);
    component.mStaticRequest = true;
    Frame();
    EXPECT_EQ(MovementState(player), "Static");
    EXPECT_FALSE(component.mStaticRequest);
    Frame();
    EXPECT_FALSE(component.mCanAct);
    EXPECT_EQ(Position(player), glm::vec3(10.0f, 0.0f, 0.0f)) << "player 1 holds the +x side";
    Frames(290);
    EXPECT_EQ(MovementState(player), "Static");
    Frames(15);
    EXPECT_EQ(MovementState(player), "Move");
    EXPECT_TRUE(component.mCanAct);

    // At half speed the stun lasts twice as many real seconds.
    Engine::FrameRateController::SetTimeScale(0.5);
    component.MachineAt(Player_LogicComp::MovementMachine)->ChangeState("Stunned");
    Frame();
    Frames(340);
    EXPECT_EQ(MovementState(player), "Stunned");
    EXPECT_EQ(Body(player).mVelocity.value, glm::vec3(0.0f));
    Frames(15);
    EXPECT_EQ(MovementState(player), "Move");
}

} // namespace

