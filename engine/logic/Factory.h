#pragma once
#include "engine/logic/FactoryBase.h"

#include <map>
#include <memory>
#include <string>

namespace Engine {

// Makes one kind of object for the factory.
class ICreator {
public:
    virtual ~ICreator() = default;
    // A new object owned by the caller.
    virtual IFactoryBase* Create() = 0;
};

template <class T>
class TCreator : public ICreator {
public:
    IFactoryBase* Create() override { return new T(); }
};

// Creates logic components from the type names that scene files and
// archetypes store. Which names it knows is decided by one registration
// callback that the game hands over before the engine starts; the engine
// runs it once during its initialisation.
class Factory {
public:
    using RegistrationCallback = void (*)();

    static Factory& GetInstance();

    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;
    virtual ~Factory() = default;

    void SetRegistrationCallback(RegistrationCallback callback) { mState.callback = callback; }

    // Calls the callback; false, and nothing registered, when none was set.
    virtual bool RunRegistration();

    // Stores the creator under the name. The first registration of a name
    // wins: a later creator for it is destroyed unused. False then, or for a
    // null name or creator.
    bool Register(const char* name, std::unique_ptr<ICreator> creator);
    // A new object of the registered name, or null for an unknown or null
    // name. Nothing is printed.
    IFactoryBase* Create(const char* name) const;
    // No callback and no name known, as a new run starts.
    void Reset();

private:
    Factory() = default;

    struct State {
        RegistrationCallback callback = nullptr;
        std::map<std::string, std::unique_ptr<ICreator>> creators;
    };
    State mState;
};

} // namespace Engine
