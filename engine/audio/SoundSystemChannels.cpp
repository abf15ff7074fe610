#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"

#include <AL/al.h>
#include <cstdio>
#include <utility>

namespace {

ALint SourceState(ALuint source)
{
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// A channel's source as a new sound expects to find it.
void ResetSource(ALuint source)
{
    alSourcef(source, AL_GAIN, 1.0f);
    alSourcef(source, AL_PITCH, 1.0f);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
}

glm::vec3 SourceVector(ALuint source, ALenum parameter)
{
    glm::vec3 value(0.0f);
    alGetSource3f(source, parameter, &value.x, &value.y, &value.z);
    return value;
}

} // namespace

SoundChannel* SoundSystem::OwnedChannel(const Sound& sound) const
{
    if (sound.channel < 0 || static_cast<std::uint64_t>(sound.channel) >= mChannelsCreated)
        return nullptr;
    SoundChannel* channel = mChannels[static_cast<std::size_t>(sound.channel)].get();
    return channel->owner == &sound ? channel : nullptr;
}

void SoundSystem::Play(Sound& sound, bool loop, bool allowOverlap)
{
    if (ResumeIfPaused(sound) || PlayingWithoutOverlap(sound))
        return;
    std::uint64_t index = 0;
    if (SoundChannel* free = FirstFreeChannel(index)) {
        Start(*free, index, sound, loop, allowOverlap);
        return;
    }
    if (mChannelsCreated >= mChannels.size()) {
        std::fprintf(stderr, "DEBUG: Reached max number of channels\n");
        return;
    }
    index = mChannelsCreated;
    Start(*NewChannel(), index, sound, loop, allowOverlap);
}

bool SoundSystem::ResumeIfPaused(Sound& sound)
{
    SoundChannel* channel = OwnedChannel(sound);
    if (!channel || SourceState(channel->source) != AL_PAUSED)
        return false;
    alSourcePlay(channel->source);
    return true;
}

bool SoundSystem::PlayingWithoutOverlap(const Sound& sound) const
{
    for (std::uint64_t i = 0; i < mChannelsCreated; ++i) {
        const SoundChannel& channel = *mChannels[i];
        if (channel.owner == &sound && !channel.allow_overlap)
            return true;
    }
    return false;
}

SoundChannel* SoundSystem::FirstFreeChannel(std::uint64_t& index) const
{
    for (index = 0; index < mChannelsCreated; ++index) {
        if (!mChannels[index]->in_use)
            return mChannels[index].get();
    }
    return nullptr;
}

SoundChannel* SoundSystem::NewChannel()
{
    auto channel = std::make_unique<SoundChannel>();
    alGenSources(1, &channel->source);
    ResetSource(channel->source);
    mChannels[mChannelsCreated] = std::move(channel);
    return mChannels[mChannelsCreated++].get();
}

void SoundSystem::Start(SoundChannel& channel, std::uint64_t index, Sound& sound, bool loop, bool allowOverlap)
{
    sound.channel = static_cast<std::int64_t>(index);
    channel.owner = &sound;
    channel.in_use = 1;
    channel.allow_overlap = allowOverlap ? 1 : 0;
    alSourcei(channel.source, AL_BUFFER, static_cast<ALint>(sound.BufferForCurrentDevice()));
    alSourcei(channel.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(channel.source);
}

void SoundSystem::Free(SoundChannel& channel)
{
    // A released channel may still be sounding; stop it so the next sound
    // can take the source.
    alSourceStop(channel.source);
    ResetSource(channel.source);
    channel.finished = nullptr;
    channel.owner = nullptr;
    channel.in_use = 0;
}

void SoundSystem::ReleaseChannel(std::uint32_t index)
{
    if (index < mChannelsCreated)
        Free(*mChannels[index]);
}

void SoundSystem::ForgetSound(Sound& sound)
{
    const ALint buffer = static_cast<ALint>(sound.GetBuffer());
    for (std::uint64_t i = 0; i < mChannelsCreated; ++i) {
        SoundChannel& channel = *mChannels[i];
        if (channel.owner == &sound)
            Free(channel);
        ALint attached = 0;
        alGetSourcei(channel.source, AL_BUFFER, &attached);
        if (buffer != 0 && attached == buffer) {
            alSourceStop(channel.source);
            alSourcei(channel.source, AL_BUFFER, 0);
        }
    }
}

void SoundSystem::Rewind(Sound& sound)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        alSourcef(channel->source, AL_SEC_OFFSET, 0.0f);
}

void SoundSystem::Pause(Sound& sound)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        alSourcePause(channel->source);
}

void SoundSystem::StartFade(Sound& sound, float duration)
{
    SoundChannel* channel = OwnedChannel(sound);
    if (!channel)
        return;
    sound.fade.duration = duration;
    alGetSourcef(channel->source, AL_SEC_OFFSET, &sound.fade.startOffset);
    alGetSourcef(channel->source, AL_GAIN, &sound.fade.startGain);
    sound.fade.active = 1;
}

bool SoundSystem::IsFinished(const Sound& sound)
{
    if (sound.channel < 0)
        return false; // never played
    const SoundChannel* channel = OwnedChannel(sound);
    return !channel || SourceState(channel->source) == AL_STOPPED;
}

void SoundSystem::SetVolume(Sound& sound, float gain)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        alSourcef(channel->source, AL_GAIN, gain);
}

float SoundSystem::GetVolume(const Sound& sound)
{
    float gain = 0.0f;
    if (const SoundChannel* channel = OwnedChannel(sound))
        alGetSourcef(channel->source, AL_GAIN, &gain);
    return gain;
}

void SoundSystem::SetAllowOverlap(Sound& sound, std::uint8_t allow)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        channel->allow_overlap = allow;
}

float SoundSystem::GetAllowOverlap(const Sound& sound)
{
    const SoundChannel* channel = OwnedChannel(sound);
    return channel && channel->allow_overlap ? 1.0f : 0.0f;
}

void SoundSystem::SetSourcePosition(Sound& sound, float x, float y, float z)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        alSource3f(channel->source, AL_POSITION, x, y, z);
}

glm::vec3 SoundSystem::GetSourcePosition(const Sound& sound)
{
    const SoundChannel* channel = OwnedChannel(sound);
    return channel ? SourceVector(channel->source, AL_POSITION) : glm::vec3(0.0f);
}

void SoundSystem::SetSourceVelocity(Sound& sound, float x, float y, float z)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        alSource3f(channel->source, AL_VELOCITY, x, y, z);
}

glm::vec3 SoundSystem::GetSourceVelocity(const Sound& sound)
{
    const SoundChannel* channel = OwnedChannel(sound);
    return channel ? SourceVector(channel->source, AL_VELOCITY) : glm::vec3(0.0f);
}

void SoundSystem::SetFinishedCallback(Sound& sound, FinishedCallback callback)
{
    if (SoundChannel* channel = OwnedChannel(sound))
        channel->finished = std::move(callback);
}
