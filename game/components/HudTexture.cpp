#include "game/components/HudTexture.h"

#include "engine/render/HUDCompManager.h"

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
