#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <cstdint>

// A floor tile thrown out of the arena's wall by the crashing-tiles event:
// it shoots along its up vector at "speed" until another tile is less than
// 1.0 ahead, and stops on it. Started from outside: add the component, call
// Initialize on the entity's first CrashingTile, set mActive.
class CrashingTile : public Engine::LogicComp {
public:
    // How close the tile ahead must come before the crashing tile stops on it.
    static constexpr float kStopDistance = 1.0f;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    // Marks the tile as crashing (it never bends again) and gives it the
    // crash colours; the tile stands still until mActive is set.
    void Initialize() override;
    void Update() override;

    std::uint8_t mActive = 0;
    Engine::Property<float> speed{"speed", 25.0f, mPropertyMap};
    // Kept with the component's saved values; the movement does not use it.
    Engine::Property<float> minimal_t_to_obj{"minimal_t_to_obj", 0.2f, mPropertyMap};

private:
    void Paint() const;
};
