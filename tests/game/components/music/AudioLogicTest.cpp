#include "engine/audio/RecordingSoundSystem.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/MasterVolume.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "game/components/music/AudioLogic.h"

#include <gtest/gtest.h>

namespace {

int gPlayerNumber = 1;
int CurrentPlayerNumber(Engine::EntityHandle) { return gPlayerNumber; }

using Calls = std::vector<std::string>;

// A player entity as the spawner leaves it: an emitter with the three match
// tracks and the music logic, the intro already started.
class AudioLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::SceneManager::SetIdle();
        Engine::MasterVolume::music = 0.5f;
        gPlayerNumber = 1;
        AudioLogic::SetPlayerNumberLookup(&CurrentPlayerNumber);
        player.Create();
        Engine::LogicManager::GetInstance().AddComponent<Engine::Emitter>(player);
        Engine::LogicManager::GetInstance().AddComponent<AudioLogic>(player);
        emitter = Engine::LogicManager::GetCompPtr<Engine::Emitter>(player);
        music = Engine::LogicManager::GetCompPtr<AudioLogic>(player);
        emitter->AddSound("GameplayInit", "intro", false);
        emitter->AddSound("GameplayMiddle", "middle", false);
        emitter->AddSound("Dupstep", "event", false);
        emitter->Play("GameplayInit", false, false);
        audio.calls.clear();
    }
    void TearDown() override
    {
        Engine::LogicManager::GetInstance().Clear();
        AudioLogic::SetPlayerNumberLookup(nullptr);
        SoundSystem::Install(nullptr);
    }

    // What one frame of the music logic asked of the sound system.
    Calls Frame()
    {
        audio.calls.clear();
        music->Update();
        return audio.calls;
    }

    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    Engine::EntityHandle player;
    Engine::Emitter* emitter = nullptr;
    AudioLogic* music = nullptr;
};

TEST_F(AudioLogicTest, IntroThenLoopThenEventThenLoopAgain)
{
    EXPECT_EQ(Frame(), Calls{}) << "the intro is still playing";

    audio.finished.insert("intro");
    EXPECT_EQ(Frame(), (Calls{"Play middle loop=1 overlap=0", "SetVolume middle 0.2", "SetVolume middle 0.2"}));
    EXPECT_EQ(Frame(), Calls{}) << "the loop is started once";

    music->event_trigger = 1;
    EXPECT_EQ(Frame(), (Calls{"Play event loop=0 overlap=0", "SetVolume event 0.2", "SetVolume event 0.2",
                              "Pause middle", "SetVolume middle 0"}));
    EXPECT_EQ(Frame(), Calls{}) << "the event track is still playing";

    audio.finished.insert("event");
    EXPECT_EQ(Frame(), (Calls{"Rewind middle", "Play middle loop=0 overlap=0", "SetVolume middle 0",
                              "SetVolume middle 0.2"}));
    EXPECT_EQ(Frame(), Calls{});
}

TEST_F(AudioLogicTest, TheSecondPlayerNeverStartsTheLoop)
{
    gPlayerNumber = 2;
    audio.finished.insert("intro");
    EXPECT_EQ(Frame(), Calls{});
    EXPECT_EQ(Frame(), Calls{});
}

TEST_F(AudioLogicTest, WithoutAPlayerOrAnEmitterNothingStarts)
{
    AudioLogic::SetPlayerNumberLookup(nullptr);
    audio.finished.insert("intro");
    EXPECT_EQ(Frame(), Calls{});

    AudioLogic alone;
    Engine::EntityHandle bare;
    bare.Create();
    alone.SetOwner(bare);
    alone.event_trigger = 1;
    alone.Update();
    EXPECT_EQ(alone.event_trigger, 1);
}

} // namespace
