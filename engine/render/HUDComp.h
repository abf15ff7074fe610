#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"

#include <glm/glm.hpp>
#include <string>

namespace Engine {

class Drawable;
class Texture;

// One textured, tinted shape over a camera's finished view: placed, sized
// and turned by its entity's transform in the camera's canvas units (origin
// at the viewport's centre, y up). The shape is the "Quad" model unless the
// owner points `model` at a model or mesh of its own (the radial menu's
// slices). Whoever changes "mTextureName" calls ResolveTexture afterwards.
class HUDComp : public Property_Holder {
public:
    // Uniform locations of the "Quad" program.
    static constexpr int kTextureLocation = 0;
    static constexpr int kModelLocation = 2;
    static constexpr int kColourLocation = 3;

    HUDComp();
    HUDComp(const HUDComp&) = default;
    HUDComp& operator=(const HUDComp&) = default;
    virtual ~HUDComp() = default;

    // Draws with the "Quad" program, which the caller has made current with
    // the canvas projection; nothing without a texture or shape.
    virtual void Draw(EntityHandle entity);

    // The texture registered under "mTextureName"; none when not registered.
    void ResolveTexture();
    bool IsSeenBy(int cameraIndex) const;

    const Texture* texture = nullptr;
    const Drawable* model = nullptr;

    Property<int> mCameraTarget{"mCameraTarget", -1, mPropertyMap};
    Property<glm::vec4> mColor{"mColor", glm::vec4(1.0f), mPropertyMap};
    Property<std::string> mTextureName{"mTextureName", mPropertyMap};
};

// What adding or asking for a HUD component hands out: the entity, or the
// null handle when it has none. The component-type table knows HUD
// components by this type.
struct HUDCompHandle {
    EntityHandle entity;
};

} // namespace Engine
