#pragma once
#include "engine/render/CameraTarget.h"
#include "engine/render/RenderComp.h"

namespace Engine {

// A transparent lit model (force fields, shells, stun areas), drawn after
// everything opaque, farthest first. With its own program it draws as that
// program's culling asks: both faces (inner ones first), front faces culled,
// or back faces culled.
class AlphaRenderComp : public RenderCompBase {
public:
    using RenderCompBase::Draw;
    void Draw(EntityHandle entity) override;

    bool IsSeenBy(int cameraIndex) const { return CameraDraws(mCameraTarget.value, cameraIndex); }
};

} // namespace Engine
