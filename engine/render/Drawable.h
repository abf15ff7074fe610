#pragma once

namespace Engine {

// Anything that draws its own geometry with the current program: a model
// (all its meshes) or a single mesh. HUD elements hold one of either.
class Drawable {
public:
    virtual ~Drawable() = default;
    virtual void Draw() const = 0;
};

} // namespace Engine
