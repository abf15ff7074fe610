#pragma once
#include "engine/core/EntityHandle.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

// Checked reading of the component managers' scene sections. A section is
// hostile until proven otherwise: every failure names the section and the
// place in it, and the managers check a whole section before they store any
// of it.
namespace Engine::SceneFormat {

// A section that is valid JSON but does not describe a consistent state
// (lengths that disagree, indices out of range, broken links).
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const char* section, const std::string& what);

// "\"key\"[index]": where one element of an array member sits, for messages.
std::string Element(const char* key, std::size_t index);

// Raises a JSON library error again with "(section place)" after its text,
// keeping its class and id; errors of other classes become Error.
[[noreturn]] void Rethrow(const nlohmann::json::exception& error, const char* section, const std::string& place);

// Runs read(); a JSON library error it raises comes back with the place named.
template <class Read>
decltype(auto) Within(const char* section, const std::string& place, Read&& read)
{
    try {
        return read();
    } catch (const nlohmann::json::exception& error) {
        Rethrow(error, section, place);
    }
}

// The member key of object: out_of_range 403 when missing, type_error 302
// ("type must be array, but is ...") when not an array.
const nlohmann::json& ArrayMember(const nlohmann::json& object, const char* key, const char* section);
// The same for a member that may also be null (an empty list is written so).
const nlohmann::json& ArrayOrNullMember(const nlohmann::json& object, const char* key, const char* section);
// An array member of exactly size elements; another length is an Error.
const nlohmann::json& ArrayMemberOfSize(const nlohmann::json& object, const char* key, std::size_t size,
                                        const char* section);

// A number 0..65535 (booleans read as 0 and 1, fractions are cut).
std::uint16_t ReadU16(const nlohmann::json& value);
// An entity index 0..4095, 0 being the null handle.
std::uint32_t ReadEntityIndex(const nlohmann::json& value);

// The section a manager reads: the member section of the scene when it is
// there (null when its "version" is not the manager's), else the scene
// itself when it holds one of olderKeys (scenes written before sections had
// versions), else null. A member that is not an object is an Error.
const nlohmann::json* FindSection(const nlohmann::json& document, const char* section, int version,
                                  std::initializer_list<const char*> olderKeys = {});

// Managers that keep per-entity data in dense slots (names, tags) save two
// tables of 4096 numbers: the slot of each entity index and the owner of each
// slot, 65535 meaning none.
using SlotTable = std::array<std::uint16_t, EntityHandle::kMaxIndex + 1>;
nlohmann::json TableArray(const SlotTable& table);
// The member key, an array of numbers 0..65535 read into the table's first
// entries: a shorter array leaves the entries past its end as they are, a
// longer one is read to the table's size.
void ReadTable(const nlohmann::json& section, const char* key, SlotTable& table, const char* sectionName);
// The two tables agree for slots entries (at most 4095): entity 0 has no
// slot; every entity's slot is below slots and owned by that entity; every
// slot below slots has an owner naming it, so no slot has two owners. slotKey
// names the first table and noun the slots' contents in messages.
void CheckSlotTables(const SlotTable& slotOf, const SlotTable& ownerOf, std::size_t slots, const char* section,
                     const char* slotKey, const char* noun);

} // namespace Engine::SceneFormat
