#pragma once
#include "engine/core/EntityHandle.h"

#include <initializer_list>
#include <optional>
#include <vector>

namespace Engine {
class CollisionComp;
class RenderCompBase;
} // namespace Engine
struct MatchFrame;

// What the objects that perks put into the arena (forcefields, stun areas)
// share: how their bodies and looks are made, and how a replay places them.
namespace ArenaObject {

// A relation (0 ignore, 1 events only, 2 collide) of the body's tag with
// another tag.
struct Pair {
    const char* other;
    int relation;
};

// Adds the tag to the collision table, gives it to the body, then sets the
// pairs in order. A pair whose other tag does not exist yet is left alone,
// so the tag made later collides with this one until something says else.
void TagBody(Engine::CollisionComp& body, const char* tag, std::initializer_list<Pair> pairs);

// A new transparent render component with these registry names; the caller
// resolves it once its colours are set.
Engine::RenderCompBase& SeeThrough(Engine::EntityHandle entity, const char* model, const char* shader,
                                   const char* material);

// The frame a replay shows now; null while the match is live or when the
// replay holds no frame.
MatchFrame* ReplayedFrame();

// In a replayed frame every object of a kind takes the first record that
// no other took before it, and marks it taken (inactive); nothing when
// none is left. The list keeps its length, so the recorder still sees how
// many objects the frame needs.
template <class Record>
std::optional<Record> TakeNext(std::vector<Record>& records)
{
    for (Record& record : records) {
        if (record.active) {
            record.active = 0;
            return record;
        }
    }
    return std::nullopt;
}

} // namespace ArenaObject
