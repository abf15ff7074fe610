#include "engine/core/PropertyMap.h"

#include "engine/core/JsonForms.h"

#include <cstddef>

namespace Engine {

ISerializable* Property_Map::Find(const std::string& name) const
{
    const auto found = mEntries.find(name);
    return found == mEntries.end() ? nullptr : found->second;
}

void Property_Map::FromJson(const nlohmann::json& in)
{
    if (mEntries.empty())
        return;
    if (!in.is_object())
        Json::ThrowNotAnObject(in);
    for (const auto& [name, property] : mEntries) {
        const auto member = in.find(name);
        if (member != in.end() && !member->is_null())
            property->FromJson(*member);
    }
}

nlohmann::json& Property_Map::ToJson(nlohmann::json& out) const
{
    if (mEntries.empty())
        return out;
    if (!out.is_null() && !out.is_object())
        Json::ThrowNotAnObject(out);
    for (const auto& [name, property] : mEntries)
        property->ToJson(out[name]);
    return out;
}

Property_Holder::Property_Holder(const Property_Holder& other)
{
    // Each property sits at the same distance from the holder in the copy as
    // in the source, so the source's entries map onto the copy's members.
    const auto* source = reinterpret_cast<const std::byte*>(&other);
    auto* target = reinterpret_cast<std::byte*>(this);
    for (const auto& [name, property] : other.mPropertyMap.GetEntries()) {
        const std::ptrdiff_t offset = reinterpret_cast<const std::byte*>(property) - source;
        mPropertyMap.Register(name, reinterpret_cast<ISerializable*>(target + offset));
    }
}

} // namespace Engine
