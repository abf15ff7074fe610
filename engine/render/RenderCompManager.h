#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/RenderComp.h"

#include <map>

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
class RenderCompManager : public ICompManager {
public:
    using Components = std::map<EntityHandle, RenderComp>;

    static RenderCompManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mComponents.size(); }
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // The entity's component, a default one (nothing resolved yet) when it
    // had none; null handle and no component for the null entity.
    RenderCompRef<RenderComp> AddComponent(EntityHandle entity);
    // The entity's component, or null.
    RenderComp* GetCompPtr(EntityHandle entity);

    // Draws every component the camera sees, each with its own program. The
    // caller has set the view-projection of every program, the lights and
    // the depth, culling and blending state.
    void Render(int cameraIndex);
    // The same, every component with the given program.
    void Render(const ShaderProgram& shader, int cameraIndex);

    const Components& GetComponents() const { return mComponents; }

private:
    RenderCompManager() = default;

    Components mComponents;
};

} // namespace Engine
