#include "engine/render/CameraManager.h"

#include "engine/core/RuntimeErrors.h"
#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kSection = "Cameras";
constexpr const char* kEntityKey = "Camera";

} // namespace

CameraManager& CameraManager::GetInstance()
{
    static CameraManager manager;
    return manager;
}

void CameraManager::RemoveComponent(EntityHandle entity)
{
    mCameras.erase(entity);
}

bool CameraManager::HasComponent(EntityHandle entity) const
{
    return mCameras.contains(entity);
}

void CameraManager::Clear()
{
    mCameras.clear();
}

CameraHandle CameraManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    mCameras.try_emplace(entity);
    return {entity};
}

CameraHandle CameraManager::GetComponent(EntityHandle entity) const
{
    return {GetComp(*this, entity)};
}

GameCamera* CameraManager::GetCompPtr(EntityHandle entity)
{
    auto found = mCameras.find(entity);
    if (found == mCameras.end())
        throw InvalidMapKey();
    return &found->second;
}

void CameraManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mCameras);
}

void CameraManager::Load(const nlohmann::json& document)
{
    ComponentSection::Load<GameCamera>(document, kSection, mCameras);
}

void CameraManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::SaveEntity(value, kEntityKey, mCameras, entity);
}

void CameraManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    ComponentSection::LoadEntity<GameCamera>(value, kEntityKey, mCameras, entity);
}

} // namespace Engine
