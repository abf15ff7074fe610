#pragma once
#include "engine/audio/DummySoundSystem.h"

#include <cstdint>

class Sound;

// One OpenAL source of the channel pool. A channel is bound to the sound that
// plays on it until the source stops or the channel is released. The source
// goes with the context when the system shuts down.
struct SoundChannel {
    SoundChannel() = default;
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    std::uint32_t source = 0;
    std::uint8_t in_use = 0;
    std::uint8_t allow_overlap = 0;
    Sound* owner = nullptr; // not owned; null while free
    DummySoundSystem::FinishedCallback finished;
};
