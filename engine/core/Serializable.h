#pragma once
#include <nlohmann/json.hpp>

namespace Engine {

// Anything that reads and writes itself as one JSON value: properties and
// property maps. Nothing is destroyed through this interface.
class ISerializable {
public:
    virtual void FromJson(const nlohmann::json& in) = 0;
    // Writes into an existing value (usually a fresh null member) and returns it.
    virtual nlohmann::json& ToJson(nlohmann::json& out) const = 0;
    virtual bool Equals(const ISerializable* other) const = 0;

protected:
    ISerializable() = default;
    ISerializable(const ISerializable&) = default;
    ISerializable& operator=(const ISerializable&) = default;
    ~ISerializable() = default;
};

// Lets managers write a component's property map as a member of their own JSON.
inline void to_json(nlohmann::json& j, const ISerializable& serializable) { serializable.ToJson(j); }
inline void from_json(const nlohmann::json& j, ISerializable& serializable) { serializable.FromJson(j); }

} // namespace Engine
