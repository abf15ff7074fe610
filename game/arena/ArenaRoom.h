#pragma once
#include <glm/glm.hpp>

struct HexGrid;

// The room the players keep to: inside the tops of the wall and ceiling
// tiles as they rest, and above the resting floor down to the top of a
// floor tile lowered two steps. Past a tile's top lies the inside of its
// column and, a little farther, the outside of the arena.
//
// Each pair of opposite sides bounds the room about the arena's centre, by
// the nearer of the two, so that the arena's half turn leaves the room as
// it is. A side without tiles bounds nothing.
struct ArenaRoom {
    // How many height steps below the resting floor the room reaches: a
    // gathered tile can be lowered that far and more, and a player stands
    // over such a hole as over any tile.
    static constexpr float kFloorHoleSteps = 2.0f;

    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};

    static ArenaRoom Of(const HexGrid& grid);

    bool Contains(const glm::vec3& point) const;
    glm::vec3 Clamp(const glm::vec3& point) const;
    // Where the centre of a body of these half extents (half its size along
    // each axis) may be so that all of the body is in the room.
    ArenaRoom ForBody(const glm::vec3& halfExtents) const;
};
