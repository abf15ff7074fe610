#pragma once
#include "engine/render/InstanceStreams.h"

#include <array>
#include <glm/glm.hpp>

namespace Engine {

// Per-slot inputs of the particle programs: attribute 5 the colour (vec4,
// 16 bytes per slot), attributes 6 to 9 the columns of the model-view matrix
// (64 bytes per slot).
inline constexpr InstanceAttribute kParticleColourAttributes[] = {{5, 4, 0}};
inline constexpr InstanceAttribute kParticleMatrixAttributes[] = {{6, 4, 0}, {7, 4, 16}, {8, 4, 32}, {9, 4, 48}};

inline std::array<InstanceStream, 2> ParticleStreams(const GlBuffer& colours, const GlBuffer& matrices)
{
    return {InstanceStream{&colours, sizeof(glm::vec4), kParticleColourAttributes},
            InstanceStream{&matrices, sizeof(glm::mat4), kParticleMatrixAttributes}};
}

} // namespace Engine
