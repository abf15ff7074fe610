#pragma once
#include "engine/ui/ElementComp.h"

#include <glm/glm.hpp>

namespace Engine {
class Texture;
}

namespace Engine::UI {

// Draws a tinted texture over its element's whole box with the "UI" program.
class SpriteRenderComp : public IElemComp {
public:
    // The renderer's "White" texture.
    SpriteRenderComp();
    explicit SpriteRenderComp(const Texture* spriteTexture, const glm::vec4& tint = glm::vec4(1.0f))
        : colour(tint), texture(spriteTexture)
    {
    }

    // Nothing without a texture.
    void Render() override;

    glm::vec4 colour{1.0f};
    const Texture* texture = nullptr;
};

} // namespace Engine::UI
