#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "LogicFixture.h"

#include <gtest/gtest.h>

namespace {

using Engine::CollisionEvent;
using Engine::EntityHandle;
using Engine::InstanceTypeEventDispatcher;

// The churn's counts and its generator, which every run starts from anew.
struct Churn {
    int alive = 0;
    int budget = 0; // components the churn may still attach
    std::uint32_t seed = 12345;
};
Churn churn;

std::uint32_t AnyIndex()
{
    churn.seed = churn.seed * 1103515245u + 12345u;
    return 1 + ((churn.seed >> 16) & 0x7FFF) % 64;
}

// Attaches components to its own and other entities, removes other
// entities' components, raises targeted and broadcast events and queues its
// entity's destruction, from Update, from its event handler and from
// Shutdown.
class Busy : public Engine::LogicComp {
public:
    Busy() { ++churn.alive; }
    ~Busy() override
    {
        InstanceTypeEventDispatcher<Busy>::GetInstance().RemoveInstance(this);
        --churn.alive;
    }
    void Initialize() override { Engine::Subscribe<CollisionEvent, Busy>(this, &Busy::OnHit); }
    void Update() override
    {
        Spawn(owner);
        Spawn(EntityHandle(AnyIndex()));
        Hit(EntityHandle(AnyIndex()));
        if (AnyIndex() % 8 == 0)
            Hit(EntityHandle());
        if (AnyIndex() % 16 == 0)
            owner.Destroy();
        if (const EntityHandle other(AnyIndex());
            churn.budget > 0 && AnyIndex() % 32 == 0 && other.GetIndex() != owner.GetIndex())
            Engine::LogicManager::GetInstance().RemoveComponent(other);
    }
    void Shutdown() override
    {
        InstanceTypeEventDispatcher<Busy>::GetInstance().RemoveInstance(this);
        Spawn(EntityHandle(AnyIndex()));
        Hit(EntityHandle(AnyIndex()));
    }
    void OnHit(CollisionEvent* event)
    {
        if (AnyIndex() % 4 == 0)
            Spawn(event->other);
    }

private:
    static void Spawn(EntityHandle entity)
    {
        if (!entity.IsNull() && churn.budget-- > 0)
            Engine::LogicManager::GetInstance().AddComponent<Busy>(entity);
    }
    void Hit(EntityHandle target)
    {
        CollisionEvent event;
        event.other = owner;
        Engine::EventHandlerList::Raise(event, target);
    }
};

TEST_F(LogicFixture, ComponentsThatAttachAndRaiseEverywhereLoseNothing)
{
    auto& entities = Engine::EntityMgr::GetInstance();
    auto refill = [&entities] {
        while (entities.GetCount() < 64)
            NewEntity();
    };
    refill();
    Engine::SceneManager::SetActive();
    churn = Churn{};
    churn.budget = 3000;
    for (int i = 0; i < 32; ++i)
        Logic().AddComponent<Busy>(EntityHandle(AnyIndex()));
    for (int frame = 0; frame < 60; ++frame) {
        Logic().Update();
        entities.Flush();
        refill();
    }
    EXPECT_LE(churn.budget, 0);

    // Scene destruction also shuts down what the Shutdowns attach. Whether
    // the churn left a component alive turns on where the components landed
    // in memory (instances are served in address order), so one more starts
    // the chain.
    churn.budget = 100;
    Logic().AddComponent<Busy>(EntityHandle(1));
    Engine::SceneManager::DestroySceneImmediately();
    EXPECT_LE(churn.budget, 0);
    EXPECT_EQ(Logic().Count(), 0u);
    EXPECT_EQ(churn.alive, 0);
    EXPECT_TRUE(InstanceTypeEventDispatcher<Busy>::GetInstance().Find<CollisionEvent>()->GetInstances().empty());
}

} // namespace
