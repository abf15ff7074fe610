#include "engine/render/ParticleEmitterManager.h"

#include "engine/core/FrameRateController.h"
#include "engine/core/SceneFormat.h"

#include <vector>

namespace Engine {

namespace {

constexpr const char* kSection = "ParticleEmitters";
constexpr const char* kEntityKey = "ParticleEmitter";

// The entities named by the section, checked whole before any is used.
std::vector<EntityHandle> ReadSection(const nlohmann::json& document)
{
    std::vector<EntityHandle> entities;
    if (!document.is_object() || !document.contains(kSection))
        return entities;
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(document, kSection, kSection);
    if (array.is_null())
        return entities;
    for (std::size_t i = 0; i < array.size(); ++i) {
        const nlohmann::json& element = array[i];
        const std::string place = "[" + std::to_string(i) + "]";
        if (!element.is_object())
            SceneFormat::Fail(kSection, "element " + place + " is " + element.type_name() + ", not an object");
        const std::uint32_t index = SceneFormat::Within(kSection, place + " \"handle\"", [&] {
            return SceneFormat::ReadEntityIndex(element.at("handle"));
        });
        if (index == 0)
            SceneFormat::Fail(kSection, "element " + place + " names the null entity (index 0)");
        const auto values = element.find("values");
        if (values != element.end() && !values->is_null() && !values->is_object())
            SceneFormat::Fail(kSection, "element " + place + " has \"values\" of type " + values->type_name()
                                            + ", not null or an object");
        entities.emplace_back(index);
    }
    return entities;
}

} // namespace

ParticleEmitterManager& ParticleEmitterManager::GetInstance()
{
    static ParticleEmitterManager manager;
    return manager;
}

void ParticleEmitterManager::RemoveComponent(EntityHandle entity)
{
    mComponents.erase(entity);
}

bool ParticleEmitterManager::HasComponent(EntityHandle entity) const
{
    return mComponents.contains(entity);
}

void ParticleEmitterManager::Clear()
{
    mComponents.clear();
}

void ParticleEmitterManager::Update()
{
    const float dt = static_cast<float>(FrameRateController::GetScaledDt());
    for (auto& [entity, emitter] : mComponents)
        emitter.Update(dt);
}

EntityHandle ParticleEmitterManager::AddComponent(EntityHandle entity)
{
    if (entity.IsNull())
        return {};
    mComponents.try_emplace(entity);
    return entity;
}

ParticleEmitter* ParticleEmitterManager::GetCompPtr(EntityHandle entity)
{
    if (entity.IsNull())
        return nullptr;
    return &mComponents.try_emplace(entity).first->second;
}

void ParticleEmitterManager::Render(const Camera& camera)
{
    for (auto& [entity, emitter] : mComponents) {
        if (emitter.additive) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        } else {
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        emitter.PrepareInstances(camera);
        emitter.Draw(camera);
    }
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void ParticleEmitterManager::Save(nlohmann::json& document)
{
    nlohmann::json& array = document[kSection];
    for (const auto& [entity, emitter] : mComponents) {
        nlohmann::json element;
        element["handle"] = entity.GetIndex();
        element["values"] = nullptr;
        array.push_back(std::move(element));
    }
}

void ParticleEmitterManager::Load(const nlohmann::json& document)
{
    for (const EntityHandle& entity : ReadSection(document))
        mComponents.try_emplace(entity);
}

void ParticleEmitterManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    if (mComponents.contains(entity))
        value[kEntityKey] = nullptr;
}

void ParticleEmitterManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull() || !value.is_object() || !value.contains(kEntityKey))
        return;
    mComponents.try_emplace(entity);
}

} // namespace Engine
