#include "game/components/shared/HudTexture.h"

#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/HUDCompManager.h"

// A new entity has no parent: its local position is its place on the canvas.
Engine::EntityHandle MakeHudEntity(const glm::vec3& at, const glm::vec3& scale)
{
    const Engine::EntityHandle hud = Engine::EntityMgr::GetInstance().CreateEntity();
    if (hud.IsNull())
        return hud;
    Engine::TransformCompManager::GetInstance().AddComponent(hud);
    Engine::Transform::PositionRef(hud) = at;
    Engine::Transform::ScaleRef(hud) = scale;
    Engine::HUDCompManager::GetInstance().AddComponent(hud);
    return hud;
}

void ShowHudTexture(Engine::EntityHandle hud, const std::string& name)
{
    Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
    if (hud.IsNull() || !huds.HasComponent(hud))
        return;
    Engine::HUDComp& component = *huds.GetCompPtr(hud);
    if (component.mTextureName.value == name && (component.texture || name.empty()))
        return;
    component.mTextureName.value = name;
    component.ResolveTexture();
}
