#include "NullDeviceFixture.h"

#include <memory>

// One sound still playing on two channels, one whose channel was freed when
// it ended but whose buffer is still attached there.
TEST_F(NullDeviceTest, DestroyingASoundSilencesItsChannelsAndDeletesItsBuffer)
{
    auto playing = std::make_unique<Sound>(kLong);
    system->Play(*playing, true, true);
    system->Play(*playing, true, true);
    auto ended = std::make_unique<Sound>(kShort);
    system->Play(*ended, false, false);
    ASSERT_EQ(system->ChannelsCreated(), 3u);
    ASSERT_TRUE(UpdateUntil([&] { return !system->GetChannel(2)->in_use; }));
    const ALuint playingBuffer = playing->GetBuffer();
    const ALuint endedBuffer = ended->GetBuffer();

    ended.reset();
    EXPECT_FALSE(alIsBuffer(endedBuffer));
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    playing.reset();
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(system->GetChannel(i)->in_use);
        EXPECT_EQ(system->GetChannel(i)->owner, nullptr);
        EXPECT_EQ(State(system->GetChannel(i)->source), AL_STOPPED);
    }
    EXPECT_FALSE(alIsBuffer(playingBuffer)) << "the buffer is deleted, not left attached";
}

// Buffer names start over on the new device: `fresh` takes the name `kept`
// held, and `kept`, loaded again, takes the one `old` held. `early` is made
// while no system runs, so it has no buffer until it plays.
TEST_F(NullDeviceTest, SoundsFromBeforeARestartLeaveTheNewBuffersAlone)
{
    Sound kept(kLong);
    auto old = std::make_unique<Sound>(kShort);
    system->Play(*old, false, false);
    SoundSystem::GetInstance()->Shutdown();
    Sound early(kShort);
    EXPECT_EQ(early.GetBuffer(), 0u);
    ASSERT_TRUE(SoundSystem::Create());
    system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());
    Sound fresh(kShort);

    system->Play(kept, false, false);
    system->Play(early, false, false);
    ASSERT_EQ(system->ChannelsCreated(), 2u);
    EXPECT_NE(kept.GetBuffer(), fresh.GetBuffer());
    ALint attached = 0;
    alGetSourcei(SourceOf(kept), AL_BUFFER, &attached);
    EXPECT_EQ(static_cast<ALuint>(attached), kept.GetBuffer());
    old.reset();
    EXPECT_TRUE(alIsBuffer(kept.GetBuffer()) && alIsBuffer(fresh.GetBuffer()));
    EXPECT_NE(early.GetBuffer(), 0u);
    for (const Sound* sound : {&kept, &early})
        EXPECT_EQ(State(SourceOf(*sound)), AL_PLAYING);
    EXPECT_EQ(system->GetChannel(0)->owner, &kept);
}

// Init on a running system opens a new device; the sounds loaded on the old
// one must load again rather than use (or delete) the new device's names.
TEST_F(NullDeviceTest, ASecondInitLeavesTheNewDevicesBuffersAlone)
{
    auto kept = std::make_unique<Sound>(kLong);
    ASSERT_TRUE(system->Init());
    Sound fresh(kShort);

    system->Play(*kept, false, false);
    EXPECT_NE(kept->GetBuffer(), fresh.GetBuffer());
    kept.reset();
    EXPECT_TRUE(alIsBuffer(fresh.GetBuffer()));
}
