#include "game/components/tile/TileHooks.h"

#include "engine/audio/Emitter.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"

namespace TileHooks {
namespace {

FlagLookup gArenaFlipped = nullptr;

Engine::Emitter* FirstLocalPlayersEmitter()
{
    const Engine::EntityHandle player = Net::Names::First(Net::Names::kLocalPlayer);
    return player.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Engine::Emitter>(player);
}

EmitterLookup gLocalPlayerEmitter = &FirstLocalPlayersEmitter;

} // namespace

void SetArenaFlippedLookup(FlagLookup lookup) { gArenaFlipped = lookup; }

bool ArenaFlipped() { return gArenaFlipped && gArenaFlipped(); }

void SetLocalPlayerEmitterLookup(EmitterLookup lookup)
{
    gLocalPlayerEmitter = lookup ? lookup : &FirstLocalPlayersEmitter;
}

Engine::Emitter* LocalPlayerEmitter() { return gLocalPlayerEmitter(); }

} // namespace TileHooks
