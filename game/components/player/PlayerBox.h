#pragma once
#include "engine/core/EntityHandle.h"
#include "game/components/tile/TileColumns.h"

#include <array>
#include <glm/glm.hpp>
#include <optional>

// A player's body as the physics meets another player's: a box of half
// extents its scale (the drawn figure fills it), turned with the player.
struct PlayerBox {
    glm::vec3 centre{0.0f};
    std::array<glm::vec3, 3> axes{};
    glm::vec3 half{0.0f};

    // The player's box were its centre at `centre`.
    static PlayerBox Of(Engine::EntityHandle player, const glm::vec3& centre);
    // How far from its centre the player's box reaches at the most.
    static float Reach(Engine::EntityHandle player);

    // The way out of another player's box when the two overlap: across the
    // face (of either) of least overlap, or up onto the other, never down
    // into the floor. Boxes put side by side may still overlap by a
    // rounding's width, which is touching: none then.
    std::optional<TileColumns::WayOut> WayOutOf(const PlayerBox& other) const;
};
