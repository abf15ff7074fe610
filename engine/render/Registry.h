#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <string>

namespace Engine {

// Resources by name. A lookup never adds an entry, so passes that walk every
// entry meet only what start-up registered.
template <typename T>
class Registry {
public:
    // Registers under a name that is not taken yet and returns the stored
    // object; a taken name keeps its first object and the new one is dropped.
    T* Add(const std::string& name, std::unique_ptr<T> object)
    {
        auto [it, inserted] = mEntries.try_emplace(name, std::move(object));
        return it->second.get();
    }

    T* Find(const std::string& name) const
    {
        auto it = mEntries.find(name);
        return it == mEntries.end() ? nullptr : it->second.get();
    }

    std::size_t Size() const { return mEntries.size(); }
    auto begin() const { return mEntries.begin(); }
    auto end() const { return mEntries.end(); }

private:
    std::map<std::string, std::unique_ptr<T>> mEntries;
};

} // namespace Engine
