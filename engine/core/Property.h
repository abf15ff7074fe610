#pragma once
#include "engine/core/JsonForms.h"
#include "engine/core/PropertyMap.h"

#include <glm/glm.hpp>
#include <string>
#include <type_traits>
#include <vector>

namespace Engine {

// A record is any Property_Holder: as a property value it is written as a
// nested object of its own properties and read through its own map.
template <class T>
concept PropertyRecord = std::is_base_of_v<Property_Holder, T>;

template <class T>
struct IsPropertyList : std::false_type {};
template <class E>
struct IsPropertyList<std::vector<E>> : std::true_type {};

namespace Detail {

template <class T>
bool ValuesEqual(const T& a, const T& b)
{
    return a == b;
}
// glm's own == compares bytes; a property compares its floats, so NaN never
// equals and -0 equals 0.
inline bool ValuesEqual(const glm::vec2& a, const glm::vec2& b) { return a.x == b.x && a.y == b.y; }
inline bool ValuesEqual(const glm::vec3& a, const glm::vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool ValuesEqual(const glm::vec4& a, const glm::vec4& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}

} // namespace Detail

// A named, typed, persisted field. It keeps only its value; its name is the
// key under which it registered itself in its owner's map. Copying a property
// copies the value and registers nothing (Property_Holder sees to the map).
//
// JSON form: the value's own (see JsonForms.h); a list appends what it reads
// to what it holds; a record reads and writes through its own map.
template <class T>
class Property : public ISerializable {
public:
    Property(const char* name, Property_Map& owner) : value() { owner.Register(name, this); }
    Property(const char* name, const T& initial, Property_Map& owner) : value(initial)
    {
        owner.Register(name, this);
    }
    Property(const Property&) = default;
    Property& operator=(const Property&) = default;
    ~Property() = default;

    void FromJson(const nlohmann::json& in) override
    {
        if constexpr (PropertyRecord<T>)
            value.GetPropertyMap().FromJson(in);
        else if constexpr (IsPropertyList<T>::value)
            Json::AppendList(in, value);
        else
            value = Json::ReadAs<T>(in);
    }

    nlohmann::json& ToJson(nlohmann::json& out) const override
    {
        if constexpr (PropertyRecord<T>)
            value.GetPropertyMap().ToJson(out);
        else if constexpr (IsPropertyList<T>::value)
            Json::WriteList(out, value);
        else
            out = value;
        return out;
    }

    bool Equals(const ISerializable* other) const override
    {
        const auto* same = dynamic_cast<const Property<T>*>(other);
        if (!same)
            return false;
        if constexpr (PropertyRecord<T>)
            return true; // records are told apart by type only
        else
            return Detail::ValuesEqual(value, same->value);
    }

    T value;
};

} // namespace Engine
