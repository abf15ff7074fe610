#pragma once

namespace Engine {
class Emitter;
}

// What the floor tiles need from parts of the match built elsewhere; each
// owner installs its answer, and until then the tiles get a safe one.
namespace TileHooks {

// Whether the arena hangs upside down after a flip; false until the game
// state installs its flag.
using FlagLookup = bool (*)();
void SetArenaFlippedLookup(FlagLookup lookup);
bool ArenaFlipped();

// The emitter that plays the tiles' grinding sounds: the local player's.
// By default the emitter of the first entity named "Player_Mouse"; null,
// and so silence, when there is none (a replay or a peer's move with no
// local player).
using EmitterLookup = Engine::Emitter* (*)();
void SetLocalPlayerEmitterLookup(EmitterLookup lookup);
Engine::Emitter* LocalPlayerEmitter();

} // namespace TileHooks
