#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/ParticleEmitter.h"

#include <map>

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
class ParticleEmitterManager : public ICompManager {
public:
    using Components = std::map<EntityHandle, ParticleEmitter>;

    static ParticleEmitterManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mComponents.size(); }
    // Every emitter's Update with the scaled frame time, in entity order.
    void Update() override;
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // Gives the entity a default emitter unless it has one; returns the
    // entity (the null handle for the null entity).
    EntityHandle AddComponent(EntityHandle entity);
    // The entity's emitter, a default one made when it had none; null for
    // the null entity.
    ParticleEmitter* GetCompPtr(EntityHandle entity);

    // The particle pass of one camera: each emitter's blending, instances
    // and draw, in entity order; leaves depth testing on and blending
    // (source alpha, one minus source alpha).
    void Render(const Camera& camera);

    const Components& GetComponents() const { return mComponents; }

private:
    ParticleEmitterManager() = default;

    Components mComponents;
};

} // namespace Engine
