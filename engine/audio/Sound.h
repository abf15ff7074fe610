#pragma once
#include <cstdint>
#include <string>

// One sound file loaded whole into an OpenAL buffer. Its owner keeps it; the
// sound system binds it to a channel only while it plays.
//
// The buffer belongs to the device that was open when it was loaded. A sound
// made while no device is open, or kept across a restart of the sound system,
// loads its file again the first time it plays on the new device.
class Sound {
public:
    struct Fade {
        float duration = 0.0f;
        float startOffset = 0.0f; // seconds into the sound
        float startGain = 0.0f;
        std::uint8_t active = 0;
    };

    explicit Sound(const std::string& path);
    // Frees its channels and its buffer, if they still exist.
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // The buffer on the current device, loading it there first when needed;
    // 0 when no device is open or the file could not be loaded.
    std::uint32_t BufferForCurrentDevice();
    std::uint32_t GetBuffer() const { return mBuffer; }

    // A file that cannot be read is named once per run; after this call it
    // is named again, as in a new run.
    static void ForgetReportedFiles();

    std::string path;
    std::string name;
    // Index of the last channel it played on; -1 before it first played.
    std::int64_t channel = -1;
    Fade fade;

private:
    void Load(std::uint64_t epoch);

    std::uint32_t mBuffer = 0;
    std::uint64_t mEpoch = 0; // device the buffer lives on; 0 for none
};
