// The energy machine and the hurt pulse of a spawned player, frame by frame.
#include "game/components/PlayerScene.h"

#include "engine/render/Renderer.h"
#include "game/arena/MatchStats.h"

namespace {

class PlayerEnergy : public StandingPlayerScene {
protected:
    // Frames of 10 ms until the energy machine is in the state, at most
    // `limit` of them; the count taken.
    int FramesUntil(const std::string& state, int limit)
    {
        int frames = 0;
        while (EnergyState(player) != state && frames < limit) {
            Frame();
            ++frames;
        }
        return frames;
    }
};

TEST_F(PlayerEnergy, SpendingTheLastUnitsExhaustsUntilFullAgain)
{
    const int exhaustions = MatchStats::GetInstance().TimesExhausted.value;
    ASSERT_TRUE(component->SpendEnergy(16.0f));
    EXPECT_FLOAT_EQ(component->Energy.value, 0.0f);
    Frame();
    EXPECT_EQ(EnergyState(player), "UsingEnergy");
    Frame();
    EXPECT_EQ(EnergyState(player), "Exausted") << "the frame after the spend took effect";
    EXPECT_TRUE(component->mExhausted);
    EXPECT_EQ(MatchStats::GetInstance().TimesExhausted.value, exhaustions + 1);
    Frame();
    EXPECT_EQ(HudTexture(component->mEnergyHud), "Exhausted_0");

    // Nothing can be paid meanwhile, and the refusal is heard.
    audio.calls.clear();
    EXPECT_FALSE(component->SpendEnergy(0.0f));
    EXPECT_EQ(audio.CallsStartingWith("Play data/Sounds/Sfx/ooe_test.wav"), std::vector<std::string>{"Play data/Sounds/Sfx/ooe_test.wav loop=0 overlap=0"});
    EXPECT_EQ(audio.CallsStartingWith("SetVolume data/Sounds/Sfx/ooe_test.wav").back(), "SetVolume data/Sounds/Sfx/ooe_test.wav 0.075")
        << "0.15 of the effects volume";

    // The view narrows over a quarter second.
    Frames(30);
    EXPECT_FLOAT_EQ(component->FovLerper.value, 0.85f);
    EXPECT_FLOAT_EQ(Camera(player).mFoV.value, 0.85f * 85.0f);

    // One unit per 0.3 s of real time, even in slow motion, up to full.
    Engine::FrameRateController::SetTimeScale(0.1);
    const float before = component->Energy.value;
    Frames(31);
    EXPECT_FLOAT_EQ(component->Energy.value, before + 1.0f);
    EXPECT_EQ(HudTexture(component->mEnergyHud), "Exhausted_" + std::to_string(static_cast<int>(before) + 1));
    // 0.3 s a unit, give or take the frame that crosses it.
    const int frames = FramesUntil("EnergyRecharge", 1000);
    const int units = 16 - static_cast<int>(before) - 1;
    EXPECT_GE(frames, units * 29);
    EXPECT_LE(frames, units * 31 + 1);
    EXPECT_FLOAT_EQ(component->Energy.value, 16.0f);
    EXPECT_FALSE(component->mExhausted);
    Frame();
    EXPECT_EQ(HudTexture(component->mEnergyHud), "") << "a full bar shows nothing";
    EXPECT_FLOAT_EQ(component->FovModifier.value, 1.0f) << "the view widens back";
}

TEST_F(PlayerEnergy, LessThanOneUnitLeftExhaustsToo)
{
    ASSERT_TRUE(component->SpendEnergy(15.5f));
    Frames(2);
    EXPECT_EQ(EnergyState(player), "Exausted") << "half a unit left";
}

TEST_F(PlayerEnergy, SpendingMoreThanIsLeftFailsSilently)
{
    component->Energy.value = 5.0f;
    audio.calls.clear();
    EXPECT_FALSE(component->SpendEnergy(5.5f));
    EXPECT_FLOAT_EQ(component->Energy.value, 5.0f);
    EXPECT_TRUE(audio.calls.empty());
    Frame();
    EXPECT_EQ(EnergyState(player), "EnergyRecharge");
    EXPECT_TRUE(component->SpendEnergy(5.0f)) << "exactly what is left";
}

TEST_F(PlayerEnergy, RechargesAfterAPauseAndNeverWhileSpendingEvery04Seconds)
{
    component->Energy.value = 10.0f;
    // Every spend restarts the half-second pause, so nothing comes back.
    for (int spend = 0; spend < 10; ++spend) {
        ASSERT_TRUE(component->SpendEnergy(0.0f));
        Frames(40);
        EXPECT_EQ(EnergyState(player), "UsingEnergy");
        EXPECT_FLOAT_EQ(component->Energy.value, 10.0f);
    }
    EXPECT_EQ(HudTexture(component->mEnergyHud), "Energy_10");

    // Left alone: the pause runs out, then a unit every quarter second.
    EXPECT_LE(FramesUntil("EnergyRecharge", 100), 12);
    Frames(25);
    EXPECT_FLOAT_EQ(component->Energy.value, 11.0f);
    Frames(25);
    EXPECT_FLOAT_EQ(component->Energy.value, 12.0f);
    EXPECT_EQ(HudTexture(component->mEnergyHud), "Energy_12");
    Frames(110);
    EXPECT_FLOAT_EQ(component->Energy.value, 16.0f);
    EXPECT_EQ(HudTexture(component->mEnergyHud), "");
}

TEST_F(PlayerEnergy, AHitPulsesTheScreenForHalfASecondOfGameTime)
{
    const Engine::PostProcessingInputs& post = Engine::Renderer::GetInstance().postProcessing;
    component->TakeHit();
    EXPECT_TRUE(component->mHurting);
    EXPECT_FLOAT_EQ(component->FovLerper.value, 0.875f) << "the view snaps narrower";
    Frame();
    EXPECT_EQ(component->StateNameOf(Player_LogicComp::HurtMachine), "Hurting");
    Frames(25);
    EXPECT_TRUE(post.flag2);
    EXPECT_TRUE(post.flag3);
    // A quarter second in: the pulse's peak.
    EXPECT_NEAR(post.float2, 0.35f, 0.01f);
    EXPECT_GE(post.integer, 7);

    // Half speed: the pulse takes twice the real time.
    Engine::FrameRateController::SetTimeScale(0.5);
    Frames(45);
    EXPECT_EQ(component->StateNameOf(Player_LogicComp::HurtMachine), "Hurting");
    Frames(10);
    EXPECT_EQ(component->StateNameOf(Player_LogicComp::HurtMachine), "Not_Hurt");
    EXPECT_FALSE(post.flag2);
    EXPECT_FALSE(post.flag3);
    // The player stays hurt for 2.5 s of real time.
    Frames(240 - 81);
    EXPECT_TRUE(component->mHurting);
    Frames(11);
    EXPECT_FALSE(component->mHurting);
}

// Leaving the match (pause menu, lost link) destroys the scene in the middle
// of a pulse, and no state's exit runs then.
TEST_F(PlayerEnergy, AMatchLeftInTheMiddleOfAPulseLeavesTheScreenClear)
{
    const Engine::PostProcessingInputs& post = Engine::Renderer::GetInstance().postProcessing;
    component->TakeHit();
    Frames(10);
    ASSERT_TRUE(post.flag2 && post.flag3);
    Engine::SceneManager::SetIdle();
    StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
    EXPECT_FALSE(post.flag2);
    EXPECT_FALSE(post.flag3);
}

// A replay takes the energy from a recording file, which may hold any float.
TEST_F(PlayerEnergy, AReplayedEnergyFarBelowZeroShowsTheEmptyBar)
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    auto frame = std::make_shared<MatchFrame>();
    frame->players[0].energy = -1.0e30f;
    frame->players[0].exausted = 1;
    recorder.playback.push_back(frame);
    recorder.isLive = 0;
    Frames(3);
    EXPECT_EQ(EnergyState(player), "Exausted");
    EXPECT_EQ(HudTexture(component->mEnergyHud), "Exhausted_0");
    MatchRecorder::ClearFrameList(recorder.playback);
}

} // namespace
