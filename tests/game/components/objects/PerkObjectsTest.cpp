// Forcefields and stun areas on the small floor: balls bounce off domes,
// areas grow, stun the opponent once and never their owner, the placers'
// sounds stop when their objects go, and both kinds take part in the
// match's recording and replay.
#include "game/components/BallScene.h"

#include "game/components/objects/ForcefieldCollider.h"
#include "game/components/objects/StunCollider.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace {

constexpr float kDomeRadius = 12.0f;

class PerkObjects : public BallScene {
protected:
    static Engine::Emitter& Sounds(Engine::EntityHandle player)
    {
        return *Engine::LogicManager::GetCompPtr<Engine::Emitter>(player);
    }
    static bool Alive(Engine::EntityHandle entity)
    {
        return entity.Exists();
    }
    static std::vector<Engine::EntityHandle> Named(const char* name)
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(name);
    }
    static StunCollider& Area(Engine::EntityHandle area) { return *Engine::LogicManager::GetCompPtr<StunCollider>(area); }
    static float Size(Engine::EntityHandle entity) { return Engine::Transform::ScalePtr(entity)->x; }
    // Both players' pauses of the sound (they play one file).
    std::size_t Pauses(const char* sound) const
    {
        return audio.CallsStartingWith("Pause " + Sounds(one).GetSound(sound)->name).size();
    }

    // A point of the floor's airspace that no player's body reaches from
    // within the given distance.
    glm::vec3 AwayFromPlayers() const { return {0.0f, FloorTop() + 4.0f, -24.0f}; }
    // Where both players stand 6 units away.
    glm::vec3 BetweenPlayers() const { return 0.5f * (Position(one) + Position(two)); }

    // Frames until the player is stunned; -1 when it is not within the count.
    int FramesUntilStunned(Engine::EntityHandle player, int limit)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            Frame();
            if (MovementState(player) == "Stunned")
                return frame;
        }
        return -1;
    }
};

TEST_F(PerkObjects, ABallBouncesOffADomeFromOutsideAndFromInsideAndTheDomeStaysPut)
{
    const glm::vec3 centre{0.0f, FloorTop() + 6.0f, 20.0f};
    struct Case {
        const char* from;
        glm::vec3 start;
        bool inside;
    };
    for (const Case& c : {Case{"outside", centre + glm::vec3(0, 0, -16), false}, Case{"inside", centre, true}}) {
        const Engine::EntityHandle dome = SpawnForcefield(centre);
        Throw(ballOne, c.start, {0.0f, 0.0f, 20.0f});
        for (int frame = 0; frame < 60; ++frame) {
            Frame();
            const float distance = glm::distance(Position(ballOne), centre);
            if (c.inside)
                ASSERT_LT(distance, kDomeRadius) << c.from << ", frame " << frame;
            else
                ASSERT_GT(distance, kDomeRadius) << c.from << ", frame " << frame;
        }
        EXPECT_LT(Velocity(ballOne).z, -15.0f) << c.from;
        EXPECT_EQ(Position(dome), centre) << c.from;
        dome.Destroy();
        Ball(ballOne).FlightMachine()->ChangeState("BallIdle");
        Frames(2);
    }
}

TEST_F(PerkObjects, PlayersPassThroughADome)
{
    const glm::vec3 before = Position(one);
    // The shell runs through the player's body.
    SpawnForcefield(before + glm::vec3(kDomeRadius, 0.0f, 0.0f));
    Frames(30);
    EXPECT_NEAR(Position(one).x, before.x, 0.05f);
    EXPECT_NEAR(Position(one).z, before.z, 0.05f);
}

TEST_F(PerkObjects, ADomeGoesAfterFiveSecondsAndStopsOnlyItsPlacersShieldSound)
{
    // The first player's own shield sound, from a dome elsewhere.
    Sounds(one).Play(ForcefieldCollider::kSound, true, false);
    Sounds(two).Play(ForcefieldCollider::kSound, true, false);
    PlayerHooks::Get().spawnForcefield(two, Position(two));
    ASSERT_EQ(Named(ForcefieldCollider::kName).size(), 1u);
    const Engine::EntityHandle dome = Named(ForcefieldCollider::kName).front();
    EXPECT_EQ(Position(dome), Position(two));
    EXPECT_EQ(Size(dome), kDomeRadius);

    Frames(499);
    EXPECT_TRUE(Alive(dome));
    EXPECT_TRUE(Sounds(two).IsPlaying(ForcefieldCollider::kSound));
    Frames(3);
    EXPECT_FALSE(Alive(dome));
    EXPECT_FALSE(Sounds(two).IsPlaying(ForcefieldCollider::kSound));
    EXPECT_TRUE(Sounds(one).IsPlaying(ForcefieldCollider::kSound)) << "not the first player's";
    EXPECT_EQ(Pauses(ForcefieldCollider::kSound), 1u);
}

TEST_F(PerkObjects, AnotherDomeOfThePlacerKeepsTheSoundAndTheFieldsOfThePeerStopNone)
{
    Sounds(two).Play(ForcefieldCollider::kSound, true, false);
    PlayerHooks::Get().spawnForcefield(two, Position(two));
    // The peer's dome: its sound plays on the peer's machine.
    PlayerHooks::Get().spawnForcefield(Engine::EntityHandle(), Position(one));
    Frames(400);
    PlayerHooks::Get().spawnForcefield(two, Position(two));
    Frames(102);
    EXPECT_EQ(Named(ForcefieldCollider::kName).size(), 1u) << "the first two went at 5 s";
    EXPECT_TRUE(Sounds(two).IsPlaying(ForcefieldCollider::kSound));
    EXPECT_EQ(Pauses(ForcefieldCollider::kSound), 0u);
    Frames(400);
    EXPECT_TRUE(Named(ForcefieldCollider::kName).empty());
    EXPECT_FALSE(Sounds(two).IsPlaying(ForcefieldCollider::kSound));
}

TEST_F(PerkObjects, AStunAreaGrowsToFullSizeIn64UpdatesWhateverTheFrameTime)
{
    for (std::uint64_t milliseconds : {5u, 10u, 30u}) {
        const Engine::EntityHandle area = SpawnStunArea(AwayFromPlayers(), one);
        EXPECT_EQ(Size(area), 0.1f);
        Frames(63, milliseconds);
        EXPECT_LT(Size(area), 8.0f) << milliseconds << " ms";
        Frame(milliseconds);
        EXPECT_EQ(*Engine::Transform::ScalePtr(area), glm::vec3(8.0f)) << milliseconds << " ms";
        area.Destroy();
        Frame();
    }
}

TEST_F(PerkObjects, AStunAreaStunsTheOpponentOnceAndNeverItsOwnerThenPausesAndShrinksAway)
{
    Sounds(one).Play(StunCollider::kSound, true, false);
    PlayerHooks::Get().spawnStunArea(one, BetweenPlayers());
    ASSERT_EQ(Named(StunCollider::kName).size(), 1u);
    const Engine::EntityHandle area = Named(StunCollider::kName).front();

    ASSERT_GT(FramesUntilStunned(two, 64), 0);
    EXPECT_EQ(MovementState(one), "Move") << "the owner stands in it too";
    EXPECT_TRUE(Area(area).mSpent);
    // The pause after the stun: the area neither grows nor shrinks.
    const float stunSize = Size(area);
    Frames(170);
    EXPECT_EQ(Size(area), stunSize);
    // Then it shrinks away while the opponent, free again, still stands in
    // it.
    int frames = 0;
    while (Alive(area) && frames < 100) {
        Frame();
        ++frames;
        EXPECT_NE(MovementState(one), "Stunned");
        if (frames > 10) {
            EXPECT_NE(MovementState(two), "Stunned") << "a second touch stuns nobody";
        }
    }
    EXPECT_FALSE(Alive(area));
    EXPECT_LE(frames, 75);
    EXPECT_FALSE(Sounds(one).IsPlaying(StunCollider::kSound));
}

TEST_F(PerkObjects, LeftAloneAnAreaShrinksAfterFourSecondsAndTheOwnersSoundStopsWithItsLastArea)
{
    Sounds(one).Play(StunCollider::kSound, true, false);
    const Engine::EntityHandle first = SpawnStunArea(AwayFromPlayers(), one);
    Frames(200);
    const Engine::EntityHandle second = SpawnStunArea(AwayFromPlayers() + glm::vec3(20, 0, 0), one);
    Frames(261);
    EXPECT_TRUE(Alive(first)) << "4.6 s: shrinking";
    EXPECT_LT(Size(first), 8.0f);
    Frames(10);
    EXPECT_FALSE(Alive(first));
    EXPECT_TRUE(Sounds(one).IsPlaying(StunCollider::kSound)) << "the second area stands";
    Frames(200);
    EXPECT_FALSE(Alive(second));
    EXPECT_FALSE(Sounds(one).IsPlaying(StunCollider::kSound));
    EXPECT_EQ(Pauses(StunCollider::kSound), 1u);
}

TEST_F(PerkObjects, AreasLeaveThePeersPlayerToThePeerStunNobodyInReplaysAndOutliveTheirOwner)
{
    struct Case {
        const char* what;
        bool remote;
        bool replay;
        bool ownerGone;
        bool stunned;
        bool spent;
    };
    for (const Case& c : {Case{"the peer's player", true, false, false, false, true},
                          Case{"a replay", false, true, false, false, false},
                          Case{"an owner gone", false, false, true, true, true}}) {
        // The owner is a player of the peer's machine, or gone: an entity
        // with its sounds only.
        const Engine::EntityHandle owner = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(owner);
        Engine::LogicManager::GetInstance().AddComponent<Engine::Emitter>(owner);
        Sounds(owner).AddSound(StunCollider::kSound, "OwnersStun", true);
        Sounds(owner).Play(StunCollider::kSound, true, false);
        Component(two).mRemote = c.remote;
        MatchRecorder::GetInstance().isLive = c.replay ? 0 : 1;
        const Engine::EntityHandle area = SpawnStunArea(Position(two), owner);
        if (c.ownerGone) {
            owner.Destroy();
            Frame();
        }
        const bool stunned = FramesUntilStunned(two, 30) > 0;
        EXPECT_EQ(stunned, c.stunned) << c.what;
        EXPECT_EQ(Area(area).mSpent != 0, c.spent) << c.what;

        MatchRecorder::GetInstance().isLive = 1;
        Component(two).mRemote = false;
        area.Destroy();
        Frames(200);
        EXPECT_EQ(audio.CallsStartingWith("Pause OwnersStun").size(), c.ownerGone ? 0u : 1u) << c.what;
        owner.Destroy();
        Frame();
        audio.calls.clear();
    }
}

TEST_F(PerkObjects, DomesAndAreasWriteTheLiveFrameAndFollowTheReplayInListOrder)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const glm::vec3 a{-30, 5, 0}, b{30, 5, 0};
    const Engine::EntityHandle domeA = SpawnForcefield(a);
    const Engine::EntityHandle domeB = SpawnForcefield(b);
    const Engine::EntityHandle area = SpawnStunArea(AwayFromPlayers(), one);
    recorder.Reset();
    Frame();
    const std::vector<MatchForceFieldRecord> domes{{1, a}, {1, b}};
    EXPECT_EQ(recorder.live.forceFields, domes);
    const std::vector<MatchStunAreaRecord> areas{{1, AwayFromPlayers(), glm::vec3(0.1f + 1.0f / 8.0f)}};
    EXPECT_EQ(recorder.live.stunAreas, areas);

    // Three domes and two areas, then one dome alone.
    auto first = std::make_shared<MatchFrame>();
    first->forceFields = {{1, {1, 1, 1}}, {1, {2, 2, 2}}, {1, {3, 3, 3}}};
    first->stunAreas = {{1, {4, 4, 4}, {5, 5, 5}}, {1, {6, 6, 6}, {7, 7, 7}}};
    auto second = std::make_shared<MatchFrame>();
    second->forceFields = {{1, {8, 8, 8}}};
    recorder.playback.push_back(first);
    recorder.playback.push_back(second);
    recorder.isLive = 0;
    Frame();
    EXPECT_EQ(Position(domeA), glm::vec3(1.0f));
    EXPECT_EQ(Position(domeB), glm::vec3(2.0f));
    EXPECT_EQ(Position(area), glm::vec3(4.0f));
    EXPECT_EQ(Size(area), 5.0f);
    // The recorder makes the dome and the area the frame lacked.
    StdoutOf([&] { recorder.Update(); });
    ASSERT_EQ(Named(ForcefieldCollider::kName).size(), 3u);
    ASSERT_EQ(Named(StunCollider::kName).size(), 2u);

    Frame();
    const Engine::EntityHandle domeC = Named(ForcefieldCollider::kName).back();
    EXPECT_EQ(Position(domeA), glm::vec3(8.0f));
    for (Engine::EntityHandle parked : {domeB, domeC, area, Named(StunCollider::kName).back()})
        EXPECT_EQ(Position(parked), glm::vec3(-1000.0f)) << "surplus objects wait out of sight";
}

TEST(DomeSettings, TheLifetimeIsSavedAsANumberAndComparedExactly)
{
    ForcefieldCollider dome;
    dome.mTimerMax.value = 7.75;
    nlohmann::json saved;
    dome.GetPropertyMap().ToJson(saved);
    EXPECT_EQ(saved, nlohmann::json::parse(R"({"mTimerMax": 7.75})"));
    ForcefieldCollider loaded;
    loaded.GetPropertyMap().FromJson(saved);
    EXPECT_TRUE(loaded.mTimerMax.Equals(&dome.mTimerMax));
    loaded.mTimerMax.value = std::nextafter(7.75, 8.0);
    EXPECT_FALSE(loaded.mTimerMax.Equals(&dome.mTimerMax));
}

} // namespace
