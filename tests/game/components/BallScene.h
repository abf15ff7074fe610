#pragma once
#include "PlayerScene.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/render/ParticleEmitterManager.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/ball/BallStates.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/ball/TempBallComp.h"

#include <SDL.h>

// Two players on the small floor, each with its ball, both built by the
// match's spawners; frames are driven as in PlayerScene, mouse buttons
// through `mouseButtons`.
class BallScene : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        one = SpawnStanding({-6.0f, 0.0f, 1.0f});
        two = SpawnStanding({6.0f, 0.0f, 1.0f});
        ballOne = SpawnBall(one);
        ballTwo = SpawnBall(two);
        GameScene::FaceBalls({one, ballOne}, {two, ballTwo});
        // The second player plays with a pad that is not there: the mouse
        // and keys move the first player's ball only.
        InputBindings::ForPlayer(2).UsesController = true;
        Frame();
    }

    // A player's ball built by the match's spawner, initialised.
    Engine::EntityHandle SpawnBall(Engine::EntityHandle player)
    {
        Engine::SceneManager::SetIdle();
        const Engine::EntityHandle ball = GameScene::SpawnBall(player);
        for (Engine::LogicComp* component : *Engine::LogicManager::GetInstance().FindComponents(ball))
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
