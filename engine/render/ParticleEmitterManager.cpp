#include "engine/render/ParticleEmitterManager.h"

#include "engine/core/FrameRateController.h"
#include "engine/render/ComponentSection.h"

namespace Engine {

namespace {

constexpr const char* kEmitterSection = "ParticleEmitters";
constexpr const char* kEntityKey = "ParticleEmitter";

} // namespace

ParticleEmitterManager& ParticleEmitterManager::GetInstance()
{
    static ParticleEmitterManager manager;
    return manager;
}

void ParticleEmitterManager::Update()
{
    const float dt = static_cast<float>(FrameRateController::GetScaledDt());
    for (auto& [entity, emitter] : mComponents)
        emitter.Update(dt);
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
    nlohmann::json& array = document[kEmitterSection];
    for (const auto& [entity, emitter] : mComponents) {
        nlohmann::json element;
        element["handle"] = entity.GetIndex();
        element["values"] = nullptr;
        array.push_back(std::move(element));
    }
}

void ParticleEmitterManager::Load(const nlohmann::json& document)
{
    for (const EntityHandle& entity : ComponentSection::ReadEntities(document, kEmitterSection))
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
