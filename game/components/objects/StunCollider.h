#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/logic/LogicComp.h"

#include <cstdint>
#include <glm/glm.hpp>

namespace Engine {
struct CollisionEvent;
}
class Player_LogicComp;

// The stun area the droppable perk leaves: a sphere that grows by one
// step per update to its full size, stuns the first player other than its
// owner who touches it, pauses, then shrinks away by the same steps. Left
// alone it starts shrinking after 4 s of growth. When it goes, its owner's
// stun sound stops, unless another area of theirs remains. While the match
// is recorded it writes itself into the live frame; in a replay each area
// takes the next recorded one, and nobody is stunned.
class StunCollider : public Engine::LogicComp {
public:
    static constexpr const char* kName = "StunTile";
    static constexpr const char* kSound = "StunSfx";
    static constexpr glm::vec3 kSpawnScale{0.1f};

    StunCollider();
    ~StunCollider() override;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    void Shutdown() override;
    void OnCollisionEvent(Engine::CollisionEvent* event);

    // Seconds of growth (game time).
    double mElapsed = 0.0;
    // Seconds into the pause after a stun, and its length.
    double mCooldown = 0.0;
    double mCooldownMax = 1.75;
    // Growth time after which it shrinks.
    double mShrinkAfter = 4.0;
    std::uint8_t mCoolingDown = 0;
    // It has stunned a player, or touched the peer's one (whose own copy
    // of the area stuns them).
    std::uint8_t mSpent = 0;
    glm::vec3 mMaxScale{8.0f};
    // The player who dropped it, looked up each time: never stunned by it.
    Engine::EntityHandle mOwner;

private:
    void Resize();
    void Stun(const Player_LogicComp& player);
    void ExchangeWithRecorder();
    void StopOwnersSound();

    bool mGone = false;
};

// Builds a stun area at `at`, dropped by `owner`; the area's entity, or null
// when no entity is free.
Engine::EntityHandle SpawnStunArea(const glm::vec3& at, Engine::EntityHandle owner);
