#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/HUDComp.h"

#include <map>

namespace Engine {

// Every HUD component, by value, in ascending entity index: the draw order,
// so among overlapping elements the higher entity index is on top.
//
// Scene section "HUDComps" and per-entity key "HUDComp": see
// ComponentSection.h; the property object holds "mCameraTarget", "mColor",
// "mTextureName". Every component read resolves its texture at once.
class HUDCompManager : public ICompManager {
public:
    using Components = std::map<EntityHandle, HUDComp>;

    static HUDCompManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    // HUD entities exist for their element alone: clearing also queues the
    // destruction of each of them.
    void Clear() override;
    std::uint64_t Count() const override { return mComponents.size(); }
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // The entity's component, a default one when it had none; the null
    // handle for the null entity.
    HUDCompHandle AddComponent(EntityHandle entity);
    // The entity, or the null handle when it has no component.
    HUDCompHandle GetComponent(EntityHandle entity) const;
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // component: ask HasComponent first when that may be so.
    HUDComp* GetCompPtr(EntityHandle entity);

    // The HUD pass of one camera: every component whose target is -1 or the
    // camera's index. The caller has disabled depth testing and made "Quad"
    // current with the camera's canvas projection.
    void Render(int cameraIndex);

    const Components& GetComponents() const { return mComponents; }

private:
    HUDCompManager() = default;

    Components mComponents;
};

} // namespace Engine
