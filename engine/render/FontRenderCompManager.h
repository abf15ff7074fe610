#pragma once
#include "engine/render/ComponentMap.h"
#include "engine/render/FontRenderComp.h"

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
class FontRenderCompManager : public SectionComponentMap<FontRenderComp, FontRenderCompProperties> {
public:

    static FontRenderCompManager& GetInstance();

    // The entity's component, or null.
    FontRenderComp* GetCompPtr(EntityHandle entity) { return Find(entity); }

    // The text pass of one camera. The caller has disabled depth testing and
    // made "Text" current with the camera's canvas projection.
    void Render(int cameraIndex);

private:
    FontRenderCompManager() : SectionComponentMap("FontRenderables", "FontRenderable") {}
    // A component read from a file looks its font up at once.
    void Resolve(FontRenderComp& component) override { component.ResolveFont(); }
};

} // namespace Engine
