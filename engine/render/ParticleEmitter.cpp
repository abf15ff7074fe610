#include "engine/render/ParticleEmitter.h"

#include "engine/render/Renderer.h"

namespace Engine {

ParticleEmitter::ParticleEmitter()
{
    Renderer& renderer = Renderer::GetInstance();
    texture = renderer.textures.Find("Particle");
    model = renderer.models.Find("Quad");
    // The program that reads each particle's colour and matrix; "Quad" draws
    // one plain quad and would put every particle on the same spot.
    program = renderer.shaders.Find("Particle");
}

void ParticleEmitter::SetMaxParticles(std::uint32_t n)
{
    mMatrices.resize(n, glm::mat4(0.0f));
    mColours.resize(n, glm::vec4(0.0f));
    mParticles.assign(n, Particle{});
    mLiveCount = 0;
    CreateBuffers();
}

void ParticleEmitter::CreateBuffers()
{
    mMatrixBuffer.Release();
    mColourBuffer.Release();
    if (mParticles.empty())
        return;
    mMatrixBuffer.Create(mMatrices.size() * sizeof(glm::mat4), mMatrices.data());
    mColourBuffer.Create(mColours.size() * sizeof(glm::vec4), mColours.data());
}

void ParticleEmitter::LoadResources()
{
    Renderer& renderer = Renderer::GetInstance();
    texture = renderer.textures.Find(textureName);
    model = renderer.models.Find(modelName);
    program = renderer.shaders.Find(programName);
}

} // namespace Engine
