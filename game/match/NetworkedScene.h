#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/net/ChannelRecords.h"

#include <glm/glm.hpp>

class GameState;

// A match between two machines: both play on the host's arena. The host
// builds its scene and sends it as one level record on channel 0; the
// client waits for that record and builds the same arena from it. Each side
// then adds a copy of the peer's player ("2 Player_Mouse") and ball
// ("2 ball"), which the network messages move.
namespace NetworkedScene {

// Where the host puts its copy of the client's player.
inline const glm::vec3 kClientCopyStart{3.0f, 0.0f, 50.0f};

// The host's side, as the gameplay mode sets it up on a connected host:
// the scene state around BuildServerEntities, the recorder emptied, every
// logic component initialised and the static colliders updated.
void BuildServerSide(GameState& state);
// The builders the two set-ups run. The host's does nothing unless
// connected; the client's builds on the host's record, and gives false when
// the record was refused (nothing is built then).
void BuildServerEntities(GameState& state);
bool BuildClientEntities(const Net::LevelRecord& record);

// The client's side is set up over frames, so that the window lives on
// while the host's arena is on its way. BeginClientSide clears the scene
// before; StepClientSide, once per frame after it, builds the client's side
// once the host's level record has come (the scene then starts as the
// host's does). Until then the link stays in the menus' mode and the
// frames' network step keeps it alive, resends and times it out.
enum class ClientSetup { Waiting, Built, Failed };
void BeginClientSide(GameState& state);
// Failed when the link closed before the record came or the record was
// refused: the link is then closed and marked timed out, so that the title
// tells the player. A record taken before (the set-up was exchanged
// already) ends the wait with nothing built.
ClientSetup StepClientSide(GameState& state);

// A networked copy of a player on an existing entity: body, sounds, look,
// name and a remote player component, whose medal holder shows its win
// here.
void CreatePlayerEntity(Engine::EntityHandle entity, const glm::vec3& position, const glm::vec3& scale,
                        const char* name);

} // namespace NetworkedScene
