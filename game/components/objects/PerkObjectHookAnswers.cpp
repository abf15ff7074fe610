#include "game/components/objects/PerkObjectHookAnswers.h"

#include "game/arena/MatchRecorder.h"
#include "game/components/objects/ForcefieldCollider.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/objects/StunCollider.h"

namespace {

void PlaceForcefield(Engine::EntityHandle owner, const glm::vec3& at) { SpawnForcefield(at, owner); }

void PlaceStunArea(Engine::EntityHandle owner, const glm::vec3& at) { SpawnStunArea(at, owner); }

// A replay's domes belong to nobody: no shield sound goes with them.
void ReplayForcefield(const glm::vec3& at) { SpawnForcefield(at); }

} // namespace

void FillPlayerAndReplayHooksFromPerkObjects()
{
    PlayerHooks& hooks = PlayerHooks::Get();
    hooks.spawnForcefield = &PlaceForcefield;
    hooks.spawnStunArea = &PlaceStunArea;

    MatchRecorder& recorder = MatchRecorder::GetInstance();
    MatchRecorder::ReplayHooks replay = recorder.GetReplayHooks();
    replay.spawnForcefield = &ReplayForcefield;
    replay.spawnStunArea = &PlaceStunArea;
    recorder.SetReplayHooks(replay);
}
