#pragma once
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"

#include <glm/glm.hpp>

namespace Engine {

// The colours of one instance of an instanced renderable (a floor tile).
// Gameplay code writes them directly; the group's next draw shows them.
class RenderWrapper : public Property_Holder {
public:
    Property<glm::vec3> mAmbientColor_0{"mAmbientColor_0", glm::vec3(0.025f), mPropertyMap};
    Property<glm::vec3> mAmbientColor_1{"mAmbientColor_1", glm::vec3(0.025f), mPropertyMap};
    Property<glm::vec3> mAmbientColor_2{"mAmbientColor_2", glm::vec3(0.025f), mPropertyMap};
    Property<glm::vec3> mDiffuseColor{"mDiffuseColor", glm::vec3(1.0f), mPropertyMap};
    Property<glm::vec3> mSpecularColor{"mSpecularColor", glm::vec3(1.0f), mPropertyMap};
};

} // namespace Engine
