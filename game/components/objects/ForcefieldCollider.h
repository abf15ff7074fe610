#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <glm/glm.hpp>

// The dome the shield perk raises: a large see-through shell that balls
// bounce off and everything else passes through. It stands "mTimerMax"
// seconds of game time; when it goes, the shield sound of the player who
// placed it stops, unless another dome of theirs still stands. While the
// match is recorded it writes itself into the live frame; in a replay each
// dome takes the next recorded one.
class ForcefieldCollider : public Engine::LogicComp {
public:
    static constexpr const char* kName = "FFTile";
    static constexpr const char* kSound = "ShieldSfx";

    ForcefieldCollider();
    ~ForcefieldCollider() override;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;

    // Seconds alive, of game time.
    double mTimer = 0.0;
    Engine::Property<double> mTimerMax{"mTimerMax", 5.0, mPropertyMap};
    // Who placed it: null for the peer's domes and a replay's.
    Engine::EntityHandle mOwner;

private:
    void Expire();
    void ExchangeWithRecorder();
    bool OwnerHasAnotherDome() const;

    bool mExpired = false;
};

// Builds a dome centred at `at`, placed by `owner` (none for the peer's
// domes and a replay's); the dome's entity, or null when no entity is free.
Engine::EntityHandle SpawnForcefield(const glm::vec3& at, Engine::EntityHandle owner = Engine::EntityHandle());
