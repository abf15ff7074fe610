#pragma once
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicComp.h"

#include <cstdint>
#include <string>

// A trigger on an entity: when an entity carrying `mTriggerTag` touches it,
// the trigger raises its game-mode flag (Self::Flag()). The tag starts
// empty and nothing is saved: whoever builds the trigger in code names the
// tag. A trigger hears contacts from its Initialize to its Shutdown.
template <class Self>
class TagTrigger : public Engine::LogicComp {
public:
    void Initialize() override
    {
        Engine::Subscribe<Engine::CollisionEvent, Self>(static_cast<Self*>(this), &TagTrigger::OnCollisionEvent);
    }
    void Shutdown() override
    {
        Engine::InstanceTypeEventDispatcher<Self>::GetInstance().RemoveInstance(static_cast<Self*>(this));
    }

    // A flag already raised stays raised; nothing here clears it.
    void OnCollisionEvent(Engine::CollisionEvent* event);

    std::string mTriggerTag;
};

// Ends play when the tagged entity arrives (GameMode::EndRequested).
class LevelLoader : public TagTrigger<LevelLoader> {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    static std::uint8_t& Flag();
};

// Raises GameMode::LevelLoader2Triggered, which no mode reads.
class LevelLoader2 : public TagTrigger<LevelLoader2> {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    static std::uint8_t& Flag();
};
