#pragma once
#include <compare>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>

namespace Engine {

// An entity is nothing but this 16-bit value; everything it has lives in the
// component managers, keyed by it.
//
//   bits 4..15  entity index, 1..4095 (0 is the null handle)
//   bits 0..3   generation, bumped each time the index is freed
//
// Equality and ordering look at the index only, so a map keyed by handle holds
// one entry per index whatever generation the key was made with.
class EntityHandle {
public:
    static constexpr std::uint32_t kMaxIndex = 4095;
    static constexpr int kIndexShift = 4;
    static constexpr std::uint16_t kGenerationMask = 0xF;

    EntityHandle() = default;
    // The handle of an index with the generation the entity manager holds for
    // it now; an index past 4095 gives the null handle.
    explicit EntityHandle(std::uint32_t index);

    EntityHandle(const EntityHandle&) = default;
    EntityHandle& operator=(const EntityHandle&) = default;
    // A moved-from handle is null, so ownership-style hand-overs never leave
    // two live copies behind by accident.
    EntityHandle(EntityHandle&& other) noexcept : value(other.value) { other.value = 0; }
    EntityHandle& operator=(EntityHandle&& other) noexcept;

    bool IsNull() const { return value < (1u << kIndexShift); }
    // Not null and its generation is the one the manager stores for its index.
    // Whether the index is in use is not asked.
    bool IsValid() const;
    // Valid and its index in use: the entity is still there (one queued for
    // destruction stays until the frame's flush).
    bool Exists() const;

    std::uint32_t GetIndex() const { return value >> kIndexShift; }
    std::uint32_t GetGeneration() const { return value & kGenerationMask; }

    // Takes a fresh entity from the manager (null when none is free).
    void Create();
    // Queues the entity for the end-of-frame flush.
    void Destroy() const;

    bool operator==(const EntityHandle& other) const { return GetIndex() == other.GetIndex(); }
    std::strong_ordering operator<=>(const EntityHandle& other) const
    {
        return GetIndex() <=> other.GetIndex();
    }

    std::uint16_t value = 0;
};

// JSON keeps the index alone; reading takes the index's current generation.
// A number outside 0..4095 (negative, NaN, huge) reads as the null handle.
void to_json(nlohmann::json& j, const EntityHandle& handle);
void from_json(const nlohmann::json& j, EntityHandle& handle);

} // namespace Engine
