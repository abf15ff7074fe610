#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <vector>

namespace Engine {
struct CollisionEvent;
}

// A level's turret: every "mTimerMax" seconds of game time it fires a ball
// at the local player, from its own surface, at "turret_speed" times the
// way from the turret to the player (so farther players get faster balls).
// Each ball goes after "mTimerBallMax" seconds. A ball that touches the
// turret destroys it; balls still in flight then stay in the scene.
// Levels bring it in by name; the match never builds one.
class TurretCollider : public Engine::LogicComp {
public:
    static constexpr const char* kBallName = "Turret Ball";

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    void Shutdown() override;
    void OnCollisionEvent(Engine::CollisionEvent* event);

    // Seconds since the last shot.
    double mTimer = 0.0;
    Engine::Property<double> mTimerMax{"mTimerMax", 5.0, mPropertyMap};
    Engine::Property<double> turret_speed{"turret_speed", 9.0, mPropertyMap};
    // The balls in flight, oldest first, and the seconds each has flown.
    std::vector<Engine::EntityHandle> mBalls;
    std::vector<double> mBallTimers;
    Engine::Property<double> mTimerBallMax{"mTimerBallMax", 4.0, mPropertyMap};

private:
    void Fire();
    void Aim(Engine::EntityHandle ball, Engine::EntityHandle target) const;
    void ExpireBalls();
};
