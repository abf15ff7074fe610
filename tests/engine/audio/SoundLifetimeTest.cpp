#include "NullDeviceFixture.h"

#include <memory>

TEST_F(NullDeviceTest, DestroyingAPlayingSoundSilencesAndFreesItsChannels)
{
    auto sound = std::make_unique<Sound>(kLong);
    system->Play(*sound, true, true);
    system->Play(*sound, true, true);
    const ALuint buffer = sound->GetBuffer();
    ASSERT_EQ(system->ChannelsCreated(), 2u);

    sound.reset();
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(system->GetChannel(i)->in_use);
        EXPECT_EQ(system->GetChannel(i)->owner, nullptr);
        EXPECT_EQ(State(system->GetChannel(i)->source), AL_STOPPED);
    }
    EXPECT_FALSE(alIsBuffer(buffer)) << "the buffer is deleted, not left attached";
}

TEST_F(NullDeviceTest, ABufferLeftOnAFreedChannelIsStillDeleted)
{
    auto sound = std::make_unique<Sound>(kShort);
    system->Play(*sound, false, false);
    ASSERT_TRUE(UpdateUntil([&] { return !system->GetChannel(0)->in_use; }));
    const ALuint buffer = sound->GetBuffer();

    sound.reset();
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(NullDeviceTest, AnOldSceneSoundLeavesTheNextScenesBuffersAlone)
{
    auto old = std::make_unique<Sound>(kShort);
    system->Play(*old, false, false);
    SoundSystem::GetInstance()->Shutdown();
    ASSERT_TRUE(SoundSystem::Create());
    system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());

    Sound next(kLong);
    ASSERT_NE(next.GetBuffer(), 0u);
    system->Play(next, false, false);
    old.reset(); // its buffer name may well be the new sound's
    EXPECT_TRUE(alIsBuffer(next.GetBuffer()));
    EXPECT_EQ(State(SourceOf(next)), AL_PLAYING);
    EXPECT_EQ(system->GetChannel(0)->owner, &next);
}

TEST_F(NullDeviceTest, ASoundKeptAcrossARestartLoadsAgainWhenItPlays)
{
    Sound kept(kLong);
    SoundSystem::GetInstance()->Shutdown();
    ASSERT_TRUE(SoundSystem::Create());
    system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());
    Sound fresh(kShort); // takes the first buffer name of the new device

    system->Play(kept, false, false);
    EXPECT_NE(kept.GetBuffer(), fresh.GetBuffer());
    EXPECT_TRUE(alIsBuffer(kept.GetBuffer()));
    ALint attached = 0;
    alGetSourcei(SourceOf(kept), AL_BUFFER, &attached);
    EXPECT_EQ(static_cast<ALuint>(attached), kept.GetBuffer());
}

TEST(SoundBeforeTheSystem, ASoundMadeBeforeStartUpPlaysOnceTheSystemRuns)
{
    Sound early("data/Sounds/Sfx/OnClickMenu2.wav");
    EXPECT_EQ(early.GetBuffer(), 0u);
    ASSERT_TRUE(SoundSystem::Create());
    auto* system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());
    ASSERT_NE(system, nullptr);

    system->Play(early, false, false);
    EXPECT_NE(early.GetBuffer(), 0u);
    ALint state = 0;
    alGetSourcei(system->GetChannel(0)->source, AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);
    system->Shutdown();
}
