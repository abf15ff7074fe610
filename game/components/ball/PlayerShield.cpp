// The shield bubble of the peer's player.
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/ShieldLogic.h"
#include "game/components/ball/TempBallComp.h"

namespace {

void Mark(Engine::EntityHandle ball, TempBallComp::ShieldMark TempBallComp::*mark, Engine::EntityHandle shield)
{
    if (!ball.IsValid())
        return;
    if (TempBallComp* component = Engine::LogicManager::GetCompPtr<TempBallComp>(ball))
        component->*mark = {true, shield};
}

} // namespace

// A tall ghost sphere on the player, immovable and weightless: the
// player's own ball flies through it, the opponent's is sent back.
void Player_LogicComp::CreateShield()
{
    const Engine::EntityHandle shield = Engine::EntityMgr::GetInstance().CreateEntity();
    if (shield.IsNull())
        return;
    Engine::EntityTagCompManager::GetInstance().AddTag(shield, "Shield");
    Engine::TransformCompManager::GetInstance().AddComponent(shield);
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(shield);
    body.mCollisionShape.value = Engine::ShapeSphere;
    body.mDrag.value = 0.0f;
    body.mInvMass.value = 0.0f;
    body.mGravity.value = glm::vec3(0.0f);
    body.mGhost.value = true;
    Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(shield).component;
    look.mModelName.value = "Sphere";
    look.mMaterialName.value = "White";
    look.mShaderName.value = "Default";
    look.ResolveResources();
    Engine::Transform::ScaleRef(shield) = glm::vec3(1.5f, 3.0f, 1.5f);
    Engine::SetEntityName(shield, "shield");
    Engine::Transform::SetWorldPosition(shield, Engine::Transform::GetWorldPosition(owner));

    Engine::LogicManager::GetInstance().AddComponent<Shield_Logic>(shield);
    Shield_Logic& logic = *Engine::LogicManager::GetCompPtr<Shield_Logic>(shield);
    if (Engine::SceneManager::GetState() != Engine::SceneManager::Active)
        logic.Initialize();
    logic.mOwner = owner;
    logic.mOwnBall = mOwnBall;
    logic.mOpponentBall = mOpponentBall;
    Mark(mOwnBall, &TempBallComp::mPassThrough, shield);
    Mark(mOpponentBall, &TempBallComp::mBlock, shield);
}
