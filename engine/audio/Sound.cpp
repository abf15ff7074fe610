#include "engine/audio/Sound.h"

#include "engine/audio/SoundSystem.h"

#include <AL/al.h>
#include <AL/alut.h>
#include <cstdio>
#include <set>

namespace {

// Every scene makes its sounds anew and every device loads them again: a
// file is named once per run, not once per load.
std::set<std::string>& ReportedFiles()
{
    static std::set<std::string> reported;
    return reported;
}

void ReportUnreadable(const std::string& path, ALenum error)
{
    if (ReportedFiles().insert(path).second)
        std::fprintf(stderr, "Sound \"%s\" could not be loaded: %s\n", path.c_str(), alutGetErrorString(error));
}

} // namespace

void Sound::ForgetReportedFiles() { ReportedFiles().clear(); }

Sound::Sound(const std::string& filePath) : path(filePath), name(filePath)
{
    Load(SoundSystem::InstanceOrSilent().DeviceEpoch());
}

Sound::~Sound()
{
    DummySoundSystem& system = SoundSystem::InstanceOrSilent();
    if (mEpoch == 0 || mEpoch != system.DeviceEpoch())
        return; // the buffer, and any channel it had, went with its device
    system.ForgetSound(*this);
    alDeleteBuffers(1, &mBuffer);
}

std::uint32_t Sound::BufferForCurrentDevice()
{
    const std::uint64_t epoch = SoundSystem::InstanceOrSilent().DeviceEpoch();
    if (epoch != mEpoch)
        Load(epoch);
    return mBuffer;
}

void Sound::Load(std::uint64_t epoch)
{
    mEpoch = epoch;
    mBuffer = 0;
    if (epoch == 0)
        return;
    alGetError();
    // A file ALUT cannot read gives buffer 0: the sound plays as silence.
    mBuffer = alutCreateBufferFromFile(path.c_str());
    const ALenum error = alutGetError();
    if (mBuffer == 0)
        ReportUnreadable(path, error);
}
