#pragma once
#include "engine/core/CompManager.h"
#include "engine/render/Camera.h"

#include <map>

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
class CameraManager : public ICompManager {
public:
    using Cameras = std::map<EntityHandle, GameCamera>;

    static CameraManager& GetInstance();

    void RemoveComponent(EntityHandle entity) override;
    bool HasComponent(EntityHandle entity) const override;
    void Clear() override;
    std::uint64_t Count() const override { return mCameras.size(); }
    void Save(nlohmann::json& document) override;
    void Load(const nlohmann::json& document) override;
    void SaveEntity(nlohmann::json& value, EntityHandle entity) override;
    void LoadEntity(const nlohmann::json& value, EntityHandle entity) override;

    // The entity's camera, made with the defaults when it has none; an
    // existing camera is left as it is.
    CameraHandle AddComponent(EntityHandle entity);
    CameraHandle GetComponent(EntityHandle entity) const;
    EntityHandle GetCompHandle(EntityHandle entity) const { return GetComp(*this, entity); }
    // Throws InvalidMapKey ("invalid map<K, T> key") when the entity has no
    // camera: ask HasComponent first when that may be so.
    GameCamera* GetCompPtr(EntityHandle entity);

    Cameras& GetCameras() { return mCameras; }
    const Cameras& GetCameras() const { return mCameras; }

private:
    CameraManager() = default;

    Cameras mCameras;
};

} // namespace Engine
