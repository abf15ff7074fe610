#pragma once
#include "engine/core/Serializable.h"

#include <string>
#include <unordered_map>

namespace Engine {

template <class T>
class Property;

// Property name -> property, written as one JSON object with a member per
// property. The map owns nothing: its properties are members of the same
// object that holds the map. It cannot be copied, since the copy's pointers
// would lead into the source; Property_Holder rebuilds a map for a copy.
class Property_Map : public ISerializable {
public:
    using Entries = std::unordered_map<std::string, ISerializable*>;

    Property_Map() = default;
    Property_Map(const Property_Map&) = delete;
    Property_Map& operator=(const Property_Map&) = delete;
    ~Property_Map() = default;

    // A later property of the same name takes the entry over.
    void Register(const std::string& name, ISerializable* property) { mEntries[name] = property; }
    // The property of that name, or null.
    ISerializable* Find(const std::string& name) const;
    // The property of that name when it holds a T, else null.
    template <class T>
    Property<T>* Get(const std::string& name) const
    {
        return dynamic_cast<Property<T>*>(Find(name));
    }
    const Entries& GetEntries() const { return mEntries; }
    std::size_t Size() const { return mEntries.size(); }

    // Reads every registered property whose name is present and not null;
    // other members are ignored.
    void FromJson(const nlohmann::json& in) override;
    nlohmann::json& ToJson(nlohmann::json& out) const override;
    // A map never equals anything, itself included.
    bool Equals(const ISerializable*) const override { return false; }

private:
    Entries mEntries;
};

// The base that gives a class its property map; the class's Property members
// register themselves in it. Those members must be part of the same object:
// a copy finds its own members at the same offsets as the source's.
//
// Only a whole object may be copied, so copying is for derived classes: a
// bare holder, or a base class copied out of a class with more properties,
// would register members it does not have. A base whose derived classes add
// properties keeps its own copy protected too.
class Property_Holder {
public:
    Property_Holder() = default;
    ~Property_Holder() = default;

    Property_Map& GetPropertyMap() { return mPropertyMap; }
    const Property_Map& GetPropertyMap() const { return mPropertyMap; }

protected:
    // The copy registers its own members in a map of its own.
    Property_Holder(const Property_Holder& other);
    // Keeps the map: the members it points at are this object's already.
    Property_Holder& operator=(const Property_Holder&) { return *this; }

    Property_Map mPropertyMap;
};

} // namespace Engine
