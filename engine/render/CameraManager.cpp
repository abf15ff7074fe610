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
    auto staged = ComponentSection::Stage<GameCamera>(document, kSection, mCameras);
    ComponentSection::Commit(staged, mCameras, [](EntityHandle, GameCamera&) {});
}

void CameraManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    auto found = mCameras.find(entity);
    if (found != mCameras.end())
        found->second.GetPropertyMap().ToJson(value[kEntityKey]);
}

void CameraManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull() || !value.is_object() || !value.contains(kEntityKey))
        return;
    auto existing = mCameras.find(entity);
    const GameCamera base = existing != mCameras.end() ? existing->second : GameCamera();
    GameCamera read = ComponentSection::ReadValues(base, value.at(kEntityKey), kEntityKey, "");
    mCameras.try_emplace(entity).first->second = read;
}

} // namespace Engine
