// The active perks on the small floor: cooldowns, costs and arrows, the
// refusals, the recording, each perk's effect and what the peer is told.
#include "game/components/BallScene.h"
#include "game/components/FakeLink.h"

#include "engine/net/NamedEntities.h"
#include "engine/render/ParticleEmitterManager.h"
#include "game/arena/HookCheck.h"
#include "game/arena/MatchStats.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/perks/PassivePerks.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

using ActivePerkss::ActivePerk;

// What the perks placed through the player's hooks.
struct Placed {
    char kind; // 'F' forcefield, 'S' stun area
    Engine::EntityHandle owner;
    glm::vec3 at;
};
std::vector<Placed> gPlaced;

class ActivePerks : public BallScene {
protected:
    void SetUp() override
    {
        BallScene::SetUp();
        gPlaced.clear();
        PlayerHooks::Get().spawnForcefield = [](Engine::EntityHandle owner, const glm::vec3& at) {
            gPlaced.push_back({'F', owner, at});
        };
        PlayerHooks::Get().spawnStunArea = [](Engine::EntityHandle owner, const glm::vec3& at) {
            gPlaced.push_back({'S', owner, at});
        };
    }

    static ActivePerk& Give(Engine::EntityHandle player, int selection)
    {
        EXPECT_TRUE(ActivePerkss::AttachBySelection(player, selection));
        return *Engine::LogicManager::GetCompPtr<ActivePerk>(player);
    }
    // The perk fires, ready and with its energy there.
    void Fire(ActivePerk& perk)
    {
        perk.timer = perk.EffectiveCooldown();
        Component(perk.GetOwner()).Energy.value = 16.0f;
        Press(InputBindings::Active);
    }
    static int Triggers() { return MatchStats::GetInstance().ActiveTriggers.value; }
    static Engine::ParticleEmitter& Sparks(Engine::EntityHandle entity)
    {
        return *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(entity);
    }
    bool Played(const std::string& call) const
    {
        return std::find(audio.calls.begin(), audio.calls.end(), call) != audio.calls.end();
    }
};

TEST_F(ActivePerks, EachPerkWaitsItsCooldownAndCostsItsEnergy)
{
    struct Row {
        int selection;
        std::int32_t kind;
        float cooldown;
        float cost;
        std::function<bool(const ActivePerk*)> is;
    };
    const Row rows[] = {
        {0, 1, 4.5f, 3.0f, [](const ActivePerk* p) { return dynamic_cast<const ActivePerkss::TeleportToBall*>(p); }},
        {1, 2, 8.0f, 3.0f, [](const ActivePerk* p) { return dynamic_cast<const ActivePerkss::Shield*>(p); }},
        {2, 0, 4.5f, 3.0f, [](const ActivePerk* p) { return dynamic_cast<const ActivePerkss::SlowBall*>(p); }},
        {3, 3, 8.0f, 3.0f, [](const ActivePerk* p) { return dynamic_cast<const ActivePerkss::Droppable*>(p); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selection);
        ActivePerk& perk = Give(one, row.selection);
        EXPECT_TRUE(row.is(&perk));
        EXPECT_EQ(Component(one).mActiveKind, row.kind);
        EXPECT_EQ(perk.cooldown, row.cooldown);
        EXPECT_EQ(perk.cost, row.cost);
        EXPECT_EQ(perk.arrows.size(), static_cast<std::size_t>(std::ceil(2.0f * row.cooldown)));

        // A tenth of a second early the key does nothing and costs nothing.
        Component(one).Energy.value = 16.0f;
        perk.timer = row.cooldown - 0.1f;
        const int triggers = Triggers();
        Press(InputBindings::Active);
        EXPECT_EQ(Component(one).Energy.value, 16.0f);
        EXPECT_GT(perk.timer, row.cooldown - 0.1f);

        Fire(perk);
        EXPECT_FLOAT_EQ(Component(one).Energy.value, 16.0f - row.cost);
        EXPECT_EQ(Triggers(), triggers + 1);
        EXPECT_LT(perk.timer, 0.05f) << "the wait starts again";
        EXPECT_LT(Component(one).mTimeSinceActive, 0.05f);

        const std::vector<Engine::EntityHandle> arrows = perk.arrows;
        Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);
        Frame();
        for (Engine::EntityHandle arrow : arrows)
            EXPECT_FALSE(arrow.IsValid()) << "a perk takes its arrows with it";
    }
}

TEST_F(ActivePerks, WithActiveCostTheShieldIsReadyAtFourSecondsCostsSixAndShowsEightArrowsFourLit)
{
    Engine::LogicManager::GetInstance().AddComponent<PasivePerkss::ActiveCost>(one);
    ActivePerk& perk = Give(one, 1);
    Frame();
    ASSERT_EQ(perk.arrows.size(), 8u);
    perk.timer = 0.0f;
    float elapsed = 0.0f;
    auto waitUntil = [&](float seconds) {
        for (; perk.timer < seconds; elapsed += 0.02f)
            Frame(20);
    };
    waitUntil(3.9f);
    const float energy = Component(one).Energy.value;
    Press(InputBindings::Active);
    elapsed += 0.02f;
    EXPECT_TRUE(gPlaced.empty()) << "not ready at 3.9 s";

    waitUntil(4.0f);
    EXPECT_NEAR(elapsed, 4.0f, 0.03f);
    int lit = 0;
    for (Engine::EntityHandle arrow : perk.arrows)
        lit += HudTexture(arrow) == "ArrowWhite";
    EXPECT_EQ(lit, 4);
    EXPECT_EQ(perk.LitArrowCount(), 4);
    const glm::vec3 at = Position(one);
    Press(InputBindings::Active);
    EXPECT_FLOAT_EQ(Component(one).Energy.value, energy - 6.0f);
    ASSERT_EQ(gPlaced.size(), 1u);
    EXPECT_EQ(gPlaced[0].kind, 'F');
    EXPECT_LT(glm::distance(gPlaced[0].at, at), 0.05f) << "where the player stands";
    EXPECT_TRUE(Played("Play data/Sounds/Sfx/shieldsfx.wav loop=1 overlap=0"));
    EXPECT_TRUE(Played("SetVolume data/Sounds/Sfx/shieldsfx.wav 0.2")) << "0.4 of the effects volume";
}

TEST_F(ActivePerks, NothingFiresWhileTheWaitOrTheEnergyOrThePlayIsShort)
{
    ActivePerk& perk = Give(one, 3);
    struct Case {
        const char* name;
        std::function<void()> before;
        std::function<void()> after;
    };
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const Case cases[] = {
        {"too early", [&] { perk.timer = 7.0f; }, [] {}},
        {"too little energy", [&] { Component(one).Energy.value = 2.0f; }, [] {}},
        {"cannot act", [&] { Component(one).mCanAct = false; }, [&] { Component(one).mCanAct = true; }},
        {"a replay", [&] { recorder.isLive = 0; },
         [&] {
             recorder.isLive = 1;
             Component(one).mCanAct = true;
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        perk.timer = perk.cooldown;
        Component(one).Energy.value = 16.0f;
        test.before();
        const float energy = Component(one).Energy.value;
        const float waited = perk.timer;
        const int triggers = Triggers();
        Press(InputBindings::Active);
        EXPECT_EQ(Component(one).Energy.value, energy);
        EXPECT_GE(perk.timer, waited);
        EXPECT_EQ(Triggers(), triggers);
        EXPECT_TRUE(gPlaced.empty());
        test.after();
    }
}

// A match whose spawner is missing takes no energy for a shield or a stun
// area it cannot place, and names the missing hook once, not per press.
TEST_F(ActivePerks, WithoutItsSpawnerAPlacingPerkCostsNothingAndNamesTheHookOnce)
{
    PlayerHooks::Get() = PlayerHooks{};
    for (auto [selection, hook] :
         {std::pair{1, "PlayerHooks::spawnForcefield"}, std::pair{3, "PlayerHooks::spawnStunArea"}}) {
        SCOPED_TRACE(hook);
        ForgetReportedHooks();
        ActivePerk& perk = Give(one, selection);
        const int triggers = Triggers();
        const std::string said = StderrOf([&] {
            Fire(perk);
            Fire(perk);
        });
        EXPECT_EQ(said, "[Hooks] " + std::string(hook) + " is not installed; the match goes on without what it does.\n");
        EXPECT_EQ(Component(one).Energy.value, 16.0f);
        EXPECT_EQ(Triggers(), triggers);
        EXPECT_GE(perk.timer, perk.EffectiveCooldown()) << "still ready";
        EXPECT_FALSE(Played(selection == 1 ? "Play ShieldSfx loop=1 overlap=0" : "Play StunSfx loop=1 overlap=0"));
        Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);
    }
}

TEST_F(ActivePerks, TheWaitIsRecordedAndAReplayShowsTheRecordedWait)
{
    ActivePerk& perk = Give(one, 1);
    Frames(10);
    EXPECT_EQ(MatchRecorder::GetInstance().live.players[0].active, perk.timer);

    MatchRecorder& recorder = MatchRecorder::GetInstance();
    auto frame = std::make_shared<MatchFrame>();
    frame->players[0].pos = Position(one);
    frame->players[0].active = 2.5f;
    recorder.playback.push_back(frame);
    recorder.isLive = 0;
    Frame();
    EXPECT_EQ(perk.timer, 2.5f);
    EXPECT_EQ(perk.LitArrowCount(), 5);
    recorder.isLive = 1;
    MatchRecorder::ClearFrameList(recorder.playback);
}

// Each player sees its own arrows: a row at the lower left of its own view.
TEST_F(ActivePerks, TheArrowsStandInARowOnTheOwnersViewAndFollowTheCooldownFactor)
{
    for (Engine::EntityHandle player : {one, two}) {
        const ActivePerk& perk = Give(player, 1);
        ASSERT_EQ(perk.arrows.size(), 16u);
        for (std::size_t i = 0; i < perk.arrows.size(); ++i) {
            const Engine::EntityHandle arrow = perk.arrows[i];
            EXPECT_NEAR(glm::distance(Position(arrow), glm::vec3(-7.5f + i * 0.2f * 1.3507f, -4.0f, 0.0f)), 0.0f,
                        1e-5f);
            EXPECT_EQ(*Engine::Transform::ScalePtr(arrow), glm::vec3(0.2f, 0.25f, 1.0f));
            EXPECT_EQ(std::string(Engine::EntityNameCompManager::GetInstance().GetName(arrow)), "EnergyHUD");
            EXPECT_EQ(Engine::HUDCompManager::GetInstance().GetCompPtr(arrow)->mCameraTarget.value,
                      Camera(player).mCameraIndex.value);
        }
    }
    const ActivePerk& perk = *Engine::LogicManager::GetCompPtr<ActivePerk>(one);
    Engine::LogicManager::GetInstance().AddComponent<PasivePerkss::ActiveCost>(one);
    Frames(2);
    EXPECT_EQ(perk.arrows.size(), 8u);
    Engine::LogicManager::GetInstance().RemoveFirst<PasivePerkss::ActiveCost>(one);
    Frames(2);
    EXPECT_EQ(perk.arrows.size(), 16u);
}

TEST_F(ActivePerks, TheTeleportLandsOnTheBallWithATrailFromFootToFoot)
{
    ActivePerk& perk = Give(one, 0);
    Throw(ballOne, {2.0f, FloorTop() + 3.0f, -2.0f}, glm::vec3(0.0f));
    Component(one).mFootOffset = 0.3f;
    perk.timer = perk.cooldown;
    const glm::vec3 from = Position(one);
    const glm::vec3 to = Position(ballOne);
    HoldKey(InputBindings::Active);
    Logic(10);
    EXPECT_EQ(Position(one), to);
    EXPECT_TRUE(Body(one).mGhost.value) << "pushes nothing where it lands";
    const Engine::ParticleEmitter& trail = Sparks(one);
    EXPECT_EQ(trail.GetParticles().size(), 500u);
    EXPECT_EQ(trail.shape, Engine::kParticleSegment);
    const glm::vec3 feet(0.0f, 0.5f * Engine::Transform::ScalePtr(one)->y + 0.3f, 0.0f);
    EXPECT_EQ(trail.pointA, from - feet);
    EXPECT_EQ(trail.pointB, to - feet);
    EXPECT_EQ(trail.minimum.startColour, glm::vec4(0.0f, 0.0f, 1.0f, 1.0f)) << "the player's colour";
    EXPECT_TRUE(Played("Play data/Sounds/Sfx/Tp_active.wav loop=0 overlap=0"));
    EXPECT_TRUE(Played("SetVolume data/Sounds/Sfx/Tp_active.wav 0.05"));
    PhysicsAndInput();
    Release(InputBindings::Active);
    Frame();
    EXPECT_FALSE(Body(one).mGhost.value);
}

// The perks in the room of a whole arena.
class ActivePerksInARoom : public ActivePerks {
protected:
    void BeforeFloor() override { inARoom = true; }
};

// A ball may fly in a wall, where the player would see the arena from
// outside: the teleport stops at the wall, its body half its size short of
// it, and lands no faster than stops.
TEST_F(ActivePerksInARoom, TheTeleportToABallInAWallLandsInsideTheArena)
{
    ActivePerk& perk = Give(one, 0);
    Throw(ballOne, {39.0f, FloorTop() + 3.0f, -2.0f}, glm::vec3(0.0f));
    Body(one).mVelocity.value = glm::vec3(150.0f, 0.0f, 0.0f);
    Fire(perk);
    const float wall = kWallFace - HalfSize(one).x;
    EXPECT_FLOAT_EQ(Position(one).x, wall);
    EXPECT_FLOAT_EQ(Position(one).z, -2.0f);
    PhysicsAndInput();
    EXPECT_LE(Position(one).x, wall);
}

TEST_F(ActivePerks, TheTeleportRefusesABallThatIsNotAtAFinitePlace)
{
    ActivePerk& perk = Give(one, 0);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        const Engine::EntityHandle lost = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(lost);
        Engine::Transform::PositionRef(lost) = glm::vec3(1.0f, bad, 1.0f);
        Component(one).mBall = lost;
        audio.calls.clear();
        const glm::vec3 before = Position(one);
        Fire(perk);
        EXPECT_LT(glm::distance(Position(one), before), 0.5f) << bad;
        EXPECT_TRUE(Played("Play data/Sounds/Sfx/Tp_active.wav loop=0 overlap=0")) << "the sound plays all the same";
    }
}

TEST_F(ActivePerks, TheTeleportWithoutABallCostsNothingAndDoesNothing)
{
    ActivePerk& perk = Give(one, 0);
    Component(one).mBall = Engine::EntityHandle();
    const glm::vec3 before = Position(one);
    const int triggers = Triggers();
    audio.calls.clear();
    Fire(perk);
    EXPECT_EQ(Component(one).Energy.value, 16.0f);
    EXPECT_EQ(Triggers(), triggers);
    EXPECT_GE(perk.timer, perk.EffectiveCooldown()) << "still ready";
    EXPECT_LT(glm::distance(Position(one), before), 0.5f);
    EXPECT_FALSE(Played("Play data/Sounds/Sfx/Tp_active.wav loop=0 overlap=0"));
}

TEST_F(ActivePerks, SlowBallSlowsTheOpponentsBallAndTheGoalBallButNotItsOwn)
{
    ActivePerk& perk = Give(one, 2);
    SpawnGoalBall(false);
    Frame();
    Fire(perk);
    EXPECT_EQ(Ball(ballTwo).SpeedMachine()->GetCurrentState()->GetName(), "Slow");
    EXPECT_FLOAT_EQ(Ball(ballTwo).ShootSpeed.value, 55.0f * 0.25f);
    EXPECT_EQ(Ball(ballOne).SpeedMachine()->GetCurrentState()->GetName(), "Normal");
    const Engine::EntityHandle goal = Net::Names::First("GoalBall");
    const auto& machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(goal)->GetStateMachines();
    EXPECT_EQ(machines.back()->GetCurrentState()->GetName(), "Slow");
}

// A match of one player has no opponent's ball; without a goal ball either,
// there is nothing to slow and the perk waits, paid for by nobody.
TEST_F(ActivePerks, SlowBallWithNoBallToSlowCostsNothingUntilAGoalBallFlies)
{
    ActivePerk& perk = Give(one, 2);
    Component(one).mOpponentBall = Engine::EntityHandle();
    const int triggers = Triggers();
    Fire(perk);
    EXPECT_EQ(Component(one).Energy.value, 16.0f);
    EXPECT_EQ(Triggers(), triggers);
    EXPECT_GE(perk.timer, perk.EffectiveCooldown()) << "still ready";

    SpawnGoalBall(false);
    Frame();
    Fire(perk);
    EXPECT_FLOAT_EQ(Component(one).Energy.value, 13.0f);
    EXPECT_EQ(Triggers(), triggers + 1);
}

TEST_F(ActivePerks, ThePeersTeleportPlaysOnItsCopyHere)
{
    const Engine::EntityHandle peer = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(peer);
    Engine::SetEntityName(peer, "2 Player_Mouse");
    Engine::LogicManager::GetInstance().AddComponent<Engine::Emitter>(peer);
    Engine::LogicManager::GetCompPtr<Engine::Emitter>(peer)->AddSound("tpsfx", "tpsfx", true);
    Net::PerkEffect record;
    record.subKind = Net::PerkEffect::kTeleport;
    record.start = {1.0f, 2.0f, 3.0f};
    record.target = {-4.0f, 5.0f, 6.0f};
    record.scaleY = 2.0f;
    record.footOffset = 0.5f;
    record.up = {0.0f, 1.0f, 0.0f};
    EXPECT_EQ(Deliver(ballOne, 3, record), "");
    const Engine::ParticleEmitter& trail = Sparks(peer);
    EXPECT_EQ(trail.pointA, glm::vec3(1.0f, 0.5f, 3.0f));
    EXPECT_EQ(trail.pointB, glm::vec3(-4.0f, 3.5f, 6.0f));
    EXPECT_EQ(trail.maximum.startVelocity, glm::vec3(0.0f, 10.0f, 0.0f));
    EXPECT_TRUE(Played("Play tpsfx loop=0 overlap=0"));
    EXPECT_EQ(Position(peer), glm::vec3(0.0f)) << "its place comes with its state";
}

TEST_F(ActivePerks, AnUnknownSelectionOrAnEntityWithoutAPlayerGetsNoPerk)
{
    for (int selection : {-1, 4})
        EXPECT_FALSE(ActivePerkss::AttachBySelection(one, selection)) << selection;
    EXPECT_EQ(Engine::LogicManager::GetCompPtr<ActivePerk>(one), nullptr);
    EXPECT_EQ(Component(one).mActiveKind, 4);
    EXPECT_FALSE(ActivePerkss::AttachBySelection(ballOne, 0));
}

// The perks' records go out through a link whose socket is the tests' fake;
// a teleport into a wall stops at the room's.
class ActivePerksOverTheLink : public ActivePerksInARoom {
protected:
    void SetUp() override
    {
        ActivePerksInARoom::SetUp();
        link = std::make_unique<FakeLink>();
    }
    void TearDown() override
    {
        link.reset();
        ActivePerksInARoom::TearDown();
    }
    std::vector<std::vector<std::uint8_t>> TakeSent(std::int32_t channel) { return link->TakeSent(channel); }

    std::unique_ptr<FakeLink> link;
};

TEST_F(ActivePerksOverTheLink, EachPerkTellsThePeerWhatItDid)
{
    NetworkMgr::GetInstance().connected = 1;
    Component(one).mFootOffset = 0.75f;
    Throw(ballOne, {-2.0f, FloorTop() + 3.0f, 2.0f}, glm::vec3(0.0f));
    const glm::vec3 from = Position(one);
    const glm::vec3 to = Position(ballOne);
    Fire(Give(one, 0));
    auto teleports = TakeSent(5);
    ASSERT_EQ(teleports.size(), 1u);
    const auto teleport = Net::DecodePerkEffect(teleports[0]);
    ASSERT_TRUE(teleport) << teleport.problem;
    EXPECT_EQ(teleport.record.subKind, Net::PerkEffect::kTeleport);
    EXPECT_LT(glm::distance(teleport.record.start, from), 0.05f);
    EXPECT_EQ(teleport.record.target, to);
    EXPECT_EQ(teleport.record.scaleY, Engine::Transform::ScalePtr(one)->y);
    float footOffset = 0.0f;
    std::memcpy(&footOffset, teleports[0].data() + 32, sizeof footOffset);
    EXPECT_EQ(footOffset, 0.75f) << "the foot offset rides at byte 32";
    EXPECT_EQ(teleport.record.up, glm::vec3(0.0f, 1.0f, 0.0f));
    Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);

    // To a ball in a wall, the peer is sent where the player lands, inside.
    Throw(ballOne, {39.0f, FloorTop() + 3.0f, 2.0f}, glm::vec3(0.0f));
    Fire(Give(one, 0));
    teleports = TakeSent(5);
    ASSERT_EQ(teleports.size(), 1u);
    EXPECT_EQ(Net::DecodePerkEffect(teleports[0]).record.target.x, kWallFace - HalfSize(one).x);
    Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);

    // A teleport to nowhere is not sent.
    const Engine::EntityHandle lost = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(lost);
    Engine::Transform::PositionRef(lost) = glm::vec3(std::numeric_limits<float>::quiet_NaN());
    Component(one).mBall = lost;
    Fire(Give(one, 0));
    EXPECT_TRUE(TakeSent(5).empty());
    Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);

    Fire(Give(one, 2));
    auto slows = TakeSent(5);
    ASSERT_EQ(slows.size(), 1u);
    EXPECT_EQ(Net::DecodePerkEffect(slows[0]).record.subKind, Net::PerkEffect::kSlowBall);
    Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);

    // The forcefield and the stun area (the player's own) where it stands.
    for (auto [selection, kind] : {std::pair{1, Net::PerkObject::kForcefield}, std::pair{3, Net::PerkObject::kStunArea}}) {
        gPlaced.clear();
        const glm::vec3 at = Position(one);
        Fire(Give(one, selection));
        const auto placed = TakeSent(7);
        ASSERT_EQ(placed.size(), 1u) << selection;
        const auto object = Net::DecodePerkObject(placed[0]);
        EXPECT_EQ(object.record.kind, kind);
        EXPECT_LT(glm::distance(object.record.position, at), 0.05f);
        ASSERT_EQ(gPlaced.size(), 1u);
        EXPECT_EQ(gPlaced[0].kind, selection == 1 ? 'F' : 'S');
        EXPECT_EQ(gPlaced[0].at, object.record.position);
        EXPECT_EQ(gPlaced[0].owner, one) << "the placer owns its dome or area";
        Engine::LogicManager::GetInstance().RemoveFirst<ActivePerk>(one);
    }
    EXPECT_TRUE(Played("Play data/Sounds/Sfx/stunsfx.wav loop=1 overlap=0"));

    // Off the link nothing goes out.
    NetworkMgr::GetInstance().connected = 0;
    Fire(Give(one, 2));
    EXPECT_TRUE(TakeSent(5).empty());
}

// A teleport onto the other player, or to a ball lying inside a floor
// column, lands the player inside it; the frame's hold puts it out before
// the frame is drawn, and the peer's trail ends there, not at the ball.
TEST_F(ActivePerksOverTheLink, TheTeleportTellsThePeerWhereTheFrameDrawsThePlayer)
{
    NetworkMgr::GetInstance().connected = 1;
    ActivePerk& perk = Give(one, 0);
    const glm::vec3 corner(2.0f, 0.0f, -2.0f);
    const Engine::EntityHandle column = *std::min_element(
        HexGrid::GetInstance().tiles.begin(), HexGrid::GetInstance().tiles.end(), [&](auto a, auto b) {
            return glm::distance(glm::vec2(Position(a).x, Position(a).z), glm::vec2(corner.x, corner.z)) <
                   glm::distance(glm::vec2(Position(b).x, Position(b).z), glm::vec2(corner.x, corner.z));
        });
    Engine::Transform::PositionRef(column).y += 6.0f;
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(column);
    const float top = Position(column).y + Engine::Transform::ScalePtr(column)->y;
    const glm::vec3 inTheColumn(Position(column).x, top - 1.0f, Position(column).z);
    const glm::vec3 balls[] = {Position(two), inTheColumn};
    for (const glm::vec3& ball : balls) {
        Throw(ballOne, ball, glm::vec3(0.0f));
        perk.timer = perk.EffectiveCooldown();
        Component(one).Energy.value = 16.0f;
        HoldKey(InputBindings::Active);
        Frame();
        const auto teleports = TakeSent(5);
        ASSERT_EQ(teleports.size(), 1u);
        const glm::vec3 target = Net::DecodePerkEffect(teleports[0]).record.target;
        EXPECT_EQ(target, Position(one)) << "landed " << glm::distance(target, ball) << " from the ball";
        if (&ball == &balls[0])
            EXPECT_GE(glm::distance(target, Position(two)),
                      Engine::Transform::ScalePtr(one)->x + Engine::Transform::ScalePtr(two)->x - 1e-3f)
                << "the bodies touch at most";
        else
            EXPECT_GT(target.y, top) << "out through the column's top";
        Release(InputBindings::Active);
        Frames(60);
    }
}

} // namespace
