#pragma once
#include <cstdint>
#include <functional>
#include <glm/glm.hpp>

class Sound;

// The audio interface and its silent implementation. Every operation here
// does nothing (getters give zero), so the game runs without an audio device
// and no caller has to check. SoundSystem overrides them with OpenAL.
//
// An operation on a sound acts on the channel the sound holds, and only
// while the sound still owns that channel.
class DummySoundSystem {
public:
    using FinishedCallback = std::function<void()>;

    DummySoundSystem() = default;
    DummySoundSystem(const DummySoundSystem&) = delete;
    DummySoundSystem& operator=(const DummySoundSystem&) = delete;
    virtual ~DummySoundSystem() = default;

    virtual bool Init() { return true; }
    // Once per frame, after rendering.
    virtual bool Update() { return false; }
    virtual bool Shutdown() { return true; }

    // A paused sound resumes in its own channel; otherwise a sound already
    // playing without overlap is left alone, else it takes a free channel.
    virtual void Play(Sound& sound, bool loop, bool allowOverlap) {}
    virtual void Rewind(Sound& sound) {}
    virtual void Pause(Sound& sound) {}
    virtual void StartFade(Sound& sound, float duration) {}
    virtual void ReleaseChannel(std::uint32_t index) {}
    // True once the sound has played and no longer owns a playing channel.
    virtual bool IsFinished(const Sound& sound);
    virtual void SetVolume(Sound& sound, float gain) {}
    virtual float GetVolume(const Sound& sound) { return 0.0f; }
    virtual void SetAllowOverlap(Sound& sound, std::uint8_t allow) {}
    virtual float GetAllowOverlap(const Sound& sound) { return 0.0f; }
    virtual void SetSourcePosition(Sound& sound, float x, float y, float z) {}
    virtual glm::vec3 GetSourcePosition(const Sound& sound) { return glm::vec3(0.0f); }
    virtual void SetListenerPosition(float x, float y, float z) {}
    virtual glm::vec3 GetListenerPosition() { return glm::vec3(0.0f); }
    virtual void SetListenerVelocity(float x, float y, float z) {}
    virtual glm::vec3 GetListenerVelocity() { return glm::vec3(0.0f); }
    virtual void SetListenerOrientation(glm::vec3 at, glm::vec3 up) {}
    virtual void SetSourceVelocity(Sound& sound, float x, float y, float z) {}
    virtual glm::vec3 GetSourceVelocity(const Sound& sound) { return glm::vec3(0.0f); }
    virtual void SetFinishedCallback(Sound& sound, FinishedCallback callback) {}

    // A sound about to be destroyed: its channels are stopped and freed and
    // its buffer is taken off every source, so the buffer can be deleted.
    virtual void ForgetSound(Sound& sound) {}
    // Identifies the open device whose buffers a sound may hold; 0 while no
    // device is open. Buffers of another device died with it.
    virtual std::uint64_t DeviceEpoch() const { return 0; }
};
