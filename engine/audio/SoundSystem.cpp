#include "engine/audio/SoundSystem.h"

#include <AL/al.h>
#include <AL/alut.h>
#include <cstdio>
#include <utility>

namespace {

// Plain pointers, never destroyed at exit: sounds that are globals may be
// destroyed after everything else and still ask for the system.
DummySoundSystem* gInstance = nullptr;
std::string gDeviceName;
std::uint64_t gLastEpoch = 0;

} // namespace

SoundSystem::SoundSystem() : mEpoch(++gLastEpoch) {}

SoundSystem::~SoundSystem() { CloseDevice(); }

bool SoundSystem::Create()
{
    Install(std::make_unique<SoundSystem>());
    if (gInstance->Init())
        return true;
    Install(std::make_unique<DummySoundSystem>());
    return false;
}

DummySoundSystem* SoundSystem::GetInstance() { return gInstance; }

DummySoundSystem& SoundSystem::InstanceOrSilent()
{
    static DummySoundSystem* const silent = new DummySoundSystem();
    return gInstance ? *gInstance : *silent;
}

void SoundSystem::Install(std::unique_ptr<DummySoundSystem> system)
{
    // Cleared first, so the old system's destructor never sees itself installed.
    DummySoundSystem* old = std::exchange(gInstance, nullptr);
    delete old;
    gInstance = system.release();
}

void SoundSystem::SetDeviceName(std::string name) { gDeviceName = std::move(name); }

bool SoundSystem::Init()
{
    CloseDevice(); // a second Init must not leak the first device
    // Buffers of the closed device are gone; sounds holding them load again.
    mEpoch = ++gLastEpoch;
    // A second initialisation (the system restarts between scenes) fails
    // harmlessly: ALUT is already up.
    alutInitWithoutContext(nullptr, nullptr);
    alutGetError();
    PrintDeviceList();

    mDevice = alcOpenDevice(gDeviceName.empty() ? nullptr : gDeviceName.c_str());
    if (!mDevice) {
        std::fprintf(stderr, "DEBUG: Not able to load the devide(OpenAL)\n");
        return false;
    }
    mContext = alcCreateContext(mDevice, nullptr);
    if (!mContext) {
        std::fprintf(stderr, "not able to load the context\n");
        CloseDevice();
        return false;
    }
    alcMakeContextCurrent(mContext);

    ALCint monoSources = 0;
    alcGetIntegerv(mDevice, ALC_MONO_SOURCES, 1, &monoSources);
    mChannels.clear();
    mChannels.resize(monoSources > 0 ? static_cast<std::size_t>(monoSources) : 0);
    mChannelsCreated = 0;

    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    const ALfloat orientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_ORIENTATION, orientation);
    alDopplerFactor(1.0f);
    alSpeedOfSound(343.3f);
    return true;
}

void SoundSystem::PrintDeviceList()
{
    std::printf("Devices list:\n");
    std::printf("----------\n");
    // A run of NUL-terminated names ended by an empty one.
    const ALCchar* name = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    while (name && *name) {
        std::printf("%s\n", name);
        while (*name)
            ++name;
        ++name;
    }
    std::printf("----------\n");
}

bool SoundSystem::Update()
{
    alGetError();
    for (std::uint64_t i = 0; i < mChannelsCreated; ++i) {
        SoundChannel& channel = *mChannels[i];
        ALint state = 0;
        alGetSourcei(channel.source, AL_SOURCE_STATE, &state);
        if (state == AL_STOPPED)
            Free(channel);
    }
    return false;
}

bool SoundSystem::Shutdown()
{
    CloseDevice();
    if (gInstance == this)
        Install(nullptr); // destroys this object
    return true;
}

void SoundSystem::CloseDevice()
{
    // Destroying the context deletes its sources with it.
    mChannels.clear();
    mChannelsCreated = 0;
    if (mContext) {
        if (alcGetCurrentContext() == mContext)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(mContext);
        mContext = nullptr;
    }
    if (mDevice) {
        alcCloseDevice(mDevice);
        mDevice = nullptr;
    }
}

const SoundChannel* SoundSystem::GetChannel(std::size_t index) const
{
    return index < mChannelsCreated ? mChannels[index].get() : nullptr;
}
