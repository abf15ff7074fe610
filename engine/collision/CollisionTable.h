#pragma once
#include "engine/core/PoolStlAllocator.h"

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <utility>
#include <vector>

namespace Engine {

// The game's collision tags and what happens when two bodies of a tag pair
// touch. Relations:
//   0              ignored: no test, no event, no response
//   2              events to both entities and the physical response
//   any other      events only (3 answers for a pair that was never set)
class CollisionTable final {
public:
    static constexpr int kIgnore = 0;
    static constexpr int kCollide = 2;
    static constexpr int kUnsetPair = 3;
    // The table's section of a scene file.
    static constexpr const char* kSection = "CollisionTable";

    struct Tag {
        std::string name;
        std::uint32_t value = 0;
    };
    // Key (smaller value, larger value).
    using PairKey = std::pair<std::uint32_t, std::uint32_t>;
    using Relations = PoolMap<PairKey, int>;

    static CollisionTable& GetInstance();

    CollisionTable(const CollisionTable&) = delete;
    CollisionTable& operator=(const CollisionTable&) = delete;

    // Appends a tag unless the name exists, valued one past the largest
    // value held (0 for the first), and makes it collide with itself and with
    // every older tag.
    void AddTag(const std::string& name);
    // Sets the relation of two named tags in either order; an unknown name
    // changes nothing.
    void SetPair(const std::string& first, const std::string& second, int relation);
    int GetRelation(std::uint32_t a, std::uint32_t b) const;
    bool HasTag(const std::string& name) const;
    // 0 (the value of "Default") for an unknown name.
    std::uint32_t GetTagValue(const std::string& name) const;
    // Gives `value` the named tag's value; an unknown name leaves it alone.
    void AssignTagValue(const std::string& name, unsigned int& value) const;

    const std::vector<Tag>& GetTags() const { return mTags; }
    const Relations& GetRelations() const { return mRelations; }

    // Writes "tags" and "pairs" into the given object.
    virtual void Save(nlohmann::json& section) const;
    // Replaces tags and relations with the section's. The whole section is
    // read before anything is stored: an error leaves the table as it was.
    virtual void Load(const nlohmann::json& section);

    // Tags and relations as a value, for a scene load to keep aside.
    struct Contents {
        std::vector<Tag> tags;
        Relations relations;
    };
    void SwapContents(Contents& other);

private:
    CollisionTable() = default;

    const Tag* FindTag(const std::string& name) const;

    std::vector<Tag> mTags;
    Relations mRelations;
};

} // namespace Engine
