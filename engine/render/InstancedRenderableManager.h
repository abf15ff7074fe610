#pragma once
#include "engine/render/InstancedRenderable.h"
#include "engine/render/RenderCompManager.h"

namespace Engine {

// Every instanced renderable, by value, in ascending entity index (the draw
// and save order).
//
// Scene section "InstancedRenderable" and per-entity key
// "InstancedRenderable": see ComponentSection.h; the property object holds
// "mCameraTarget", "mMaterialName", "mMetalness", "mModelName",
// "mShaderName". Instances and buffers are not saved: a loaded component
// has none. Every component read is resolved at once.
class InstancedRenderableManager : public SectionComponentMap<InstancedRenderable, InstancedRenderableProperties> {
public:
    static InstancedRenderableManager& GetInstance();

    // The entity's component, a default one (nothing resolved, no
    // instances) when it had none; null handle and no component for the
    // null entity.
    RenderCompRef<InstancedRenderable> AddComponent(EntityHandle entity) { return {entity, Emplace(entity)}; }
    // The entity's component, or null.
    InstancedRenderable* GetCompPtr(EntityHandle entity) { return Find(entity); }

    // Draws every component the camera sees with its own program, or every
    // one with the given program. The caller has set the view-projection,
    // the lights, "uSelectPos" and "uEmissiveCol".
    void Render(int cameraIndex);
    void Render(const ShaderProgram& shader, int cameraIndex);
    // The same with the camera's view: each component draws only the
    // instances it may see, nearest first.
    void Render(const ShaderProgram& shader, int cameraIndex, const ViewVolume& view);

private:
    InstancedRenderableManager() : SectionComponentMap("InstancedRenderable", "InstancedRenderable") {}
    // A component read from a file looks its resources up at once.
    void Resolve(InstancedRenderable& component) override { component.ResolveResources(); }
};

} // namespace Engine
