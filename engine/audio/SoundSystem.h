#pragma once
#include "engine/audio/DummySoundSystem.h"
#include "engine/audio/SoundChannel.h"

#include <AL/alc.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Sound output over OpenAL, with ALUT for start-up and for loading files.
// Channels (OpenAL sources) are created on demand, up to the device's mono
// source count, and reused once their source has stopped.
//
// One instance is installed for the whole program. When no device or
// context opens, the silent DummySoundSystem takes its place.
class SoundSystem : public DummySoundSystem {
public:
    SoundSystem();
    ~SoundSystem() override;

    // Installs an OpenAL system and starts it; when that fails, installs the
    // silent one instead. Returns whether OpenAL started.
    static bool Create();
    // The installed system; null before Create and after Shutdown.
    static DummySoundSystem* GetInstance();
    // The installed system, or a silent one when none is: for code that may
    // run while the system is being restarted between scenes.
    static DummySoundSystem& InstanceOrSilent();
    // Replaces the installed system (tests put recording doubles here).
    static void Install(std::unique_ptr<DummySoundSystem> system);
    // The device Init opens; empty for the default device. Tests name one
    // that does not exist to see the silent fallback.
    static void SetDeviceName(std::string name);

    bool Init() override;
    // Frees the channels whose source has stopped; their finished callbacks
    // are dropped uncalled.
    bool Update() override;
    // Closes the device and uninstalls the system: `this` is gone afterwards.
    bool Shutdown() override;

    void Play(Sound& sound, bool loop, bool allowOverlap) override;
    void Rewind(Sound& sound) override;
    void Pause(Sound& sound) override;
    void StartFade(Sound& sound, float duration) override;
    // Stops and frees a created channel; other indices are ignored.
    void ReleaseChannel(std::uint32_t index) override;
    bool IsFinished(const Sound& sound) override;
    void SetVolume(Sound& sound, float gain) override;
    float GetVolume(const Sound& sound) override;
    void SetAllowOverlap(Sound& sound, std::uint8_t allow) override;
    float GetAllowOverlap(const Sound& sound) override;
    void SetSourcePosition(Sound& sound, float x, float y, float z) override;
    glm::vec3 GetSourcePosition(const Sound& sound) override;
    void SetListenerPosition(float x, float y, float z) override;
    glm::vec3 GetListenerPosition() override;
    void SetListenerVelocity(float x, float y, float z) override;
    glm::vec3 GetListenerVelocity() override;
    void SetListenerOrientation(glm::vec3 at, glm::vec3 up) override;
    void SetSourceVelocity(Sound& sound, float x, float y, float z) override;
    glm::vec3 GetSourceVelocity(const Sound& sound) override;
    void SetFinishedCallback(Sound& sound, FinishedCallback callback) override;

    void ForgetSound(Sound& sound) override;
    std::uint64_t DeviceEpoch() const override { return mContext ? mEpoch : 0; }

    std::uint64_t ChannelsCreated() const { return mChannelsCreated; }
    std::size_t PoolSize() const { return mChannels.size(); }
    const SoundChannel* GetChannel(std::size_t index) const;

private:
    static void PrintDeviceList();
    void CloseDevice();
    // The channel the sound holds, while the sound still owns it.
    SoundChannel* OwnedChannel(const Sound& sound) const;
    bool ResumeIfPaused(Sound& sound);
    bool PlayingWithoutOverlap(const Sound& sound) const;
    SoundChannel* FirstFreeChannel(std::uint64_t& index) const;
    SoundChannel* NewChannel();
    void Start(SoundChannel& channel, std::uint64_t index, Sound& sound, bool loop, bool allowOverlap);
    void Free(SoundChannel& channel);

    std::uint64_t mChannelsCreated = 0;
    std::vector<std::unique_ptr<SoundChannel>> mChannels;
    ALCdevice* mDevice = nullptr;
    ALCcontext* mContext = nullptr;
    std::uint64_t mEpoch;
};
