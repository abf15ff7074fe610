// Each passive perk's hold on its player's tuning, and the free run that
// ends in exhaustion.
#include "game/components/PlayerScene.h"

#include "game/arena/MatchStats.h"
#include "game/components/perks/PassivePerks.h"

#include <functional>

namespace {

using Slot = InputBindings::Slot;

class PassivePerks : public StandingPlayerScene {
public:
    template <class Perk>
    void Remove()
    {
        Engine::LogicManager::GetInstance().RemoveFirst<Perk>(player);
    }
};

struct Tuning {
    std::int32_t kind;
    float runCost;
    float bendCost;
    std::int32_t jumps;
    float activeCost;
    float activeCooldown;
    bool operator==(const Tuning&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Tuning& t)
{
    return out << "{kind " << t.kind << ", run " << t.runCost << ", bend " << t.bendCost << ", jumps " << t.jumps
               << ", active " << t.activeCost << " x" << t.activeCooldown << "}";
}

Tuning TuningOf(const Player_LogicComp& player)
{
    return {player.mPassiveKind, player.mRunCost, player.mTileBendCost, player.mJumpCount, player.mActiveCost,
            player.mActiveCooldown};
}

TEST_F(PassivePerks, EachPerkHoldsItsTuningAndGivesItBackWhenItGoes)
{
    // Bases that tell the two costs apart.
    component->energy_run_base.value = 1.0f;
    component->energy_tile_bend_base.value = 3.0f;
    component->mActiveCostBase = 1.5f;
    component->mActiveCooldownBase = 4.0f;
    const Tuning none{6, 1.0f, 3.0f, 1, 1.5f, 4.0f};
    struct Case {
        int selection;
        Tuning held;
        Tuning after;
        std::function<void(PassivePerks&)> remove;
    };
    const Case cases[] = {
        {0, {1, 1.0f, 3.0f, 2, 1.5f, 4.0f}, none, [](PassivePerks& t) { t.Remove<PasivePerkss::DoubleJump>(); }},
        {1, {5, 1.0f, 3.0f, 1, 1.5f, 4.0f}, {5, 1.0f, 3.0f, 1, 1.5f, 4.0f},
         [](PassivePerks& t) { t.Remove<PasivePerkss::HoldSpeed>(); }},
        {2, {0, 0.0f, 3.0f, 1, 1.5f, 4.0f}, none, [](PassivePerks& t) { t.Remove<PasivePerkss::RunCost0>(); }},
        // Both costs come from the run's base, as the perk was tuned.
        {3, {2, 2.0f, 0.5f, 1, 1.5f, 4.0f}, none, [](PassivePerks& t) { t.Remove<PasivePerkss::TileBendingCost>(); }},
        {4, {3, 1.0f, 3.0f, 1, 3.0f, 2.0f}, none, [](PassivePerks& t) { t.Remove<PasivePerkss::ActiveCost>(); }},
        {5, {4, 1.0f, 3.0f, 1, 1.5f, 4.0f}, {4, 1.0f, 3.0f, 1, 1.5f, 4.0f},
         [](PassivePerks& t) { t.Remove<PasivePerkss::RocketJump>(); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.selection);
        component->mPassiveKind = Player_LogicComp::kNoPassive;
        Frame();
        ASSERT_EQ(TuningOf(*component), none);
        ASSERT_TRUE(PasivePerkss::AttachBySelection(player, test.selection));
        Frames(3);
        EXPECT_EQ(TuningOf(*component), test.held);
        test.remove(*this);
        Frame();
        EXPECT_EQ(TuningOf(*component), test.after);
    }
}

TEST_F(PassivePerks, WithoutAPerkWhateverWroteTheCostsIsUndoneEveryFrame)
{
    component->mRunCost = 7.0f;
    component->mTileBendCost = 7.0f;
    component->mJumpCount = 7;
    component->mActiveCost = 7.0f;
    component->mShotHook = [](float base, int) { return base * 7.0f; };
    Frame();
    EXPECT_EQ(TuningOf(*component), (Tuning{6, 1.0f, 1.0f, 1, 1.0f, 1.0f}));
    EXPECT_FLOAT_EQ(component->ShotSpeed(55.0f, 3), 55.0f);
}

TEST_F(PassivePerks, SelectionsOutsideTheListAttachNothing)
{
    for (int selection : {-1, 6, 100})
        EXPECT_FALSE(PasivePerkss::AttachBySelection(player, selection)) << selection;
    for (Engine::LogicComp* each : *Engine::LogicManager::GetInstance().FindComponents(player))
        EXPECT_EQ(dynamic_cast<PasivePerkss::PasivePerk*>(each), nullptr);
}

TEST_F(PassivePerks, APerkWithoutAPlayerOrSwitchedOffChangesNothing)
{
    const Engine::EntityHandle stray = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::LogicManager::GetInstance().AddComponent<Engine::SMComponent>(stray);
    for (int selection = 0; selection < 6; ++selection)
        ASSERT_TRUE(PasivePerkss::AttachBySelection(stray, selection));
    Frames(3);
    StdoutOf([&] { Engine::LogicManager::GetInstance().RemoveComponent(stray); });

    Engine::LogicManager::GetInstance().AddComponent<PasivePerkss::DoubleJump>(player);
    Engine::LogicManager::GetCompPtr<PasivePerkss::DoubleJump>(player)->enabled = 0;
    Frames(3);
    EXPECT_EQ(component->mJumpCount, 1);
    EXPECT_EQ(component->mPassiveKind, Player_LogicComp::kNoPassive);
}

TEST_F(PassivePerks, FreeRunningEndsInOneExhaustionAndNoShootingMeanwhile)
{
    ASSERT_TRUE(PasivePerkss::AttachBySelection(player, 2));
    Frame();
    component->Energy.value = 10.0f;
    HoldKey(Slot::Forward);
    HoldKey(Slot::Run);
    Frames(100);
    EXPECT_EQ(MovementState(player), "Run");
    EXPECT_FLOAT_EQ(component->Energy.value, 11.0f) << "the run is free (its first unit comes back)";
    EXPECT_FALSE(component->mCanAct);

    const int exhaustions = MatchStats::GetInstance().TimesExhausted.value;
    Release(Slot::Run);
    Frames(3);
    EXPECT_EQ(EnergyState(player), "Exausted");
    EXPECT_FALSE(component->mCanAct);
    // Refilled from 11, then free again: one exhaustion for the one run.
    Frames(300);
    EXPECT_EQ(EnergyState(player), "EnergyRecharge");
    EXPECT_FLOAT_EQ(component->Energy.value, 16.0f);
    EXPECT_EQ(MatchStats::GetInstance().TimesExhausted.value, exhaustions + 1);
    EXPECT_TRUE(component->mCanAct);
    EXPECT_EQ(MovementState(player), "Move");
}

// While held, the player neither shoots nor fires its active perk, as
// without the perk.
TEST_F(PassivePerks, TheRunPerkCutsNoArenaHoldShortNorLetsThePlayerActInIt)
{
    ASSERT_TRUE(PasivePerkss::AttachBySelection(player, 2));
    HoldKey(Slot::Run);
    Frames(20);
    Release(Slot::Run);
    Frames(200);
    ASSERT_EQ(MovementState(player), "Move");
    component->mStaticRequest = true;
    Frames(150);
    EXPECT_EQ(MovementState(player), "Static") << "held for its 3 s";
    EXPECT_FALSE(component->mCanAct);
    Frames(200);
    EXPECT_EQ(MovementState(player), "Move");
    EXPECT_TRUE(component->mCanAct);
}

} // namespace
