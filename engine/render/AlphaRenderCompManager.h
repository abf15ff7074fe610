#pragma once
#include "engine/render/AlphaRenderComp.h"
#include "engine/render/RenderCompManager.h"

#include <utility>
#include <vector>

namespace Engine {

class Camera;

// Every transparent render component, by value, in ascending entity index.
// Each camera's transparent pass sorts them by distance from its eye and
// draws the farthest first, so nearer shells blend over farther ones; two at
// the same distance are both drawn, in entity order.
//
// Scene section "AlphaRenderComps" and per-entity key "AlphaRenderComp": see
// ComponentSection.h; the property object holds the component's eight
// properties. Keys of their own keep a load from making opaque copies of
// transparent components (and the other way round).
//
// Not built at start-up: it joins the manager list at its first use.
class AlphaRenderCompManager : public SectionComponentMap<AlphaRenderComp> {
public:
    // Distance from the eye and entity, in draw order.
    using DrawOrder = std::vector<std::pair<float, EntityHandle>>;

    static AlphaRenderCompManager& GetInstance();

    void Clear() override;
    void SwapWithAside() override;

    RenderCompRef<AlphaRenderComp> AddComponent(EntityHandle entity) { return {entity, Emplace(entity)}; }
    AlphaRenderComp* GetCompPtr(EntityHandle entity) { return Find(entity); }

    // Rebuilds the draw order for the camera's eye. An entity without a
    // transform stands at the origin.
    void SortByDistance(const Camera& camera);
    // Draws, in draw order, every component the camera sees: the program's
    // per-draw hook with the camera, then the draw with the component's own
    // program (or the given one).
    void Render(const Camera& camera);
    void Render(const ShaderProgram& shader, const Camera& camera);

    const DrawOrder& GetDrawOrder() const { return mDrawOrder; }

private:
    AlphaRenderCompManager() : SectionComponentMap("AlphaRenderComps", "AlphaRenderComp") {}
    // A component read from a file looks its resources up at once.
    void Resolve(AlphaRenderComp& component) override { component.ResolveResources(); }
    // With `given` null every component draws with its own program.
    void DrawInOrder(const Camera& camera, const ShaderProgram* given);

    DrawOrder mDrawOrder;
};

} // namespace Engine
