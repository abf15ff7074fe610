#pragma once
#include "engine/render/Framebuffer.h"

namespace Engine {

// A framebuffer that knows how to draw its own content.
class Noise : public Framebuffer {
public:
    using Framebuffer::Framebuffer;
    virtual void Render() = 0;
};

// A 400 x 400 colour texture filled by a noise program. Nothing draws it
// every frame: it holds what the last Render drew.
class PerlinNoise : public Noise {
public:
    static constexpr unsigned kSize = 400;

    // The program is not owned; the renderer's registry keeps it.
    explicit PerlinNoise(ShaderProgram* program);
    // Leaves the viewport at 400 x 400 and the default framebuffer bound.
    void Render() override;

private:
    ShaderProgram* mProgram = nullptr;
};

} // namespace Engine
