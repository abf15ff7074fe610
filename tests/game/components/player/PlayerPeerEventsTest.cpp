// What the peer's records do to a player, delivered as the network's
// receivers deliver them: a NetworkingEvent raised to the player's entity.
#include "game/components/PlayerScene.h"

#include "engine/logic/EventHandlerList.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/ChannelRecords.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

int gGoalBallsSpawned = 0;
int gGoalBallsRestarted = 0;
bool gGoalBallAlive = false;
int gFlips = 0;
std::vector<glm::vec3> gForcefields;
std::vector<std::pair<Engine::EntityHandle, glm::vec3>> gStunAreas;

class PlayerPeerEvents : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        gGoalBallsSpawned = gGoalBallsRestarted = 0;
        gGoalBallAlive = false;
        gFlips = 0;
        gForcefields.clear();
        gStunAreas.clear();
        PlayerHooks& hooks = PlayerHooks::Get();
        hooks.goalBallAlive = [] { return gGoalBallAlive; };
        hooks.spawnGoalBallQuietly = [] { ++gGoalBallsSpawned; };
        hooks.restartGoalBall = [] { ++gGoalBallsRestarted; };
        hooks.startArenaFlip = [] { ++gFlips; };
        hooks.spawnForcefield = [](Engine::EntityHandle owner, const glm::vec3& at) {
            EXPECT_TRUE(owner.IsNull()) << "the peer's forcefield has no owner here";
            gForcefields.push_back(at);
        };
        hooks.spawnStunArea = [](Engine::EntityHandle owner, const glm::vec3& at) { gStunAreas.emplace_back(owner, at); };
        local = SpawnStanding({-6.0f, 0.0f, 1.0f});
        remote = SpawnStanding({6.0f, 0.0f, 1.0f});
        Component(remote).mRemote = true;
        Engine::EntityNameCompManager::GetInstance().SetName(remote, "2 Player_Mouse");
    }

public:
    Engine::EntityHandle local;
    Engine::EntityHandle remote;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST_F(PlayerPeerEvents, GoalsAndHitsMoveTheRightScore)
{
    Net::Score goal{4, Net::Score::kGoal};
    Net::Score hit{4, Net::Score::kHit};
    Deliver(local, 1, goal);
    EXPECT_EQ(Component(local).mScore, 0) << "a goal by the peer is not ours";
    Deliver(remote, 1, goal);
    EXPECT_EQ(Component(remote).mScore, 1);

    Deliver(local, 1, hit);
    EXPECT_TRUE(Component(local).mHurting) << "the peer's ball hit us";
    Deliver(remote, 1, hit);
    EXPECT_EQ(Component(remote).mScore, 2) << "the peer's player scores it";
    EXPECT_FALSE(Component(remote).mHurting);
}

TEST_F(PlayerPeerEvents, RecordsWithUnknownKindsOrNonFiniteValuesAreDropped)
{
    struct Case {
        const char* name;
        std::function<std::string(PlayerPeerEvents&)> deliver;
    };
    const Case cases[] = {
        {"a score of kind 7", [](PlayerPeerEvents& t) { return Deliver(t.remote, 1, Net::Score{4, 7}); }},
        {"an arena event of kind 9",
         [](PlayerPeerEvents& t) { return Deliver(t.local, 4, Net::ArenaEvent{9, 0, {}}); }},
        {"a forcefield at NaN",
         [](PlayerPeerEvents& t) {
             return Deliver(t.local, 5, Net::PerkObject{0, Net::PerkObject::kForcefield, {kNaN, 0.0f, 0.0f}});
         }},
        {"a perk object of kind 4",
         [](PlayerPeerEvents& t) { return Deliver(t.local, 5, Net::PerkObject{0, 4, {1.0f, 2.0f, 3.0f}}); }},
        {"a perk effect of sub-kind 9",
         [](PlayerPeerEvents& t) {
             Net::PerkEffect effect;
             effect.subKind = 9;
             return Deliver(t.remote, 3, effect);
         }},
    };
    for (const Case& test : cases) {
        const std::string printed = test.deliver(*this);
        EXPECT_NE(printed.find("[Player] Dropped the peer's message"), std::string::npos) << test.name << ": " << printed;
    }
    EXPECT_EQ(Component(remote).mScore, 0);
    EXPECT_TRUE(gForcefields.empty());
    EXPECT_EQ(gFlips, 0);

    // A player numbered outside the match hears nothing.
    Component(local).mPlayerNumber = 3;
    const std::string printed = Deliver(local, 1, Net::Score{1, Net::Score::kHit});
    EXPECT_NE(printed.find("neither number 1 nor 2"), std::string::npos);
    EXPECT_FALSE(Component(local).mHurting);
}

TEST_F(PlayerPeerEvents, ArenaEventsGoalBallsAndPerkObjectsReachTheirOwners)
{
    Deliver(local, 2, Net::GoalBallState{Net::GoalBallState::kSpawned, {}, {}});
    EXPECT_EQ(gGoalBallsSpawned, 1);
    gGoalBallAlive = true;
    Deliver(local, 2, Net::GoalBallState{Net::GoalBallState::kSpawned, {}, {}});
    EXPECT_EQ(gGoalBallsSpawned, 1) << "one goal ball at a time";
    EXPECT_EQ(gGoalBallsRestarted, 1) << "the one out waits with the host's new one";

    audio.calls.clear();
    Deliver(local, 4, Net::ArenaEvent{Net::ArenaEvent::kCoolDown, 1, {}});
    EXPECT_EQ(audio.CallsStartingWith("Play"), std::vector<std::string>{"Play data/Sounds/Sfx/EventCooldown.wav loop=0 overlap=0"});
    Deliver(local, 4, Net::ArenaEvent{Net::ArenaEvent::kFlip, 0, {}});
    EXPECT_EQ(gFlips, 1);
    Deliver(local, 4, Net::ArenaEvent{Net::ArenaEvent::kCrashingTiles, 0, {1, 2, 3}});
    EXPECT_EQ(gFlips, 1) << "crashing tiles are the tiles' business";

    Deliver(local, 5, Net::PerkObject{0, Net::PerkObject::kForcefield, {1.0f, 2.0f, 3.0f}});
    EXPECT_EQ(gForcefields, std::vector<glm::vec3>{glm::vec3(1.0f, 2.0f, 3.0f)});
    Deliver(local, 5, Net::PerkObject{0, Net::PerkObject::kStunArea, {4.0f, 5.0f, 6.0f}});
    ASSERT_EQ(gStunAreas.size(), 1u);
    EXPECT_EQ(gStunAreas[0].first, remote) << "owned by the peer's player";
    EXPECT_EQ(gStunAreas[0].second, glm::vec3(4.0f, 5.0f, 6.0f));

    // Without the peer's player there is no owner, and no stun area.
    Engine::EntityNameCompManager::GetInstance().SetName(remote, "Nobody");
    Deliver(local, 5, Net::PerkObject{0, Net::PerkObject::kStunArea, {4.0f, 5.0f, 6.0f}});
    EXPECT_EQ(gStunAreas.size(), 1u);
}

TEST_F(PlayerPeerEvents, AShutDownPlayerHearsNoMore)
{
    Player_LogicComp& component = Component(remote);
    component.Shutdown();
    Deliver(remote, 1, Net::Score{1, Net::Score::kGoal});
    EXPECT_EQ(component.mScore, 0);
}

} // namespace
