#include "engine/render/LightManager.h"

#include "engine/render/ComponentSection.h"
#include "engine/render/LightLimits.h"

#include <algorithm>

namespace Engine {

namespace {

constexpr const char* kLightSection = "Lights";

} // namespace

LightManager& LightManager::GetInstance()
{
    static LightManager manager;
    return manager;
}

LightRef LightManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    Light& light = mComponents.try_emplace(entity).first->second;
    light.owner = entity;
    return {entity, &light};
}

void LightManager::UploadLights(const ShaderProgram& program, const std::string& arrayName) const
{
    const int count = static_cast<int>(std::min<std::size_t>(mComponents.size(), kMaxLights));
    program.SetUniform(arrayName + "Size", count);
    int index = 0;
    for (const auto& [entity, light] : mComponents) {
        if (index == count)
            break;
        program.SetLight(arrayName + "[" + std::to_string(index) + "]", light.Uniforms(), index);
        ++index;
    }
}

LightKinds LightManager::Kinds() const
{
    LightKinds kinds = LightKinds::None;
    int index = 0;
    for (const auto& [entity, light] : mComponents) {
        if (index++ == kMaxLights)
            break;
        if (light.type == 1 || light.type == 2)
            return LightKinds::Any;
        kinds = LightKinds::Point;
    }
    return kinds;
}

void LightManager::Save(nlohmann::json& document)
{
    ComponentSection::Save(document, kLightSection, mComponents);
}

void LightManager::LoadLights(const nlohmann::json& document)
{
    ComponentSection::Load<LightSettings>(document, kLightSection, mComponents);
}

} // namespace Engine
