#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/FontRenderComp.h"

#include <map>

namespace Engine {

// Every text component, by value, in ascending entity index. Text
// components come only from scene and archetype loads.
//
// Scene section "FontRenderables" and per-entity key "FontRenderable": see
// ComponentSection.h; the property object holds "mCameraTarget",
// "mFontName", "mTextColor". A loaded component shows "Sample Text" until
// its text is set, and resolves its font at once.
//
// Not built at start-up: it joins the manager list at its first use, the
// first frame's text pass.
class FontRenderCompManager : public ICompManager {
public:
    using Components = std::map<EntityHandle, FontRenderComp>;

    static FontRenderCompManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mComponents.size(); }
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // The entity's component, or null.
    FontRenderComp* GetCompPtr(EntityHandle entity);

    // The text pass of one camera. The caller has disabled depth testing and
    // made "Text" current with the camera's canvas projection.
    void Render(int cameraIndex);

    const Components& GetComponents() const { return mComponents; }

private:
    FontRenderCompManager() = default;

    Components mComponents;
};

} // namespace Engine
