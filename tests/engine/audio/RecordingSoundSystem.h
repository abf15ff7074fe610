#pragma once
#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"

#include <cstdio>
#include <initializer_list>
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

    void Play(Sound& sound, bool loop, bool allowOverlap) override
    {
        Record({"Play", sound.name, Flag("loop", loop), Flag("overlap", allowOverlap)});
    }
    void Rewind(Sound& sound) override { Record({"Rewind", sound.name}); }
    void Pause(Sound& sound) override { Record({"Pause", sound.name}); }
    bool IsFinished(const Sound& sound) override { return finished.contains(sound.name); }
    void SetVolume(Sound& sound, float gain) override { Record({"SetVolume", sound.name, Number(gain)}); }
    void SetAllowOverlap(Sound& sound, std::uint8_t allow) override
    {
        Record({"SetAllowOverlap", sound.name, Number(allow)});
    }
    void SetSourcePosition(Sound& sound, float x, float y, float z) override
    {
        Record({"SetSourcePosition", sound.name, Vector(x, y, z)});
    }
    void SetSourceVelocity(Sound& sound, float x, float y, float z) override
    {
        Record({"SetSourceVelocity", sound.name, Vector(x, y, z)});
    }
    void SetListenerPosition(float x, float y, float z) override { Record({"SetListenerPosition", Vector(x, y, z)}); }
    void SetListenerOrientation(glm::vec3 at, glm::vec3 up) override
    {
        Record({"SetListenerOrientation", Vector(at.x, at.y, at.z), Vector(up.x, up.y, up.z)});
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
    void Record(std::initializer_list<std::string> words)
    {
        std::string line;
        for (const std::string& word : words) {
            if (!line.empty())
                line += ' ';
            line += word;
        }
        calls.push_back(line);
    }
    static std::string Flag(const char* label, bool value)
    {
        std::string text = label;
        text += value ? "=1" : "=0";
        return text;
    }
    static std::string Number(float value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
    static std::string Vector(float x, float y, float z)
    {
        char text[96];
        std::snprintf(text, sizeof text, "(%g,%g,%g)", x, y, z);
        return text;
    }
};
