#pragma once
#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"

#include <AL/al.h>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// Every test starts a real OpenAL system on the silent "null" output device
// (ALSOFT_DRIVERS=null), which mixes in real time, and shuts it down after.
class NullDeviceTest : public ::testing::Test {
protected:
    // About 0.09 s long, so it ends within a test.
    static constexpr const char* kShort = "data/Sounds/Sfx/HoveringOnMenu.wav";
    static constexpr const char* kLong = "data/Sounds/Music/Game_loop_medio.wav";

    void SetUp() override
    {
        ASSERT_TRUE(SoundSystem::Create()) << "run with ALSOFT_DRIVERS=null";
        system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());
        ASSERT_NE(system, nullptr);
    }
    void TearDown() override
    {
        if (SoundSystem::GetInstance())
            SoundSystem::GetInstance()->Shutdown();
    }

    ALuint SourceOf(const Sound& sound) const
    {
        const SoundChannel* channel = system->GetChannel(static_cast<std::size_t>(sound.channel));
        return channel ? channel->source : 0;
    }
    static ALint State(ALuint source)
    {
        ALint state = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        return state;
    }
    static float Gain(ALuint source) { return SourceFloat(source, AL_GAIN); }
    static float Offset(ALuint source) { return SourceFloat(source, AL_SEC_OFFSET); }
    static float SourceFloat(ALuint source, ALenum what)
    {
        float value = -1.0f;
        alGetSourcef(source, what, &value);
        return value;
    }

    // Runs frames of the sound system until the condition holds (true) or
    // thirty seconds pass (false): the sounds last a tenth of a second, and
    // the limit only tells a sound that never ends from a busy machine.
    template <class Condition>
    bool UpdateUntil(Condition condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            SoundSystem::GetInstance()->Update();
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    SoundSystem* system = nullptr;
};
