#pragma once
#include "engine/render/ComponentMap.h"
#include "engine/render/RenderComp.h"

namespace Engine {

// What adding a render component hands out: the entity and the component
// inside the manager, valid until that component is removed or the manager
// cleared.
template <class Component>
struct RenderCompRef {
    EntityHandle entity;
    Component* component = nullptr;
};

// Every opaque render component, by value, in ascending entity index (the
// draw and save order).
//
// Scene section "RenderComps" and per-entity key "RenderComp": see
// ComponentSection.h; the property object holds the component's ten
// properties. Every component read is resolved at once.
class RenderCompManager : public SectionComponentMap<RenderComp> {
public:
    static RenderCompManager& GetInstance();

    // The entity's component, a default one (nothing resolved yet) when it
    // had none; null handle and no component for the null entity.
    RenderCompRef<RenderComp> AddComponent(EntityHandle entity) { return {entity, Emplace(entity)}; }
    // The entity's component, or null.
    RenderComp* GetCompPtr(EntityHandle entity) { return Find(entity); }

    // Draws every component the camera sees, each with its own program. The
    // caller has set the view-projection of every program, the lights and
    // the depth, culling and blending state.
    void Render(int cameraIndex);
    // The same, every component with the given program.
    void Render(const ShaderProgram& shader, int cameraIndex);

private:
    RenderCompManager() : SectionComponentMap("RenderComps", "RenderComp") {}
    // A component read from a file looks its resources up at once.
    void Resolve(RenderComp& component) override { component.ResolveResources(); }
};

} // namespace Engine
