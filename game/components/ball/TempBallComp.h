#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <cstdint>
#include <deque>
#include <glm/glm.hpp>
#include <string>

namespace Engine {
struct CollisionEvent;
struct DisconnectEvent;
struct NetworkingEvent;
class StateMachine;
} // namespace Engine

// A player's ball: held, charged, shot, bouncing round the arena box and off
// whatever it meets, recalled or slowed to a stop. It turns every contact
// into its consequence (a bounce, a catch, a tile's colour splash, a goal on
// the goal ball, a hit on the opponent) and drags a trail of five pieces.
//
// The entity's SMComponent holds, by position, the flight machine first
// ("BallIdle", "BallBouncing", "BallReturn", "ReturnBounce",
// "BallDesintegrate") and the speed machine last ("Normal", "Slow").
//
// A ball whose owner is remote mirrors the peer's ball: it reads no input
// and its flight states never launch or steer it.
//
// Its members are defined by subject:
//   ball/TempBallComp.cpp  set-up, the frame's update, the arena box, the trail
//   ball/BallContact.cpp   what a contact means: bounce, catch, splash, goal, hit
//   ball/BallPeer.cpp      the peer's records and the sparks of a hit
// The flight and speed states are in ball/BallStates.cpp.
class TempBallComp : public Engine::LogicComp {
public:
    static constexpr int kTrailPieces = 5;
    // The arena box that no ball or owner leaves.
    static constexpr float kArenaHalfWidth = 41.0f;
    static constexpr float kArenaHalfHeight = 25.0f;
    // Seconds between two colour splashes of one ball.
    static constexpr double kSplashCooldown = 0.05;

    TempBallComp() = default;
    // Leaves the event dispatchers, should Shutdown not have run.
    ~TempBallComp() override;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    void Shutdown() override;

    void HandleContact(Engine::CollisionEvent* event);
    void OnNetworkingEvent(Engine::NetworkingEvent* event);
    void OnDisconnect(Engine::DisconnectEvent* event);

    // The front trail piece starts from the ball; every piece still
    // stretched flies to the ball and shrinks away.
    void StartTrail();
    void EndTrail();

    // Sparks from a contact, in the owner's colour; the peer's splash.
    void HitBurst(const Engine::CollisionEvent& event);
    void RemoteHitBurst(const glm::vec3& position, const glm::vec3& direction);

    // Keeps ball and owner inside the arena box; a ball leaving it bounces
    // back in and the wall counts as a contact.
    void ResolveCollision();

    // The flight and speed machines; null before Initialize built them.
    Engine::StateMachine* FlightMachine() const;
    Engine::StateMachine* SpeedMachine() const;
    // The flight machine's current state name; empty without one.
    std::string FlightStateName() const;

    // Tuning. The current speeds are rewritten every frame by the speed
    // machine from their bases.
    Engine::Property<float> ReturnSpeed{"ReturnSpeed", 40.0f, mPropertyMap};
    Engine::Property<float> ShootSpeed{"ShootSpeed", 60.0f, mPropertyMap};
    Engine::Property<float> ReturnBase{"ReturnBase", 65.0f, mPropertyMap};
    Engine::Property<float> ShootBase{"ShootBase", 55.0f, mPropertyMap};
    Engine::Property<glm::vec3> NormalScale{"NormalScale", glm::vec3(0.5f), mPropertyMap};
    Engine::Property<glm::vec3> ChildScale{"ChildScale", glm::vec3(0.3f, 0.169f, 0.3f), mPropertyMap};

    // The trail pieces; the front one is the next to start.
    std::deque<Engine::EntityHandle> mTrail;
    // The player who owns the ball (set by the spawner).
    Engine::EntityHandle mPlayer;

    // A shield's mark on the ball: flies through it, or is sent back into
    // its owner's hand by it.
    struct ShieldMark {
        bool set = false;
        Engine::EntityHandle shield;
    };
    ShieldMark mPassThrough;
    ShieldMark mBlock;

    // A contact with the normal of the last one is the same contact again.
    glm::vec3 mLastNormal{0.0f};
    // The tile touched last; touching it again in a row is no new contact.
    Engine::EntityHandle mLastTile;
    // Contacts since the ball left the hand.
    std::uint32_t mContacts = 0;
    // Set at the launch, cleared by touching anything but a player.
    std::uint8_t mDirect = 1;
    // The shot left while its owner was in the air.
    std::uint8_t mJumpShot = 0;
    // Seconds until the next colour splash may show.
    double mSplashCooldown = 0.0;

private:
    void BuildTrailPieces();
    void BuildMachines();
    void ParkTrail();
    void ExchangeWithRecorder();

    void TouchNonPlayer(const Engine::CollisionEvent& event, Engine::EntityHandle other);
    void SplashTile(const Engine::CollisionEvent& event, Engine::EntityHandle tile);
    void ScoreGoal(Engine::EntityHandle goalBall);
    void HitOpponent(Engine::EntityHandle victim);
    void SpawnSplash(const glm::vec3& at) const;
    void PlayHitSound() const;
};
