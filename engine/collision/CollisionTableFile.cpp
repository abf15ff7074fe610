// Scene-file section "CollisionTable":
//   "tags"   array, in the table's order, of
//              {"tag_name": string, "tag_value": u32}
//   "pairs"  array, in ascending (first, second) order, of
//              {"first": u32, "second": u32, "value": i32}
//            first <= second in every file this writer makes; a pair read
//            with first > second is kept under that key and never matches.
// Numbers may be booleans, integers or floats (a fraction is cut toward
// zero); one outside its type's range is refused. Both keys must be there;
// null reads as an empty array. Values are checked before the table changes.

#include "engine/collision/CollisionFile.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/JsonForms.h"
#include "engine/core/SceneFormat.h"

#include <nlohmann/json.hpp>
#include <string>

namespace Engine {
namespace {

std::vector<CollisionTable::Tag> ReadTags(const nlohmann::json& section)
{
    std::vector<CollisionTable::Tag> tags;
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(section, "tags", CollisionTable::kSection);
    for (std::size_t i = 0; i < array.size(); ++i) {
        tags.push_back(SceneFormat::Within(CollisionTable::kSection, SceneFormat::Element("tags", i), [&] {
            const nlohmann::json& tag = CollisionFile::AsObject(array[i]);
            return CollisionTable::Tag{tag.at("tag_name").get<std::string>(), Json::ReadUnsigned(tag.at("tag_value"))};
        }));
    }
    return tags;
}

CollisionTable::Relations ReadPairs(const nlohmann::json& section)
{
    CollisionTable::Relations relations;
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(section, "pairs", CollisionTable::kSection);
    for (std::size_t i = 0; i < array.size(); ++i) {
        SceneFormat::Within(CollisionTable::kSection, SceneFormat::Element("pairs", i), [&] {
            const nlohmann::json& pair = CollisionFile::AsObject(array[i]);
            const std::uint32_t first = Json::ReadUnsigned(pair.at("first"));
            const std::uint32_t second = Json::ReadUnsigned(pair.at("second"));
            relations[{first, second}] = Json::ReadInt(pair.at("value"));
        });
    }
    return relations;
}

} // namespace

void CollisionTable::Save(nlohmann::json& section) const
{
    nlohmann::json tags = nlohmann::json::array();
    for (const Tag& tag : mTags)
        tags.push_back(nlohmann::json{{"tag_name", tag.name}, {"tag_value", tag.value}});
    nlohmann::json pairs = nlohmann::json::array();
    for (const auto& [key, relation] : mRelations)
        pairs.push_back(nlohmann::json{{"first", key.first}, {"second", key.second}, {"value", relation}});
    section["tags"] = std::move(tags);
    section["pairs"] = std::move(pairs);
}

void CollisionTable::Load(const nlohmann::json& section)
{
    if (!section.is_object())
        SceneFormat::Fail(CollisionTable::kSection, std::string("expected an object, found ") + section.type_name());
    std::vector<Tag> tags = ReadTags(section);
    Relations relations = ReadPairs(section);
    mTags = std::move(tags);
    mRelations = std::move(relations);
}

} // namespace Engine
