#pragma once
#include <cstdint>
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

} // namespace Engine::SceneFormat
