#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/FrameRateController.h"

#include <cstddef>
#include <glm/glm.hpp>

namespace Engine {
class GameCamera;
class CollisionComp;
class StateMachine;
} // namespace Engine

// Small lookups the player's components share, and with them the balls',
// the tiles' and the perks'.
namespace PlayerFrame {

// The frame time in seconds: real, and times the time scale.
inline float Dt() { return static_cast<float>(Engine::FrameRateController::GetDt()); }
inline float ScaledDt() { return static_cast<float>(Engine::FrameRateController::GetScaledDt()); }

// The record of player number n in a recorded frame: (n - 1) mod 2.
inline std::size_t RecordIndex(int playerNumber)
{
    return static_cast<std::size_t>(((playerNumber - 1) % 2 + 2) % 2);
}

// The entity's camera or body; null when it has none (nothing is made).
Engine::GameCamera* CameraOf(Engine::EntityHandle entity);
Engine::CollisionComp* BodyOf(Engine::EntityHandle entity);

// The machine at a position of the entity's SMComponent, or its last one;
// null when it has no such machine.
Engine::StateMachine* MachineAt(Engine::EntityHandle entity, std::size_t position);
Engine::StateMachine* LastMachine(Engine::EntityHandle entity);

// Player 1's things are blue, player 2's red: odd numbers blue, even red.
glm::vec3 PlayerColour(int playerNumber);
// The colour the entity is drawn in; `fallback` when it is not drawn.
glm::vec3 RenderColourOf(Engine::EntityHandle entity, const glm::vec3& fallback);

} // namespace PlayerFrame
