#include "NullDeviceFixture.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <algorithm>
#include <optional>

TEST_F(NullDeviceTest, PlayTakesAChannelAndTheSoundEndsByItself)
{
    Sound sound(kShort);
    ASSERT_NE(sound.GetBuffer(), 0u);
    EXPECT_FALSE(system->IsFinished(sound)) << "a sound that never played has not finished";

    system->Play(sound, false, false);
    ASSERT_EQ(system->ChannelsCreated(), 1u);
    EXPECT_EQ(sound.channel, 0);
    EXPECT_EQ(State(SourceOf(sound)), AL_PLAYING);
    EXPECT_FALSE(system->IsFinished(sound));

    ASSERT_TRUE(UpdateUntil([&] { return system->IsFinished(sound); }));
    EXPECT_FALSE(system->GetChannel(0)->in_use) << "Update frees a stopped channel";
    EXPECT_EQ(system->GetChannel(0)->owner, nullptr);
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
    ASSERT_EQ(system->ChannelsCreated(), 3u);
    EXPECT_EQ(shared.channel, 2) << "the sound holds its latest channel";
    EXPECT_EQ(system->GetChannel(1)->owner, &shared);
    EXPECT_EQ(State(system->GetChannel(1)->source), AL_PLAYING);
    EXPECT_EQ(State(system->GetChannel(2)->source), AL_PLAYING);
}

TEST_F(NullDeviceTest, APausedSoundResumesInItsOwnChannelKeepingItsLooping)
{
    Sound exclusive(kLong);
    system->Play(exclusive, true, false);
    ASSERT_TRUE(UpdateUntil([&] { return Offset(SourceOf(exclusive)) > 0.05f; }));
    system->Pause(exclusive);
    ASSERT_EQ(State(SourceOf(exclusive)), AL_PAUSED);
    system->Rewind(exclusive);
    EXPECT_FLOAT_EQ(Offset(SourceOf(exclusive)), 0.0f);
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

// The old sound ended on channel 0 at a lowered gain and the new one took
// the channel over; what the old one asks afterwards must not reach it.
TEST_F(NullDeviceTest, AFreedChannelIsReusedAndTheSoundThatLostItLeavesTheNewOwnerAlone)
{
    Sound old(kShort);
    system->Play(old, false, false);
    system->SetVolume(old, 0.3f);
    ASSERT_EQ(system->ChannelsCreated(), 1u);
    ASSERT_TRUE(UpdateUntil([&] { return !system->GetChannel(0)->in_use; }));
    Sound current(kLong);
    system->Play(current, false, false);
    ASSERT_EQ(current.channel, old.channel);
    EXPECT_EQ(system->ChannelsCreated(), 1u);
    const ALuint source = SourceOf(current);
    ALint buffer = 0;
    alGetSourcei(source, AL_BUFFER, &buffer);
    EXPECT_EQ(static_cast<ALuint>(buffer), current.GetBuffer());

    system->SetVolume(old, 0.1f);
    system->Pause(old);
    system->SetSourcePosition(old, 5, 5, 5);
    system->SetAllowOverlap(old, 1);

    EXPECT_EQ(State(source), AL_PLAYING);
    EXPECT_FLOAT_EQ(Gain(source), 1.0f) << "full gain, neither the old sound's 0.3 nor its 0.1";
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
    ASSERT_EQ(system->ChannelsCreated(), 1u);
    for (int frame = 0; frame < 40; ++frame) {
        system->Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // past its 0.09 s length
    }
    EXPECT_TRUE(system->GetChannel(0)->in_use);
    system->Pause(loop);
    system->Update();
    for (std::uint32_t never : {1u, 255u, 256u, 0xFFFFFFFFu})
        system->ReleaseChannel(never);
    EXPECT_TRUE(system->GetChannel(0)->in_use) << "a paused channel stays taken";
    EXPECT_EQ(system->ChannelsCreated(), 1u);

    system->ReleaseChannel(0);
    EXPECT_FALSE(system->GetChannel(0)->in_use);
    EXPECT_EQ(system->GetChannel(0)->owner, nullptr);
    EXPECT_EQ(State(system->GetChannel(0)->source), AL_STOPPED) << "released channels fall silent";
}

// Named once a run: every scene makes its sounds again.
TEST_F(NullDeviceTest, AFileThatCannotBeReadPlaysAsSilenceAndIsNamedOnce)
{
    // Named once per run: an earlier test in this process may have named them.
    Sound::ForgetReportedFiles();
    const std::string missingPath = "data/Sounds/Sfx/NoSuchFile.wav";
    std::optional<Sound> missing;
    std::string said = StderrOf([&] { missing.emplace(missingPath); });
    EXPECT_EQ(said, "Sound \"" + missingPath + "\" could not be loaded: I/O error\n");
    EXPECT_EQ(missing->GetBuffer(), 0u);
    system->Play(*missing, false, false);
    EXPECT_TRUE(UpdateUntil([&] { return system->IsFinished(*missing); }));

    ScopedTempDir dir;
    WriteFileText("garbage.wav", "RIFF\x10\0\0\0WAVEnot really");
    said = StderrOf([] {
        Sound garbage("garbage.wav");
        Sound again("garbage.wav");
        EXPECT_EQ(again.GetBuffer(), 0u);
    });
    EXPECT_TRUE(said.starts_with("Sound \"garbage.wav\" could not be loaded: ")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}
