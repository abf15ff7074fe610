#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/FrameRateController.h"

#include <cstddef>

namespace Engine {
class GameCamera;
class CollisionComp;
} // namespace Engine

// Small lookups the player's components share.
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

} // namespace PlayerFrame
