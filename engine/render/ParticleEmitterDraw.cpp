#include "engine/render/Camera.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleEmitter.h"
#include "engine/render/ParticleStreams.h"
#include "engine/render/ShaderProgram.h"
#include "engine/render/Texture.h"
#include "engine/render/UniformTypes.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>
#include <numeric>

namespace Engine {

namespace {

// Uniform locations of the particle programs.
constexpr GLint kProjectionLocation = 0;
constexpr GLint kTextureLocation = 2;
constexpr GLint kSwitchLocation = 3;

// How far along the view a particle lies: larger is farther. Positions that
// are not finite sort last, so the order stays strict whatever they hold.
float Depth(const Particle& particle, const glm::vec3& eye, const glm::vec3& viewDirection)
{
    const float depth = glm::dot(particle.position - eye, viewDirection);
    return std::isnan(depth) ? -std::numeric_limits<float>::infinity() : depth;
}

template <class T>
void Reorder(std::vector<T>& values, const std::vector<std::size_t>& order)
{
    std::vector<T> reordered;
    reordered.reserve(values.size());
    for (std::size_t from : order)
        reordered.push_back(values[from]);
    values.swap(reordered);
}

} // namespace

glm::mat4 ParticleInstanceMatrix(const Particle& particle, const glm::mat4& view)
{
    glm::mat4 model = glm::translate(glm::mat4(1.0f), particle.position);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            model[column][row] = view[row][column];
    model = glm::rotate(model, glm::radians(particle.spin), glm::vec3(0.0f, 0.0f, 1.0f));
    model[0] *= particle.size.x;
    model[1] *= particle.size.y;
    model[2] *= particle.size.z;
    return view * model;
}

void ParticleEmitter::PrepareInstances(const Camera& camera)
{
    const glm::mat4 view = camera.GetViewMatrix();
    for (std::size_t i = 0; i < mParticles.size(); ++i) {
        if (mParticles[i].alive) {
            mMatrices[i] = ParticleInstanceMatrix(mParticles[i], view);
            mColours[i] = mParticles[i].colour;
        } else {
            mColours[i] = glm::vec4(0.0f);
        }
    }
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
        if (sortParticles)
            SortBackToFront(camera);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    if (mMatrixBuffer.Exists() && mColourBuffer.Exists()) {
        mMatrixBuffer.Write(mMatrices.size() * sizeof(glm::mat4), mMatrices.data());
        mColourBuffer.Write(mColours.size() * sizeof(glm::vec4), mColours.data());
    }
}

// Live slots first, the farthest along the camera's view first; the slots,
// their matrices and colours move together.
void ParticleEmitter::SortBackToFront(const Camera& camera)
{
    const glm::vec3 eye = camera.mPos.value;
    const glm::vec3 viewDirection = camera.mTarget.value - eye;
    std::vector<float> depth(mParticles.size());
    for (std::size_t i = 0; i < mParticles.size(); ++i)
        depth[i] = Depth(mParticles[i], eye, viewDirection);
    std::vector<std::size_t> order(mParticles.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (mParticles[a].alive != mParticles[b].alive)
            return mParticles[a].alive;
        return depth[a] > depth[b];
    });
    Reorder(mParticles, order);
    Reorder(mMatrices, order);
    Reorder(mColours, order);
}

void ParticleEmitter::Draw(const Camera& camera) const
{
    if (!program || !model || mParticles.empty() || !mMatrixBuffer.Exists())
        return;
    program->Use();
    glActiveTexture(GL_TEXTURE0);
    if (texture)
        texture->Bind();
    else
        glBindTexture(GL_TEXTURE_2D, 0);
    if (UniformTypeAt(*program, kTextureLocation) == GL_SAMPLER_2D)
        program->SetUniform(kTextureLocation, 0);
    if (UniformTypeAt(*program, kSwitchLocation) == GL_INT)
        program->SetUniform(kSwitchLocation, shaderSwitch);
    if (UniformTypeAt(*program, kProjectionLocation) == GL_FLOAT_MAT4)
        program->SetUniform(kProjectionLocation, camera.GetProjectionMatrix());
    DrawInstanced(*model, ParticleStreams(mColourBuffer, mMatrixBuffer), static_cast<GLsizei>(mParticles.size()));
}

} // namespace Engine
