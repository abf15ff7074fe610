#pragma once
#include "engine/core/EntityHandle.h"

#include <cstdint>
#include <string>

// The fixed entity names by which channel records, and the match, find
// their targets.
namespace Net::Names {

inline constexpr const char* kLocalPlayer = "Player_Mouse";
// A player on a game controller as its spawner names it; a scene renames
// every local player kLocalPlayer once it is built.
inline constexpr const char* kGamepadPlayer = "Player_Gamepad";
inline constexpr const char* kRemotePlayer = "2 Player_Mouse";
inline constexpr const char* kLocalBall = "ball";
inline constexpr const char* kRemoteBall = "2 ball";
inline constexpr const char* kGoalBall = "GoalBall";

// "Tile_" and the number in decimal without leading zeros.
std::string Tile(std::uint32_t number);
// The first entity of that name (name-slot order), or the null handle.
Engine::EntityHandle First(const std::string& name);

} // namespace Net::Names
