#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/PropertyMap.h"
#include "engine/render/GlBuffer.h"
#include "engine/render/Particle.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace Engine {

class Camera;
class Model;
class ShaderProgram;
class Texture;

// Where an emitter spawns its particles.
enum ParticleShape : int {
    kParticleSphere = 0,  // inside an ellipsoid of `radii` around point A
    kParticleSegment = 1, // on the segment from point A to point B
    kParticlePoint = 2,   // at point A
};

// A fixed number of particle slots that spawn from a shape, age, move,
// fade and spin, and draw as camera-facing quads in one instanced draw per
// mesh, sorted back to front. Configured in code: capacity through
// SetMaxParticles, then the ranges, shape and flags, then the resource names
// and LoadResources. Nothing of it is saved (its property map stays empty).
//
// Continuous emission spawns min(free - emissionCount, emissionCount) per
// update, so an emitter never fills its last emissionCount slots; -1 fills
// every free slot, any other negative count spawns nothing. Burst mode
// instead fills every free slot once per interval, `burstsLeft` times. Owns
// its two instance buffers.
class ParticleEmitter : public Property_Holder {
public:
    // Takes the "Particle" texture, the "Quad" model and the "Particle" program.
    ParticleEmitter();
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // n dead slots replace every slot (every particle dies); new instance
    // buffers replace the old ones.
    void SetMaxParticles(std::uint32_t n);
    // Texture, model and program by name; an unregistered name gives none.
    void LoadResources();
    // Ages, moves and kills the live particles, then spawns. A particle
    // dies once its age reaches its lifetime, when its lifetime is not
    // positive, or when its position is not finite.
    void Update(float dt);

    // Per-slot matrices (model-view, facing the camera) and colours (0 for
    // dead slots); with the depth test on, sorts live slots first, farthest
    // along the view first; then fills the buffers.
    void PrepareInstances(const Camera& camera);
    // One instanced draw per mesh of every slot with the emitter's program;
    // nothing without program, model or slots.
    void Draw(const Camera& camera) const;

    int LiveCount() const { return mLiveCount; }
    const std::vector<Particle>& GetParticles() const { return mParticles; }
    std::vector<Particle>& GetParticles() { return mParticles; }
    const std::vector<glm::mat4>& GetInstanceMatrices() const { return mMatrices; }
    const std::vector<glm::vec4>& GetInstanceColours() const { return mColours; }
    const GlBuffer& MatrixBuffer() const { return mMatrixBuffer; }
    const GlBuffer& ColourBuffer() const { return mColourBuffer; }

    int emissionCount = 1;
    ParticleEmitterRange minimum;
    ParticleEmitterRange maximum;
    // The "curve" flag: particles move along their interpolated velocity.
    bool moveParticles = true;
    // A ParticleShape; other values spawn at the origin.
    int shape = kParticlePoint;
    bool randomRadius = true;
    // The shape is placed at the owner entity instead of point A.
    bool followOwner = false;
    glm::vec3 pointA{0.0f};
    glm::vec3 pointB{3.0f, 0.0f, 3.0f};
    glm::vec3 radii{5.0f};
    EntityHandle owner;

    const Texture* texture = nullptr;
    const Model* model = nullptr;
    const ShaderProgram* program = nullptr;
    std::string textureName;
    std::string modelName;
    std::string programName;

    bool depthTest = true;
    bool sortParticles = true;
    bool additive = false;
    // Sent to the program at location 3 (the look of the quads).
    int shaderSwitch = 1;

    bool burst = false;
    float burstInterval = 1.0f;
    int burstsLeft = 200;
    float burstTimer = 0.0f;

private:
    void AgeParticles(float dt);
    int SpawnCount(float dt);
    void Spawn(int count);
    void SpawnInto(Particle& particle);
    glm::vec3 SpawnPosition() const;
    void SortBackToFront(const Camera& camera);
    void CreateBuffers();

    std::vector<Particle> mParticles;
    int mLiveCount = 0;
    std::vector<glm::mat4> mMatrices;
    std::vector<glm::vec4> mColours;
    GlBuffer mMatrixBuffer;
    GlBuffer mColourBuffer;
};

// The model-view matrix of a particle: at its position, turned to face the
// camera of view matrix `view`, spun about the view axis, scaled by size.
glm::mat4 ParticleInstanceMatrix(const Particle& particle, const glm::mat4& view);

} // namespace Engine
