#pragma once
#include "engine/core/EntityHandle.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

// The home screen: the title menu over the live arena, which a camera
// circles slowly while, every six seconds, one more floor tile rises. The
// lobby keeps the same background while the two machines agree on the
// match.
namespace TitleMode {

// The entity that holds the menu camera and the menu music; the null handle
// outside the title and the lobby.
Engine::EntityHandle MenuEntity();

// What the background keeps between visits of the title.
struct Background {
    float angle = 0.0f;
    float tileTimer = 1.3f;
    std::int32_t tile = 300;
    glm::vec3 from{0.0f};
    glm::vec3 to{0.0f};
    // Tiles that never rise (the border) or have risen already.
    std::vector<std::int32_t> used;
};
Background& GetBackground();

// One frame of the camera's orbit and of the rising tile.
void UpdateBackgroundCamera();

// The menu music: the opening once, then the loop.
void UpdateMenuMusic();
// Stops both and takes them off the menu entity.
void StopMenuMusic();

} // namespace TitleMode
