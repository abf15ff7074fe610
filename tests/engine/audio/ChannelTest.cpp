#include "NullDeviceFixture.h"

TEST_F(NullDeviceTest, PlayTakesAChannelAndTheSoundEndsByItself)
{
    Sound sound(kShort);
    ASSERT_NE(sound.GetBuffer(), 0u);
    EXPECT_EQ(sound.channel, -1);
    EXPECT_FALSE(system->IsFinished(sound)) << "a sound that never played has not finished";

    system->Play(sound, false, false);
    EXPECT_EQ(sound.channel, 0);
    EXPECT_EQ(system->ChannelsCreated(), 1u);
    EXPECT_EQ(State(SourceOf(sound)), AL_PLAYING);
    EXPECT_FALSE(system->IsFinished(sound));

    ASSERT_TRUE(UpdateUntil([&] { return system->IsFinished(sound); }));
    EXPECT_FALSE(system->GetChannel(0)->in_use) << "Update frees a stopped channel";
    EXPECT_EQ(system->GetChannel(0)->owner, nullptr);
    EXPECT_EQ(sound.channel, 0) << "the sound keeps its old index";
}

TEST_F(NullDeviceTest, OverlapDecidesWhetherASecondChannelIsTaken)
{
    Sound sound(kLong);
    system->Play(sound, false, false);
    system->Play(sound, false, false);
    EXPECT_EQ(system->ChannelsCreated(), 1u) << "no overlap: the second request is dropped";

    Sound shared(kLong);
    system->Play(shared, false, true);
    system->Play(shared, false, true);
    EXPECT_EQ(system->ChannelsCreated(), 3u);
    EXPECT_EQ(shared.channel, 2) << "the sound holds its latest channel";
    EXPECT_EQ(system->GetChannel(1)->owner, &shared);
    EXPECT_EQ(State(system->GetChannel(1)->source), AL_PLAYING);
    EXPECT_EQ(State(system->GetChannel(2)->source), AL_PLAYING);
}

TEST_F(NullDeviceTest, APausedSoundResumesInItsOwnChannelKeepingItsLooping)
{
    Sound exclusive(kLong);
    system->Play(exclusive, true, false);
    ASSERT_TRUE(UpdateUntil([&] {
        float offset = 0.0f;
        alGetSourcef(SourceOf(exclusive), AL_SEC_OFFSET, &offset);
        return offset > 0.05f;
    }));
    system->Pause(exclusive);
    ASSERT_EQ(State(SourceOf(exclusive)), AL_PAUSED);
    system->Rewind(exclusive);
    float offset = -1.0f;
    alGetSourcef(SourceOf(exclusive), AL_SEC_OFFSET, &offset);
    EXPECT_FLOAT_EQ(offset, 0.0f);
    system->Play(exclusive, false, false);
    EXPECT_EQ(State(SourceOf(exclusive)), AL_PLAYING) << "resumed although it may not overlap itself";
    ALint looping = AL_FALSE;
    alGetSourcei(SourceOf(exclusive), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);

    Sound overlapping(kLong);
    system->Play(overlapping, false, true);
    system->Pause(overlapping);
    system->Play(overlapping, false, true);
    EXPECT_EQ(system->ChannelsCreated(), 2u) << "resumed, not started on a new channel";
    EXPECT_EQ(State(SourceOf(overlapping)), AL_PLAYING);
}

TEST_F(NullDeviceTest, AFreedChannelIsReusedBeforeANewOneIsMade)
{
    Sound first(kShort);
    system->Play(first, false, false);
    ASSERT_TRUE(UpdateUntil([&] { return !system->GetChannel(0)->in_use; }));

    Sound second(kLong);
    system->Play(second, false, false);
    EXPECT_EQ(second.channel, 0);
    EXPECT_EQ(system->ChannelsCreated(), 1u);
    EXPECT_EQ(system->GetChannel(0)->owner, &second);
    ALint buffer = 0;
    alGetSourcei(SourceOf(second), AL_BUFFER, &buffer);
    EXPECT_EQ(static_cast<ALuint>(buffer), second.GetBuffer());
    EXPECT_FLOAT_EQ(Gain(SourceOf(second)), 1.0f) << "a reused channel starts at full gain";
}

TEST_F(NullDeviceTest, ASoundThatLostItsChannelLeavesTheNewOwnerAlone)
{
    Sound old(kShort);
    system->Play(old, false, false);
    system->SetVolume(old, 0.3f);
    ASSERT_TRUE(UpdateUntil([&] { return !system->GetChannel(0)->in_use; }));
    Sound current(kLong);
    system->Play(current, false, false);
    ASSERT_EQ(current.channel, old.channel);
    const ALuint source = SourceOf(current);

    system->SetVolume(old, 0.1f);
    system->Pause(old);
    system->SetSourcePosition(old, 5, 5, 5);
    system->SetAllowOverlap(old, 1);

    EXPECT_EQ(State(source), AL_PLAYING);
    EXPECT_FLOAT_EQ(Gain(source), 1.0f);
    EXPECT_EQ(system->GetSourcePosition(current), glm::vec3(0.0f));
    EXPECT_EQ(system->GetAllowOverlap(current), 0.0f);
    EXPECT_TRUE(system->IsFinished(old)) << "played, and owns no playing channel any more";
    EXPECT_FALSE(system->IsFinished(current));
    EXPECT_EQ(system->GetVolume(old), 0.0f);

    system->Pause(current);
    system->Play(old, false, false);
    EXPECT_EQ(State(source), AL_PAUSED) << "the other sound's paused channel is not resumed";
    EXPECT_EQ(old.channel, 1) << "it plays again on a channel of its own";
    EXPECT_EQ(system->GetChannel(0)->owner, &current);
}

TEST_F(NullDeviceTest, ALoopingSoundKeepsItsChannelUntilReleased)
{
    Sound loop(kShort);
    system->Play(loop, true, false);
    for (int frame = 0; frame < 40; ++frame) {
        system->Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // past its 0.09 s length
    }
    EXPECT_TRUE(system->GetChannel(0)->in_use);
    system->Pause(loop);
    system->Update();
    EXPECT_TRUE(system->GetChannel(0)->in_use) << "a paused channel stays taken";

    system->ReleaseChannel(0);
    EXPECT_FALSE(system->GetChannel(0)->in_use);
    EXPECT_EQ(system->GetChannel(0)->owner, nullptr);
    EXPECT_EQ(State(system->GetChannel(0)->source), AL_STOPPED) << "released channels fall silent";
}

TEST_F(NullDeviceTest, ReleasingAChannelThatWasNeverMadeDoesNothing)
{
    Sound sound(kLong);
    system->Play(sound, false, false);
    for (std::uint32_t index : {1u, 254u, 255u, 256u, 0xFFFFFFFFu})
        system->ReleaseChannel(index);
    EXPECT_TRUE(system->GetChannel(0)->in_use);
    EXPECT_EQ(system->ChannelsCreated(), 1u);
}

TEST_F(NullDeviceTest, AFileThatCannotBeReadPlaysAsSilence)
{
    Sound missing("data/Sounds/Sfx/NoSuchFile.wav");
    EXPECT_EQ(missing.GetBuffer(), 0u);
    system->Play(missing, false, false);
    EXPECT_TRUE(UpdateUntil([&] { return system->IsFinished(missing); }));
}
