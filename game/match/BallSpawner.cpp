#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/arena/Palette.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"
#include "game/match/GameScene.h"

#include <GL/glew.h>

namespace GameScene {
namespace {

void MakeBallBody(Engine::EntityHandle ball)
{
    Engine::TransformCompManager::GetInstance().AddComponent(ball);
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(ball);
    body.mCollisionShape.value = Engine::ShapeSphere;
    body.mInvMass.value = 1.0f;
    body.mGravity.value *= 0.5f;
    Engine::CollisionTable::GetInstance().AddTag("Ball");
    body.SetCollisionType("Ball");
}

void MakeLook(Engine::EntityHandle ball)
{
    Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(ball).component;
    look.mModelName.value = "Geosphere";
    look.mMaterialName.value = "Ball";
    look.mShaderName.value = "Ball";
    look.mDiffuseColor.value = CurrentPalette.Colour(BallDiff);
    look.mSpecularColor.value = CurrentPalette.Colour(BallSpec);
    look.ResolveResources();
    // A light owns a shadow framebuffer: without a GL context (tools,
    // benchmarks) the ball flies unlit.
    if (glGenFramebuffers) {
        Engine::Light& light = *Engine::LightManager::GetInstance().AddComponent(ball).light;
        light.mDiffuseColor.value = glm::vec4(CurrentPalette.Colour(BallDiff), 1.0f);
    }
}

// Idle until a hit fills it: the hit bursts set their own capacity.
void MakeSparks(Engine::EntityHandle ball)
{
    Engine::ParticleEmitter& sparks = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(ball);
    sparks.SetMaxParticles(0);
    sparks.radii = glm::vec3(5.0f);
    sparks.minimum.startVelocity = glm::vec3(7.5f);
    sparks.maximum.startVelocity = glm::vec3(10.0f);
    for (Engine::ParticleEmitterRange* range : {&sparks.minimum, &sparks.maximum}) {
        range->scale = glm::vec3(0.5f);
        range->startColour = glm::vec4(0.5f);
        range->endColour = glm::vec4(0.5f);
    }
    sparks.textureName = "Point";
    sparks.modelName = "Quad";
    sparks.programName = "Particle";
    sparks.LoadResources();
}

} // namespace

Engine::EntityHandle SpawnBall(Engine::EntityHandle owner)
{
    const Engine::EntityHandle ball = Engine::EntityMgr::GetInstance().CreateEntity();
    if (ball.IsNull())
        return ball;
    Engine::EntityTagCompManager::GetInstance().AddTag(ball, "Ball");
    MakeBallBody(ball);
    MakeLook(ball);
    Engine::Transform::ScaleRef(ball) = glm::vec3(0.3f);
    Engine::SetEntityName(ball, Net::Names::kLocalBall);

    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<Engine::SMComponent>(ball);
    logic.AddComponent<TempBallComp>(ball);
    Engine::LogicManager::GetCompPtr<TempBallComp>(ball)->mPlayer = owner;
    logic.AddComponent<Engine::Emitter>(ball);
    Engine::LogicManager::GetCompPtr<Engine::Emitter>(ball)->AddSound("BounceBall", "data/Sounds/Sfx/BounceBall.wav",
                                                                      true);
    MakeSparks(ball);

    if (Player_LogicComp* player = owner.IsNull() ? nullptr : Engine::LogicManager::GetCompPtr<Player_LogicComp>(owner))
        player->mBall = player->mOwnBall = ball;
    return ball;
}

} // namespace GameScene
