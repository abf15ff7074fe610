#pragma once
#include "game/arena/ArenaRoom.h"

#include <glm/glm.hpp>
#include <optional>

// The arena's columns as solids. Their colliders hold a body only round
// their centres, far behind their tops, so a column a player raised would
// close over the player, and one standing out of its wall would let a
// player walk into its side, where the view meets the column's inside. The
// floor's columns are stood on: a point inside one (a tile rising under the
// player, a side walked into at the bottom of a hole) leaves through its
// top.
//
// A column is its tile's hexagonal prism as it stands in the world, also
// while the arena turns; a floor's column tilted by the turn is a solid as
// a wall's is.
namespace TileColumns {

// The way out of a column that holds `point`, its faces grown by `margin`
// (a floor column's top only): through the column's top, or, but for a
// floor column, out of its side when that ends inside the room and in no
// other column and is shorter, or the top lies beyond the room; none when
// no column holds it. Only the columns whose place across their side lies
// at the point are asked.
struct WayOut {
    glm::vec3 direction{0.0f};
    float depth = 0.0f;
};
std::optional<WayOut> WayOutOfColumns(const glm::vec3& point, float margin, const ArenaRoom& room);

// A lookup over an arena whose settings plan other tiles than were built
// says so, once: a new arena says it again.
void ForgetTheSaidMismatch();

} // namespace TileColumns
