#pragma once
#include "engine/render/ComponentMap.h"
#include "engine/render/HUDComp.h"

namespace Engine {

// Every HUD component, by value, in ascending entity index: the draw order,
// so among overlapping elements the higher entity index is on top.
//
// Scene section "HUDComps" and per-entity key "HUDComp": see
// ComponentSection.h; the property object holds "mCameraTarget", "mColor",
// "mTextureName". Every component read resolves its texture at once.
class HUDCompManager : public SectionComponentMap<HUDComp> {
public:

    static HUDCompManager& GetInstance();

    // HUD entities exist for their element alone: clearing also queues the
    // destruction of each of them.
    void Clear() override;

    // The entity's component, a default one when it had none; the null
    // handle for the null entity.
    HUDCompHandle AddComponent(EntityHandle entity)
    {
        Emplace(entity);
        return {entity};
    }
    // The entity, or the null handle when it has no component.
    HUDCompHandle GetComponent(EntityHandle entity) const { return {FilterHandle(entity)}; }
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // component: ask HasComponent first when that may be so.
    HUDComp* GetCompPtr(EntityHandle entity) { return &At(entity); }

    // The HUD pass of one camera: every component whose target is -1 or the
    // camera's index. The caller has disabled depth testing and made "Quad"
    // current with the camera's canvas projection.
    void Render(int cameraIndex);

private:
    HUDCompManager() : SectionComponentMap("HUDComps", "HUDComp") {}
    // A component read from a file looks its texture up at once.
    void Resolve(HUDComp& component) override { component.ResolveTexture(); }
};

} // namespace Engine
