#pragma once
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventHandlerList.h"
#include "support/CreepingClock.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace CollisionTest {

// One collision event as a handler saw it, with where the two entities stood
// at that moment (which tells whether a body was integrated before the pair).
struct Heard {
    std::uint32_t target = 0;
    std::uint32_t other = 0;
    glm::vec3 normal{0.0f};
    float depth = 0.0f;
    glm::vec3 targetPosition{0.0f};
    glm::vec3 otherPosition{0.0f};
};

inline std::vector<Heard>& Journal()
{
    static std::vector<Heard> heard;
    return heard;
}

// Runs after the event is written down; lets a test act inside the pass.
inline std::function<void(const Heard&)>& OnHeard()
{
    static std::function<void(const Heard&)> action;
    return action;
}

inline void Listen(Engine::EventEnvelope* envelope)
{
    const auto* event = dynamic_cast<const Engine::CollisionEvent*>(envelope->event);
    if (!event)
        return;
    Heard heard{envelope->target.GetIndex(), event->other.GetIndex(), event->normal, event->depth,
                Engine::Transform::GetWorldPosition(envelope->target), Engine::Transform::GetWorldPosition(event->other)};
    Journal().push_back(heard);
    if (OnHeard())
        OnHeard()(heard);
}

class Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::FrameRateController::SetMaxDt(0.0);
        Engine::FrameRateController::SetTimeScale(1.0);
        mClock.Advance(1000);
        Engine::FrameRateController::EndFrame();
        Engine::EventHandlerList::AddOnce(&Listen);
        Journal().clear();
        OnHeard() = nullptr;
        Mgr(); // the manager adds the "Default" tag
    }
    void TearDown() override
    {
        OnHeard() = nullptr;
        Mgr().SetPairPush(nullptr);
    }

    // The next frame time becomes exactly this long.
    void SetFrame(std::uint64_t milliseconds)
    {
        mClock.Advance(milliseconds);
        Engine::FrameRateController::EndFrame();
    }

    static Engine::CollisionMgr& Mgr() { return Engine::CollisionMgr::GetInstance(); }
    static Engine::SpatialCollisionMgr& Statics() { return Engine::SpatialCollisionMgr::GetInstance(); }
    static Engine::CollisionTable& Table() { return Engine::CollisionTable::GetInstance(); }

    static Engine::EntityHandle Placed(const glm::vec3& position, const glm::vec3& scale)
    {
        const Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = position;
        Engine::Transform::ScaleRef(entity) = scale;
        return entity;
    }

    // A dynamic body at rest, without gravity unless given.
    static Engine::EntityHandle Body(Engine::ECollisionShape shape, const glm::vec3& position,
                                     const glm::vec3& scale = glm::vec3(1.0f))
    {
        const Engine::EntityHandle entity = Placed(position, scale);
        Engine::CollisionComp& body = *Mgr().GetCompPtr(entity);
        body.mCollisionShape.value = shape;
        body.mGravity.value = glm::vec3(0.0f);
        return entity;
    }

    static Engine::EntityHandle Static(Engine::ECollisionShape shape, const glm::vec3& position,
                                       const glm::vec3& scale = glm::vec3(1.0f))
    {
        const Engine::EntityHandle entity = Placed(position, scale);
        Statics().GetCompPtr(entity)->shape.value = shape;
        return entity;
    }

    static glm::vec3 Position(Engine::EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }
    static Engine::CollisionComp& BodyOf(Engine::EntityHandle entity) { return *Mgr().FindComp(entity); }

private:
    CreepingClock mClock{0};
};

} // namespace CollisionTest
