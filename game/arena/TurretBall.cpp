#include "game/arena/TurretBall.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"

#include <GL/glew.h>

namespace GameScene {

namespace {

constexpr glm::vec3 kBallScale{0.5f};

} // namespace

Engine::EntityHandle CreateTurretBall(const std::string& name)
{
    const Engine::EntityHandle ball = Engine::EntityMgr::GetInstance().CreateEntity();
    if (ball.IsNull())
        return ball;
    Engine::EntityTagCompManager::GetInstance().AddTag(ball, "Ball");
    Engine::TransformCompManager::GetInstance().AddComponent(ball);
    Engine::Transform::ScaleRef(ball) = kBallScale;

    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(ball);
    body.mCollisionShape.value = Engine::ShapeSphere;
    Engine::CollisionTable::GetInstance().AddTag("Ball");
    body.SetCollisionType("Ball");

    Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(ball).component;
    look.mModelName.value = "Sphere";
    look.mMaterialName.value = "White";
    look.mShaderName.value = "NoLight";
    look.ResolveResources();
    // A light owns a shadow framebuffer: without a GL context (tools,
    // benchmarks) the ball flies unlit.
    if (glGenFramebuffers)
        Engine::LightManager::GetInstance().AddComponent(ball);
    Engine::SetEntityName(ball, name.c_str());
    return ball;
}

} // namespace GameScene
