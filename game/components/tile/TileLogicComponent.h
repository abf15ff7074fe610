#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

namespace Engine {
struct CollisionEvent;
struct NetworkingEvent;
class StateMachine;
} // namespace Engine

// One hexagonal floor tile: its rise into place at match start, its height
// steps when a player raises or lowers it, the colour flash of a ball's
// splash, the highlight while a player aims at it, the peer's tile moves and
// its share of the match recording.
//
// Behaviour lives in two machines of the entity's SMComponent, found by
// position: the first moves the tile ("TileStartAnimation", "TileStay",
// "TileUp", "TileDown"), the second colours it ("ToColour", "GoBack").
class TileLogicComponent : public Engine::LogicComp {
public:
    enum TileType : int { Normal = 0, Immovable = 1, Crashing = 2 };
    // An upright tile rises at most this many steps.
    static constexpr std::int32_t kMaxUprightLevel = 5;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    // The recording exchange.
    void Update() override;
    void Shutdown() override;

    void OnCollisionEvent(Engine::CollisionEvent* event);
    void OnNetworkingEvent(Engine::NetworkingEvent* event);

    // The player's aim; does nothing before the machines exist.
    void SetSelected(bool selected);
    // The same through the tile's entity: nothing for a tile that is gone.
    static void SetSelected(Engine::EntityHandle tile, bool selected);
    // Whether a raise must be refused: an upright tile at the top level, a
    // tile at the most steps the arena holds, or a tile no farther ahead
    // than one step. A refusal for the tile ahead clears the request.
    bool IsRaiseBlocked();
    // The most steps a tile takes from where it rests, either way: as many
    // as span the arena, twice its reach. No bend here goes past them and
    // the peer's records past them are refused, so that both machines hold
    // the same levels and no step of a level overflows.
    std::int32_t LevelLimit() const;
    bool HoldsLevel(std::int64_t level) const
    {
        const std::int64_t limit = LevelLimit();
        return level >= -limit && level <= limit;
    }
    // Immovable and crashing tiles never change height on a player's wish.
    bool IsMovable() const { return tile_type.value != Immovable && tile_type.value != Crashing; }

    Engine::StateMachine* HeightMachine() const;
    Engine::StateMachine* ColourMachine() const;

    // Seconds per height step: 1 / tile_speed.
    Engine::Property<float> tile_speed{"tile_speed", 2.0f, mPropertyMap};
    // Length of one height step, 2 x the tile's z scale (set by Initialize).
    Engine::Property<float> tile_size{"tile_size", 0.0f, mPropertyMap};
    std::uint8_t mRaiseRequest = 0;
    std::uint8_t mLowerRequest = 0;
    std::int32_t mLevel = 0;
    // The local position at Initialize; the arena flip turns it with the arena.
    glm::vec3 mRestPosition{0.0f};
    std::uint8_t mRaiseBlocked = 0;
    // The peer's newest bend of its copy of this tile, taken at this tile's
    // next rest: the step (1 up, -1 down, 0 none), the world place the
    // peer's tile rested at before it, and whether this tile goes to that
    // height first (always on the client; on the host when its level
    // differed, or it was moving). Taken at once, a tile still rising into
    // place or in a step would run on over that place, or drop a second
    // step the same way.
    std::int32_t mPeerStep = 0;
    glm::vec3 mPeerStepFrom{0.0f};
    bool mPeerStepPlaces = false;
    // Starts the waiting peer step, if any; true when it did.
    bool TakePeerStep();
    // This side told the peer of a bend of this tile, made from where the
    // tile rests now.
    void NoteBendSent();
    Engine::Property<int> tile_type{"tile_type", Normal, mPropertyMap};
    // The tile's index in the grid; names the entity and its recorded record.
    std::uint64_t mTileNumber = 0;

    // Picks the next of the ten grinding sounds; shared by every tile.
    static int sRaiseSound;

private:
    // Two players bending one tile a link's delay apart each bend from the
    // height the other has not seen yet; taken alike on both sides, each
    // would end at the other's bend. The host's bend wins: the client always
    // goes to the height the host's bend started from, and the host drops a
    // client's bend that started from a height the host has bent the tile
    // away from since (those heights, as distances from the arena's middle,
    // until a client's bend shows it saw where the tile went; at most
    // kUnseenBends, the oldest forgotten first).
    static constexpr std::size_t kUnseenBends = 8;
    std::vector<float> mUnseenBendHeights;
    bool BendsFromAnUnseenHeight(const glm::vec3& peerFrom);
    // What is wrong with a peer's bend to this level from this place, when
    // the arena cannot hold it; null when it can.
    const char* BeyondTheArena(std::int32_t level, const glm::vec3& place) const;
    float SettledHeight() const;

    void AddMachines();
    // Gives the height states this component, or takes it back.
    void AttachToStates(TileLogicComponent* component);
    void ApplyPeerBend(const Engine::NetworkingEvent& event);
    void StartCrashing();
};
