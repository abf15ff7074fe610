#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/InstancedRenderable.h"
#include "engine/render/RenderCompManager.h"

#include <map>

namespace Engine {

// Every instanced renderable, by value, in ascending entity index (the draw
// and save order).
//
// Scene section "InstancedRenderable" and per-entity key
// "InstancedRenderable": see ComponentSection.h; the property object holds
// "mCameraTarget", "mMaterialName", "mMetalness", "mModelName",
// "mShaderName". Instances and buffers are not saved: a loaded component
// has none. Every component read is resolved at once.
class InstancedRenderableManager : public ICompManager {
public:
    using Components = std::map<EntityHandle, InstancedRenderable>;

    static InstancedRenderableManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mComponents.size(); }
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // The entity's component, a default one (nothing resolved, no
    // instances) when it had none; null handle and no component for the
    // null entity.
    RenderCompRef<InstancedRenderable> AddComponent(EntityHandle entity);
    // The entity's component, or null.
    InstancedRenderable* GetCompPtr(EntityHandle entity);

    // Draws every component the camera sees with its own program, or every
    // one with the given program. The caller has set the view-projection,
    // the lights, "uSelectPos" and "uEmissiveCol".
    void Render(int cameraIndex);
    void Render(const ShaderProgram& shader, int cameraIndex);

    const Components& GetComponents() const { return mComponents; }

private:
    InstancedRenderableManager() = default;

    Components mComponents;
};

} // namespace Engine
