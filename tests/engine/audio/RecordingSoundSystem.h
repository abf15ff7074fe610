#pragma once
#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A sound system that plays nothing and writes down what it was asked, one
// line per call ("Play a.wav loop=1 overlap=0", "SetVolume a.wav 0.2").
// Sounds are told apart by their path; IsFinished answers from `finished`.
class RecordingSoundSystem : public DummySoundSystem {
public:
    // Installs a fresh double and returns it; the installed system owns it.
    static RecordingSoundSystem& InstallNew()
    {
        auto system = std::make_unique<RecordingSoundSystem>();
        RecordingSoundSystem& installed = *system;
        SoundSystem::Install(std::move(system));
        return installed;
    }

    void Play(Sound& s, bool loop, bool overlap) override { Say("Play %s loop=%d overlap=%d", s, loop, overlap); }
    void Rewind(Sound& s) override { Say("Rewind %s", s); }
    void Pause(Sound& s) override { Say("Pause %s", s); }
    bool IsFinished(const Sound& s) override { return finished.contains(s.name); }
    void SetVolume(Sound& s, float gain) override { Say("SetVolume %s %g", s, gain); }
    void SetAllowOverlap(Sound& s, std::uint8_t allow) override { Say("SetAllowOverlap %s %d", s, allow); }
    void SetSourcePosition(Sound& s, float x, float y, float z) override
    {
        Say("SetSourcePosition %s (%g,%g,%g)", s, x, y, z);
    }
    void SetSourceVelocity(Sound& s, float x, float y, float z) override
    {
        Say("SetSourceVelocity %s (%g,%g,%g)", s, x, y, z);
    }
    void SetListenerPosition(float x, float y, float z) override { Say("SetListenerPosition (%g,%g,%g)", x, y, z); }
    void SetListenerOrientation(glm::vec3 at, glm::vec3 up) override
    {
        Say("SetListenerOrientation (%g,%g,%g) (%g,%g,%g)", at.x, at.y, at.z, up.x, up.y, up.z);
    }

    // The calls whose line starts with the prefix.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> matching;
        for (const std::string& call : calls) {
            if (call.starts_with(prefix))
                matching.push_back(call);
        }
        return matching;
    }

    std::vector<std::string> calls;
    std::set<std::string> finished;

private:
    static const char* Arg(const Sound& sound) { return sound.name.c_str(); }
    static int Arg(bool flag) { return flag; }
    static int Arg(std::uint8_t value) { return value; }
    static double Arg(float value) { return value; }

    template <class... Args>
    void Say(const char* format, const Args&... args)
    {
        char line[256];
        std::snprintf(line, sizeof line, format, Arg(args)...);
        calls.push_back(line);
    }
};
