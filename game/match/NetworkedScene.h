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
namespace GameScene {

// Where the host puts its copy of the client's player.
inline const glm::vec3 kClientCopyStart{3.0f, 0.0f, 50.0f};

// What the client's wait for the level record came to.
enum class LevelWait { Received, AlreadyExchanged, LinkLost };

// The host's level record, waited for while the link lives: while connected
// and while the host was heard within the link's time-out. The window's
// events are pumped meanwhile, so it stays responsive, and this side's
// unacknowledged records are resent. A record taken before (the set-up was
// exchanged already) ends the wait at once.
LevelWait WaitForLevelRecord(Net::LevelRecord& record);

// The two set-ups as the gameplay mode calls them on a connected host or
// client: the scene state around the side's builder, the recorder emptied,
// every logic component initialised and the static colliders updated.
// False when the client could not build (the link broke during the wait,
// or the host's record was refused); the link is then closed and marked
// timed out, so the title tells the player.
bool BuildServerSide(GameState& state);
bool BuildClientSide(GameState& state);

// The builders inside them. Nothing happens unless connected.
void BuildServerEntities(GameState& state);
bool BuildClientEntities(GameState& state);

// A networked copy of a player on an existing entity: body, sounds, look,
// name and a remote player component.
void CreatePlayerEntity(Engine::EntityHandle entity, const glm::vec3& position, const glm::vec3& scale,
                        const char* name);

} // namespace GameScene
