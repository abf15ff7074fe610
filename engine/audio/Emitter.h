#pragma once
#include "engine/audio/Sound.h"
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <glm/glm.hpp>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Engine {

// Plays its entity's sounds by name and keeps them at the entity's position,
// each at its own volume times the music or effects master volume.
//
// Persisted: "filepath" and "names", parallel lists (entry i of "names"
// names the file at entry i of "filepath"). Sounds read from a scene are
// effects at volume 0.4. Names that were never added are ignored.
class Emitter : public LogicComp {
public:
    // The velocity of an entity's physics body, or nothing when it has none;
    // the physics side installs it. Until then sources keep their velocity.
    using VelocityLookup = std::optional<glm::vec3> (*)(EntityHandle entity);
    static void SetVelocityLookup(VelocityLookup lookup);

    static constexpr float kDefaultVolume = 0.4f;

    Emitter();
    ~Emitter() override;
    Emitter(const Emitter&) = delete;
    Emitter& operator=(const Emitter&) = delete;

    static TypeNode* RegisterClassType();
    TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    void Shutdown() override;

    // Loads the file under the name, replacing a sound of that name.
    void AddSound(const std::string& name, const std::string& path, bool isSfx);
    void RemoveSound(const std::string& name);
    void Play(const std::string& name, bool loop, bool allowOverlap);
    void Pause(const std::string& name);
    void Rewind(const std::string& name);
    bool IsFinished(const std::string& name);
    // The request flag: set by Play, cleared by Pause only.
    bool IsPlaying(const std::string& name) const;
    void SetAllowOverlap(const std::string& name, bool allow);
    void SetVolume(const std::string& name, float volume);

    // The loaded sound of a name, or null.
    Sound* GetSound(const std::string& name) const;

private:
    struct Entry {
        std::unique_ptr<Sound> sound;
        bool isSfx = true;
        float volume = kDefaultVolume;
    };

    Entry* Find(const std::string& name);
    void ApplyVolume(Entry& entry);
    void Place(Entry& entry);
    // Where the name stands in the persisted lists; their size when absent.
    std::size_t ListedIndex(const std::string& name) const;
    void ForgetListed(const std::string& name);

    Property<std::vector<std::string>> mFilePaths{"filepath", mPropertyMap};
    Property<std::vector<std::string>> mNames{"names", mPropertyMap};
    std::unordered_map<std::string, Entry> mSounds;
    std::unordered_map<std::string, bool> mPlaying;
};

} // namespace Engine
