#pragma once
#include "PlayerScene.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/render/ParticleEmitterManager.h"
#include "game/components/BadgeManagerComp.h"
#include "game/components/BallStates.h"
#include "game/components/GoalBall.h"
#include "game/components/TempBallComp.h"

#include <SDL.h>

// Two players on the small floor, each with a ball built as the match's
// spawner builds it and a medal component on a named score HUD; frames are
// driven as in PlayerScene, mouse buttons through `mouseButtons`.
class BallScene : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        one = SpawnStanding({-6.0f, 0.0f, 1.0f});
        two = SpawnStanding({6.0f, 0.0f, 1.0f});
        ballOne = SpawnBall(one);
        ballTwo = SpawnBall(two);
        for (auto [player, ball, other] : {std::tuple{one, ballOne, ballTwo}, std::tuple{two, ballTwo, ballOne}}) {
            Player_LogicComp& component = Component(player);
            component.mBall = component.mOwnBall = ball;
            component.mOpponentBall = other;
        }
        // The second player plays with a pad that is not there: the mouse
        // and keys move the first player's ball only.
        InputBindings::ForPlayer(2).UsesController = true;
        for (Engine::EntityHandle player : {one, two}) {
            Engine::SetEntityName(Component(player).mScoreHud, "ScoreHUD");
            Engine::LogicManager::GetInstance().AddComponent<BadgeManagerComp>(player);
        }
        Frame();
    }

    // The ball of a player: a sphere tagged "Ball" with the ball component,
    // its machines, its sounds and a spark emitter.
    Engine::EntityHandle SpawnBall(Engine::EntityHandle player)
    {
        Engine::SceneManager::SetIdle();
        const Engine::EntityHandle ball = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::EntityTagCompManager::GetInstance().AddTag(ball, "Ball");
        Engine::TransformCompManager::GetInstance().AddComponent(ball);
        Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(ball);
        body.mCollisionShape.value = Engine::ShapeSphere;
        body.mInvMass.value = 1.0f;
        body.mGravity.value *= 0.5f;
        Engine::CollisionTable::GetInstance().AddTag("Ball");
        body.SetCollisionType("Ball");
        Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(ball).component;
        look.mModelName.value = "Geosphere";
        look.mMaterialName.value = "White";
        look.mShaderName.value = "Ball";
        look.ResolveResources();
        Engine::Transform::ScaleRef(ball) = glm::vec3(0.3f);
        Engine::SetEntityName(ball, "ball");
        Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
        logic.AddComponent<Engine::SMComponent>(ball);
        logic.AddComponent<TempBallComp>(ball);
        Engine::LogicManager::GetCompPtr<TempBallComp>(ball)->mPlayer = player;
        logic.AddComponent<Engine::Emitter>(ball);
        Engine::LogicManager::GetCompPtr<Engine::Emitter>(ball)->AddSound("BounceBall", "BounceBall", true);
        Engine::ParticleEmitter& sparks = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(ball);
        sparks.SetMaxParticles(0);
        sparks.textureName = "Point";
        sparks.modelName = "Quad";
        sparks.programName = "Particle";
        sparks.LoadResources();
        for (Engine::LogicComp* component : *logic.FindComponents(ball))
            component->Initialize();
        Engine::SceneManager::SetActive();
        return ball;
    }

    static TempBallComp& Ball(Engine::EntityHandle ball) { return *Engine::LogicManager::GetCompPtr<TempBallComp>(ball); }
    static std::string Flight(Engine::EntityHandle ball) { return Ball(ball).FlightStateName(); }
    static glm::vec3& Velocity(Engine::EntityHandle entity) { return Body(entity).mVelocity.value; }
    static BadgeManagerComp& Medals(Engine::EntityHandle player)
    {
        return *Engine::LogicManager::GetCompPtr<BadgeManagerComp>(player);
    }

    // A ball flying freely at a place: out of the hand, solid and weightless.
    void Throw(Engine::EntityHandle ball, const glm::vec3& at, const glm::vec3& velocity)
    {
        Ball(ball).FlightMachine()->ChangeState("BallBouncing");
        Frame();
        Engine::CollisionComp& body = Body(ball);
        body.mGhost.value = false;
        body.mGravity.value = glm::vec3(0.0f);
        body.mDrag.value = 1.0f;
        body.mVelocity.value = velocity;
        Engine::Transform::SetWorldPosition(ball, at);
    }

    // A contact raised as the collision manager raises it.
    static void Touch(Engine::EntityHandle ball, Engine::EntityHandle other, const glm::vec3& normal)
    {
        Engine::CollisionEvent contact;
        contact.other = other;
        contact.normal = normal;
        Engine::EventHandlerList::Raise(contact, ball);
    }

    // Mouse buttons held from the next frame on.
    void HoldMouse(std::uint32_t mask) { mouseButtons = mask; }
    void ClickLeft()
    {
        HoldMouse(SDL_BUTTON_LMASK);
        Frame();
        HoldMouse(0);
        Frame();
    }

    Engine::EntityHandle one;
    Engine::EntityHandle two;
    Engine::EntityHandle ballOne;
    Engine::EntityHandle ballTwo;
};
