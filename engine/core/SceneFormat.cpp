#include "engine/core/SceneFormat.h"

#include "engine/core/EntityHandle.h"
#include "engine/core/JsonForms.h"

#include <algorithm>

namespace Engine::SceneFormat {
namespace {

// The library puts "[json.exception.kind.id] " in front of every text.
std::string WithoutPrefix(const char* text)
{
    const std::string message(text);
    const std::size_t end = message.find("] ");
    return end == std::string::npos ? message : message.substr(end + 2);
}

std::string Place(const char* section, const std::string& place)
{
    return std::string(" (") + section + (place.empty() ? "" : " ") + place + ")";
}

[[noreturn]] void ThrowNotAnArray(const nlohmann::json& value, const char* section, const char* key)
{
    throw nlohmann::json::type_error::create(
        302, std::string("type must be array, but is ") + value.type_name() + Place(section, std::string("\"") + key + "\""),
        nullptr);
}

const nlohmann::json& Member(const nlohmann::json& object, const char* key, const char* section)
{
    if (!object.is_object())
        Fail(section, std::string("expected an object holding \"") + key + "\", found " + object.type_name());
    const auto found = object.find(key);
    if (found == object.end())
        throw nlohmann::json::out_of_range::create(
            403, std::string("key '") + key + "' not found" + Place(section, ""), nullptr);
    return *found;
}

} // namespace

void Fail(const char* section, const std::string& what) { throw Error(std::string(section) + ": " + what); }

std::string Element(const char* key, std::size_t index)
{
    return std::string("\"") + key + "\"[" + std::to_string(index) + "]";
}

void Rethrow(const nlohmann::json::exception& error, const char* section, const std::string& place)
{
    const std::string text = WithoutPrefix(error.what()) + Place(section, place);
    if (dynamic_cast<const nlohmann::json::type_error*>(&error))
        throw nlohmann::json::type_error::create(error.id, text, nullptr);
    if (dynamic_cast<const nlohmann::json::out_of_range*>(&error))
        throw nlohmann::json::out_of_range::create(error.id, text, nullptr);
    throw Error(text);
}

const nlohmann::json& ArrayMember(const nlohmann::json& object, const char* key, const char* section)
{
    const nlohmann::json& value = Member(object, key, section);
    if (!value.is_array())
        ThrowNotAnArray(value, section, key);
    return value;
}

const nlohmann::json& ArrayOrNullMember(const nlohmann::json& object, const char* key, const char* section)
{
    const nlohmann::json& value = Member(object, key, section);
    if (!value.is_array() && !value.is_null())
        ThrowNotAnArray(value, section, key);
    return value;
}

const nlohmann::json& ArrayMemberOfSize(const nlohmann::json& object, const char* key, std::size_t size,
                                        const char* section)
{
    const nlohmann::json& value = ArrayMember(object, key, section);
    if (value.size() != size)
        Fail(section, std::string("\"") + key + "\" has " + std::to_string(value.size()) + " entries, expected "
                          + std::to_string(size));
    return value;
}

std::uint16_t ReadU16(const nlohmann::json& value)
{
    const unsigned number = Json::ReadUnsigned(value);
    if (number > 0xFFFF)
        throw nlohmann::json::out_of_range::create(406, "number " + value.dump() + " does not fit in u16", &value);
    return static_cast<std::uint16_t>(number);
}

std::uint32_t ReadEntityIndex(const nlohmann::json& value)
{
    const unsigned number = Json::ReadUnsigned(value);
    if (number > EntityHandle::kMaxIndex)
        throw nlohmann::json::out_of_range::create(
            406, "entity index " + value.dump() + " is past " + std::to_string(EntityHandle::kMaxIndex), &value);
    return number;
}

const nlohmann::json* FindSection(const nlohmann::json& document, const char* section, int version,
                                  std::initializer_list<const char*> olderKeys)
{
    if (!document.is_object())
        return nullptr;
    const auto found = document.find(section);
    if (found != document.end()) {
        if (!found->is_object())
            Fail(section, std::string("expected an object, found ") + found->type_name());
        const double stored = Within(section, "\"version\"", [&] { return Json::ReadNumber(found->at("version")); });
        return stored == version ? &*found : nullptr;
    }
    for (const char* key : olderKeys) {
        if (document.contains(key))
            return &document;
    }
    return nullptr;
}

nlohmann::json TableArray(const SlotTable& table)
{
    // Built in one go: element by element, the array grows a dozen times.
    return nlohmann::json(table);
}

void ReadTable(const nlohmann::json& section, const char* key, SlotTable& table, const char* sectionName)
{
    const nlohmann::json& array = ArrayMember(section, key, sectionName);
    const std::size_t read = std::min(array.size(), table.size());
    // The place is named only when a number fails: a table is 4096 long,
    // and a message for each entry read would be most of a scene load.
    std::size_t i = 0;
    try {
        for (; i < read; ++i)
            table[i] = ReadU16(array[i]);
    } catch (const nlohmann::json::exception& error) {
        Rethrow(error, sectionName, Element(key, i));
    }
}

void CheckSlotTables(const SlotTable& slotOf, const SlotTable& ownerOf, std::size_t slots, const char* section,
                     const char* slotKey, const char* noun)
{
    constexpr std::uint16_t kNone = 0xFFFF;
    if (slotOf[0] != kNone)
        Fail(section, std::string("the null entity (index 0) has ") + noun);
    for (std::size_t entity = 1; entity < slotOf.size(); ++entity) {
        const std::uint16_t slot = slotOf[entity];
        if (slot == kNone)
            continue;
        if (slot >= slots)
            Fail(section, Element(slotKey, entity) + " is slot " + std::to_string(slot) + " of " + std::to_string(slots)
                              + " " + noun);
        if (ownerOf[slot] != entity)
            Fail(section, "entity " + std::to_string(entity) + " names slot " + std::to_string(slot)
                              + ", which belongs to entity " + std::to_string(ownerOf[slot]));
    }
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const std::uint16_t owner = ownerOf[slot];
        if (owner == 0 || owner > EntityHandle::kMaxIndex || slotOf[owner] != slot)
            Fail(section, "slot " + std::to_string(slot) + " names owner " + std::to_string(owner)
                              + ", which does not name that slot");
    }
}

} // namespace Engine::SceneFormat
