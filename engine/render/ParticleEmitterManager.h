#pragma once
#include "engine/render/ComponentMap.h"
#include "engine/render/ParticleEmitter.h"

namespace Engine {

class Camera;

// Every particle emitter, by value, in ascending entity index.
//
// Scene section "ParticleEmitters" and per-entity key "ParticleEmitter" (null):
// see ComponentSection.h. An emitter keeps nothing in the file: a loaded one
// is a default emitter without slots.
//
// Not built at start-up: it joins the manager list at its first use, the
// first frame at the latest.
class ParticleEmitterManager : public ComponentMap<ParticleEmitter> {
public:

    static ParticleEmitterManager& GetInstance();

    // Every emitter's Update with the scaled frame time, in entity order.
    void Update() override;
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // Gives the entity a default emitter unless it has one; returns the
    // entity (the null handle for the null entity).
    EntityHandle AddComponent(EntityHandle entity)
    {
        Emplace(entity);
        return entity;
    }
    // The entity's emitter, a default one made when it had none; null for
    // the null entity.
    ParticleEmitter* GetCompPtr(EntityHandle entity) { return Emplace(entity); }

    // The particle pass of one camera: each emitter's blending, instances
    // and draw, in entity order; leaves depth testing on and blending
    // (source alpha, one minus source alpha).
    void Render(const Camera& camera);

private:
    ParticleEmitterManager() = default;
};

} // namespace Engine
