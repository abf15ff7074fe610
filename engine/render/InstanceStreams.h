#pragma once
#include "engine/render/GlBuffer.h"

#include <GL/glew.h>
#include <cstddef>
#include <span>

namespace Engine {

class Model;

// One per-instance vertex attribute: `components` floats at `offset` bytes
// into each instance's element, or unsigned 32-bit integers the program
// reads as integers when `integer` is set.
struct InstanceAttribute {
    GLuint location;
    GLint components;
    std::size_t offset;
    bool integer = false;
};

// A buffer of per-instance elements of `stride` bytes and the attributes
// read from each element (not normalised, divisor 1).
struct InstanceStream {
    const GlBuffer* buffer;
    std::size_t stride;
    std::span<const InstanceAttribute> attributes;
};

// One instanced draw per mesh. Several owners share a model's meshes (every
// floor group the hexagon, every emitter the quad), so the attributes point
// at the caller's own buffers only for the length of its draw: no draw ever
// reads another owner's buffer, nor one that was freed or shrunk meanwhile.
void DrawInstanced(const Model& model, std::span<const InstanceStream> streams, GLsizei instances);

} // namespace Engine
