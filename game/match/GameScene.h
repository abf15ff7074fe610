#pragma once
#include "engine/core/EntityHandle.h"

#include <glm/glm.hpp>

class GameState;

// Builds the entities of an arena match.
namespace GameScene {

// What the scene builder spawns: how many local players (1 or 2), and per
// local player whether it is to be given a game controller. The menus set
// them; a run starts with the choice below.
inline constexpr int kFirstPlayerCount = 1;
inline constexpr bool kFirstUsesGamepad = true;
inline int PlayerCount = kFirstPlayerCount;
inline bool PlayerUsesGamepad[2] = {kFirstUsesGamepad, kFirstUsesGamepad};
// Puts the choice back to a new run's.
void ResetPlayerChoice();

// The whole local scene: arena, border, kill-camera HUD, the blank HUD,
// then per local player the player, its perks and its ball. Every local
// player ends up named "Player_Mouse". The caller sets the scene Idle
// before and initialises the logic components after. Returns the blank
// HUD entity (a networked set-up hands it to the players).
Engine::EntityHandle Build();

// One player with its camera, sounds, HUDs, radial menu and components,
// named "Player_Gamepad" with a controller and "Player_Mouse" without.
Engine::EntityHandle SpawnPlayer(bool usesController);

// The perks chosen for player `index` (0 or 1) in the perk settings: the
// active one goes to the player the last SpawnPlayer made, the passive one
// to `player`. A selection outside the tables adds nothing.
void AttachPerks(Engine::EntityHandle player, int index);

// A ball for the owner: body, look, light, sound and hit-burst emitter.
Engine::EntityHandle SpawnBall(Engine::EntityHandle owner);

// The "recording" overlay the replay shows, and the blank HUD the players
// of a match share.
void MakeKillCamHud();
Engine::EntityHandle MakeBlankHud();

// Local player `index` (0 or 1) with its perks and ball, named
// "Player_Mouse", placed on its start when asked.
struct SpawnedPlayer {
    Engine::EntityHandle player;
    Engine::EntityHandle ball;
};
SpawnedPlayer SpawnLocalPlayer(int index, bool placeOnStart);
// Where player `number` starts: across the arena's centre from the other.
glm::vec3 StartPlace(int number);
// Each player's opponent ball is the other's ball.
void FaceBalls(const SpawnedPlayer& one, const SpawnedPlayer& two);

// The tile never moves from now on; it learns it at once, so that the grid's
// list of immovable tiles is whole. Nothing for a null tile.
void MakeImmovable(Engine::EntityHandle tile);

// Hosts a networked match: nothing while connected, else opens the server
// (once) and listens.
void StartServer();
// Joins the host at the game state's join address: nothing while connected;
// otherwise opens the client (once) and sends the first handshake.
void StartClient(GameState& state);

} // namespace GameScene
