#pragma once
#include "engine/render/Camera.h"
#include "engine/render/ComponentMap.h"

namespace Engine {

// What adding or asking for a camera hands out: the entity, or the null
// handle when it has no camera. The component-type table knows cameras by
// this type.
struct CameraHandle {
    EntityHandle entity;
};

// Every entity camera, by value, in ascending entity index: the order in
// which the frame draws them.
//
// Scene section "Cameras" and per-entity key "Camera": see ComponentSection.h;
// the property object holds "mCameraIndex", "mCanvasSize", "mFar", "mFoV",
// "mNear", "mPos", "mTarget", "mViewportIntake", "mViewportPos". Loading
// leaves the basis vectors as they were (a new camera's come from its
// defaults).
class CameraManager : public SectionComponentMap<GameCamera> {
public:

    static CameraManager& GetInstance();

    // The entity's camera, made with the defaults when it has none; an
    // existing camera is left as it is.
    CameraHandle AddComponent(EntityHandle entity)
    {
        Emplace(entity);
        return {entity};
    }
    CameraHandle GetComponent(EntityHandle entity) const { return {FilterHandle(entity)}; }
    EntityHandle GetCompHandle(EntityHandle entity) const { return FilterHandle(entity); }
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // camera: ask HasComponent first when that may be so.
    GameCamera* GetCompPtr(EntityHandle entity) { return &At(entity); }

    // The frame draws through each camera in turn and may update it.
    Components& GetCameras() { return mComponents; }

private:
    CameraManager() : SectionComponentMap("Cameras", "Camera") {}
};

} // namespace Engine
