#pragma once
#include "engine/logic/LogicComp.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

class Player_LogicComp;

namespace Net {
struct PerkEffect;
}

// An active perk sits on a player entity: the player fires it with the
// "active" binding once its cooldown has filled, paying energy. Its cooldown
// shows as a row of arrows on the player's HUD, one arrow per half second.
// The player's ActiveCost passive scales every cost and cooldown by the
// player's mActiveCost and mActiveCooldown.
// The namespace's double s is on purpose: it is part of every perk's saved
// type name, which scenes and archetypes carry; keep it.
namespace ActivePerkss {

// Kinds as the player component keeps them in mActiveKind.
enum Kind : std::int32_t { SlowBallKind, TeleportToBallKind, ShieldKind, DroppableKind, NoActiveKind };

class ActivePerk : public Engine::LogicComp {
public:
    // The arrows' row on the HUD canvas.
    static constexpr float kArrowX = -7.5f;
    static constexpr float kArrowY = -4.0f;
    static constexpr float kArrowZ = 0.0f;
    static constexpr float kArrowWidth = 0.2f;
    static constexpr float kArrowHeight = 0.25f;
    // Arrow pitch in arrow widths.
    static constexpr float kArrowPitch = 1.3507f;

    ActivePerk() = default;
    ActivePerk(float cooldownSeconds, float energyCost) : cost(energyCost), cooldown(cooldownSeconds) {}

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    // player := the perk's own entity; the arrows are built.
    void Initialize() override;
    // The cooldown, the recording and the arrows; then, in live play, the
    // binding fires the perk when it is ready and paid for.
    void Update() override;
    // The arrows go.
    void Shutdown() override;

    // With the player's factors: seconds until ready, energy per use.
    float EffectiveCooldown() const;
    float EffectiveCost() const;
    // Arrows the row holds, and how many of them are lit now.
    int ArrowCount() const;
    int LitArrowCount() const;

    // Energy per use and seconds of cooldown, before the player's factors.
    float cost = 0.0f;
    float cooldown = 3.0f;
    // Seconds since the last use (scaled time).
    float timer = 0.0f;
    std::vector<Engine::EntityHandle> arrows;
    glm::vec3 arrowOrigin{kArrowX, kArrowY, kArrowZ};
    float arrowWidth = kArrowWidth;
    float arrowHeight = kArrowHeight;
    Engine::EntityHandle player;

protected:
    // Whether the effect can happen now; asked before the energy is spent,
    // so that an effect that cannot happen costs nothing.
    virtual bool EffectAvailable() const { return true; }
    // What the perk does once it has been paid for.
    virtual void Effect(Player_LogicComp& owner);
    // The player the perk sits on; null without one.
    Player_LogicComp* Owner() const;

private:
    void AdvanceTimer(const Player_LogicComp& owner);
    void ExchangeWithRecorder(const Player_LogicComp& owner);
    bool TryToFire(Player_LogicComp& owner);
    // The arrow row: rebuilt when its length changes, lit by the timer.
    void ShowArrows(const Player_LogicComp& owner);
    void BuildArrows(int count, int cameraIndex);
    void DestroyArrows();
};

// Jumps to its own ball.
class TeleportToBall : public ActivePerk {
public:
    TeleportToBall() : ActivePerk(4.5f, 3.0f) {}
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }

protected:
    bool EffectAvailable() const override;
    void Effect(Player_LogicComp& owner) override;
};

// The opponent's ball and every goal ball fly slowly for a while.
class SlowBall : public ActivePerk {
public:
    SlowBall() : ActivePerk(4.5f, 3.0f) {}
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }

protected:
    bool EffectAvailable() const override;
    void Effect(Player_LogicComp& owner) override;
};

// A forcefield where the player stands.
class Shield : public ActivePerk {
public:
    Shield() : ActivePerk(8.0f, 3.0f) {}
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }

protected:
    bool EffectAvailable() const override;
    void Effect(Player_LogicComp& owner) override;
};

// A stun area dropped where the player stands; it never stuns its owner.
class Droppable : public ActivePerk {
public:
    Droppable() : ActivePerk(8.0f, 3.0f) {}
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }

protected:
    bool EffectAvailable() const override;
    void Effect(Player_LogicComp& owner) override;
};

// The teleport's look and sound, the same for a player here and for the
// peer's player: "tpsfx" on the entity's emitter, and a trail of particles
// from the feet at `from` to the feet at `to` (feet: scaleY / 2 + footOffset
// below the centre).
struct TeleportTrail {
    glm::vec3 from{0.0f};
    glm::vec3 to{0.0f};
    float scaleY = 0.0f;
    float footOffset = 0.0f;
    glm::vec3 up{0.0f, 1.0f, 0.0f};
};
void PlayTeleportEffect(Engine::EntityHandle entity, const TeleportTrail& trail);
// The peer's player teleported: its copy here plays the effect.
void RemoteTeleport(Engine::EntityHandle peerPlayer, const Net::PerkEffect& record);
// Fills the ball's hooks: the ball hands the peer's teleport to
// RemoteTeleport.
void FillBallHooks();

// Adds the perk that an active selection of the perk settings stands for
// (0 TeleportToBall, 1 Shield, 2 SlowBall, 3 Droppable) and writes its kind
// into the player's mActiveKind; initialised at once while the scene is
// active. False, adding nothing, for any other selection or an entity
// without a player component.
bool AttachBySelection(Engine::EntityHandle player, int selection);

} // namespace ActivePerkss
