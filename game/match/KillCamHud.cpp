#include "game/match/KillCamHud.h"

#include "engine/render/HUDCompManager.h"
#include "game/arena/MatchRecorder.h"

Engine::TypeNode* KillCamHud::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<KillCamHud, Engine::LogicComp>();
}

void KillCamHud::Initialize() { mHud = Engine::HUDCompManager::GetInstance().GetComponent(owner).entity; }

void KillCamHud::Update()
{
    const MatchRecorder& recorder = MatchRecorder::GetInstance();
    Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
    if (recorder.isTutorial || mHud.IsNull() || !huds.HasComponent(mHud))
        return;
    Engine::HUDComp& hud = *huds.GetCompPtr(mHud);
    hud.mTextureName.value = recorder.isLive ? "" : kTexture;
    hud.ResolveTexture();
}
