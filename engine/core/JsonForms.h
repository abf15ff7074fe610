#pragma once
#include <glm/glm.hpp>
#include <nlohmann/json.hpp>
#include <string>
#include <type_traits>
#include <vector>

// JSON forms of the values that components persist.
//
//   vec2 / vec3 / vec4   {"x": f, "y": f[, "z": f][, "w": f]}, floats widened to double
//   list of T            {"vector_values": [{"value": v}, ...]}, an empty list is
//                        {"vector_values": null}
//   int / unsigned       a JSON integer; reading takes any number or boolean, cuts
//                        a fraction, and refuses (out_of_range 406) a value the
//                        type cannot hold instead of wrapping it
//   float                a JSON double; reading refuses a finite value past the
//                        float range
//
// Reading expects every key the writer puts out; a missing one raises the
// JSON library's out_of_range 403 and leaves the target as it was.

namespace Engine::Json {

// Any JSON number or boolean as a double; another type raises type_error 302.
double ReadNumber(const nlohmann::json& j);
int ReadInt(const nlohmann::json& j);
unsigned int ReadUnsigned(const nlohmann::json& j);
float ReadFloat(const nlohmann::json& j);

// The value of a JSON element as T, through the checked readers where the
// library's own conversion would wrap or overflow.
template <class T>
T ReadAs(const nlohmann::json& j)
{
    if constexpr (std::is_same_v<T, int>)
        return ReadInt(j);
    else if constexpr (std::is_same_v<T, unsigned int>)
        return ReadUnsigned(j);
    else if constexpr (std::is_same_v<T, float>)
        return ReadFloat(j);
    else
        return j.get<T>();
}

// Raises the library's type_error 305 that a string lookup in a non-object gives.
[[noreturn]] void ThrowNotAnObject(const nlohmann::json& j);

template <class T>
void WriteList(nlohmann::json& out, const std::vector<T>& list)
{
    nlohmann::json& values = out["vector_values"];
    for (const T& element : list) {
        nlohmann::json entry;
        entry["value"] = element;
        values.push_back(std::move(entry));
    }
}

// Raises the library's type_error 302 for a list that is neither an array
// nor null: an object would iterate as the list of its values.
[[noreturn]] void ThrowNotAList(const nlohmann::json& j);

// Appends to the list: what it held before stays in front. A list with a
// bad entry appends none of it.
template <class T>
void AppendList(const nlohmann::json& in, std::vector<T>& list)
{
    const nlohmann::json& values = in.at("vector_values");
    if (!values.is_array() && !values.is_null())
        ThrowNotAList(values);
    std::vector<T> read;
    for (const nlohmann::json& entry : values) { // null iterates as nothing
        if (!entry.is_object())
            ThrowNotAnObject(entry);
        read.push_back(ReadAs<T>(entry.at("value")));
    }
    list.insert(list.end(), read.begin(), read.end());
}

} // namespace Engine::Json

namespace glm {

void to_json(nlohmann::json& j, const vec2& v);
void to_json(nlohmann::json& j, const vec3& v);
void to_json(nlohmann::json& j, const vec4& v);
void from_json(const nlohmann::json& j, vec2& v);
void from_json(const nlohmann::json& j, vec3& v);
void from_json(const nlohmann::json& j, vec4& v);

} // namespace glm
