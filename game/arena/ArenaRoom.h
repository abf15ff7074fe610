#pragma once
#include <glm/glm.hpp>

struct HexGrid;

// The room the players keep to: inside the tops of the wall and ceiling
// tiles as they rest, and above the resting floor down to the bottom of a
// hole two steps deep. Past a tile's top lies the inside of its column and,
// a little farther, the outside of the arena.
//
// Each pair of opposite sides bounds the room about the arena's centre, by
// the nearer of the two, so that the arena's half turn leaves the room as
// it is. A side without tiles bounds nothing.
struct ArenaRoom {
    // How far below the resting floor a player may stand: over a tile
    // lowered two steps, as deep as the box that holds the balls reaches.
    static constexpr float kFloorHoleDepth = 6.0f;

    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};

    static ArenaRoom Of(const HexGrid& grid);

    bool Contains(const glm::vec3& point) const;
    glm::vec3 Clamp(const glm::vec3& point) const;
    // Where the centre of a body of these half extents may be so that all of
    // the body is in the room: a push by less than them leaves its centre
    // inside.
    ArenaRoom ForBody(const glm::vec3& halfExtents) const;
};
