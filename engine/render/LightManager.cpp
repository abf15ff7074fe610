#include "engine/render/LightManager.h"

#include "engine/render/ComponentSection.h"
#include "engine/render/LightLimits.h"

#include <algorithm>

namespace Engine {

namespace {

constexpr const char* kSection = "Lights";

} // namespace

LightManager& LightManager::GetInstance()
{
    static LightManager manager;
    return manager;
}

void LightManager::RemoveComponent(EntityHandle entity)
{
    mLights.erase(entity);
}

bool LightManager::HasComponent(EntityHandle entity) const
{
    return mLights.contains(entity);
}

void LightManager::Clear()
{
    mLights.clear();
}

LightRef LightManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    Light& light = mLights.try_emplace(entity).first->second;
    light.owner = entity;
    return {entity, &light};
}

Light* LightManager::GetCompPtr(EntityHandle entity)
{
    auto found = mLights.find(entity);
    return found == mLights.end() ? nullptr : &found->second;
}

void LightManager::UploadLights(const ShaderProgram& program, const std::string& arrayName) const
{
    const int count = static_cast<int>(std::min<std::size_t>(mLights.size(), kMaxLights));
    program.SetUniform(arrayName + "Size", count);
    int index = 0;
    for (const auto& [entity, light] : mLights) {
        if (index == count)
            break;
        program.SetLight(arrayName + "[" + std::to_string(index) + "]", light.Uniforms(), index);
        ++index;
    }
}

void LightManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kSection, mLights);
}

void LightManager::LoadLights(const nlohmann::json& document)
{
    ComponentSection::Load<LightSettings>(document, kSection, mLights);
}

} // namespace Engine
