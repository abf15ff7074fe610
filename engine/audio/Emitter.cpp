#include "engine/audio/Emitter.h"

#include "engine/audio/MasterVolume.h"
#include "engine/audio/SoundSystem.h"
#include "engine/core/Transform.h"

#include <algorithm>

namespace Engine {

namespace {

Emitter::VelocityLookup gVelocityLookup = nullptr;

DummySoundSystem& Audio() { return SoundSystem::InstanceOrSilent(); }

} // namespace

void Emitter::SetVelocityLookup(VelocityLookup lookup) { gVelocityLookup = lookup; }

Emitter::Emitter() = default;

Emitter::~Emitter() = default;

TypeNode* Emitter::RegisterClassType() { return TypeRegistry::RegisterUnder<Emitter, LogicComp>(); }

void Emitter::Initialize()
{
    // The lists come from a scene file: a shorter "names" list leaves the
    // remaining files without a name, and they are not loaded.
    const std::vector<std::string>& paths = mFilePaths.value;
    const std::vector<std::string>& names = mNames.value;
    const std::size_t count = std::min(paths.size(), names.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (mSounds.contains(names[i]))
            continue;
        mSounds[names[i]] = Entry{std::make_unique<Sound>(paths[i]), true, kDefaultVolume};
        mPlaying[names[i]] = false;
    }
}

void Emitter::Update()
{
    for (auto& [name, entry] : mSounds) {
        const auto playing = mPlaying.find(name);
        if (playing == mPlaying.end() || !playing->second)
            continue;
        Place(entry);
        ApplyVolume(entry);
        if (!gVelocityLookup)
            continue;
        if (const std::optional<glm::vec3> velocity = gVelocityLookup(owner))
            Audio().SetSourceVelocity(*entry.sound, velocity->x, velocity->y, velocity->z);
    }
}

void Emitter::Shutdown()
{
    // Destroying a sound frees its channels.
    mSounds.clear();
    mPlaying.clear();
}

void Emitter::AddSound(const std::string& name, const std::string& path, bool isSfx)
{
    mSounds.erase(name); // the old sound lets go of its channels first
    mSounds[name] = Entry{std::make_unique<Sound>(path), isSfx, kDefaultVolume};

    std::vector<std::string>& paths = mFilePaths.value;
    const std::size_t index = ListedIndex(name);
    if (index < std::min(mNames.value.size(), paths.size())) {
        paths[index] = path;
        return;
    }
    paths.push_back(path);
    mNames.value.push_back(name);
}

void Emitter::RemoveSound(const std::string& name)
{
    if (mSounds.erase(name) == 0)
        return;
    mPlaying.erase(name);
    ForgetListed(name);
}

std::size_t Emitter::ListedIndex(const std::string& name) const
{
    const std::vector<std::string>& names = mNames.value;
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
}

void Emitter::ForgetListed(const std::string& name)
{
    std::vector<std::string>& names = mNames.value;
    std::vector<std::string>& paths = mFilePaths.value;
    const std::size_t index = ListedIndex(name);
    if (index == names.size())
        return;
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < paths.size())
        paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(index));
}

void Emitter::Play(const std::string& name, bool loop, bool allowOverlap)
{
    Entry* entry = Find(name);
    if (!entry)
        return;
    mPlaying[name] = true;
    Audio().Play(*entry->sound, loop, allowOverlap);
    ApplyVolume(*entry);
}

void Emitter::Pause(const std::string& name)
{
    Entry* entry = Find(name);
    if (!entry)
        return;
    mPlaying[name] = false;
    Audio().Pause(*entry->sound);
}

void Emitter::Rewind(const std::string& name)
{
    if (Entry* entry = Find(name))
        Audio().Rewind(*entry->sound);
}

bool Emitter::IsFinished(const std::string& name)
{
    Entry* entry = Find(name);
    return entry && Audio().IsFinished(*entry->sound);
}

bool Emitter::IsPlaying(const std::string& name) const
{
    const auto playing = mPlaying.find(name);
    return playing != mPlaying.end() && playing->second;
}

void Emitter::SetAllowOverlap(const std::string& name, bool allow)
{
    if (Entry* entry = Find(name))
        Audio().SetAllowOverlap(*entry->sound, allow ? 1 : 0);
}

void Emitter::SetVolume(const std::string& name, float volume)
{
    Entry* entry = Find(name);
    if (!entry)
        return;
    entry->volume = volume;
    ApplyVolume(*entry);
}

Sound* Emitter::GetSound(const std::string& name) const
{
    const auto found = mSounds.find(name);
    return found == mSounds.end() ? nullptr : found->second.sound.get();
}

Emitter::Entry* Emitter::Find(const std::string& name)
{
    const auto found = mSounds.find(name);
    return found == mSounds.end() ? nullptr : &found->second;
}

void Emitter::ApplyVolume(Entry& entry)
{
    Audio().SetVolume(*entry.sound, entry.volume * MasterVolume::For(entry.isSfx));
}

void Emitter::Place(Entry& entry)
{
    const glm::vec3 position = Transform::GetWorldPosition(owner);
    Audio().SetSourcePosition(*entry.sound, position.x, position.y, position.z);
}

} // namespace Engine
