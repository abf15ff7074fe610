// The level loaders: a contact with an entity carrying the trigger tag
// raises the loader's flag of the game-mode loop.
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/FreshCollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/FrameTime.h"
#include "game/components/objects/LevelLoader.h"
#include "game/modes/GameMode.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class LevelLoaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        GameMode::EndRequested = 0;
        GameMode::LevelLoader2Triggered = 0;
        FreshCollisionTable();
        Engine::SceneManager::SetActive();
    }
    void TearDown() override
    {
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
    }

    // An entity with a transform, and a body when asked.
    static Engine::EntityHandle Thing(const std::vector<std::string>& tags, const glm::vec3& at = glm::vec3(0.0f),
                                      bool body = false)
    {
        const Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = at;
        for (const std::string& tag : tags)
            Engine::EntityTagCompManager::GetInstance().AddTag(entity, tag);
        if (body) {
            Engine::CollisionComp& shape = *Engine::CollisionMgr::GetInstance().GetCompPtr(entity);
            shape.mCollisionShape.value = Engine::ShapeSphere;
            shape.mGravity.value = glm::vec3(0.0f);
        }
        return entity;
    }
    // Added while the scene runs, so initialised at once.
    template <class Loader>
    static Loader& Attach(Engine::EntityHandle entity, const std::string& tag)
    {
        Engine::LogicManager::GetInstance().AddComponent<Loader>(entity);
        Loader& loader = *Engine::LogicManager::GetCompPtr<Loader>(entity);
        loader.mTriggerTag = tag;
        return loader;
    }
    static void Touch(Engine::EntityHandle loader, Engine::EntityHandle other)
    {
        Engine::CollisionEvent event;
        event.other = other;
        Engine::EventHandlerList::Raise(event, loader);
    }
};

TEST_F(LevelLoaders, OnlyTheExactTriggerTagRaisesTheFlagAndEachLoaderHasItsOwn)
{
    struct Case {
        std::string trigger;
        std::vector<std::string> tags;
        bool fires;
    };
    const Case cases[] = {
        {"Ball", {"Player", "Ball"}, true}, {"Ball", {"ball"}, false}, {"Ball", {"Balls"}, false},
        {"Ball", {}, false},                {"", {""}, true},          {"", {"Ball"}, false},
    };
    for (const Case& test : cases) {
        GameMode::EndRequested = 0;
        const Engine::EntityHandle gate = Thing({});
        Attach<LevelLoader>(gate, test.trigger);
        Touch(gate, Thing(test.tags));
        EXPECT_EQ(GameMode::EndRequested, test.fires ? 1 : 0) << "'" << test.trigger << "'";
    }
    GameMode::EndRequested = 0;

    // Two kinds on one entity; a raised flag stays raised.
    const Engine::EntityHandle gate = Thing({});
    Attach<LevelLoader>(gate, "Player");
    Attach<LevelLoader2>(gate, "Ball");
    Touch(gate, Engine::EntityHandle()); // the arena itself
    Touch(Thing({}), Thing({"Player"})); // meant for another entity
    EXPECT_EQ(GameMode::EndRequested, 0);
    Touch(gate, Thing({"Ball"}));
    EXPECT_EQ(GameMode::EndRequested, 0);
    EXPECT_EQ(GameMode::LevelLoader2Triggered, 1);
    Touch(gate, Thing({"Player"}));
    Touch(gate, Thing({"Goal"}));
    EXPECT_EQ(GameMode::EndRequested, 1);
    EXPECT_EQ(GameMode::LevelLoader2Triggered, 1);
}

TEST_F(LevelLoaders, TheCollisionPassTriggersThemOnContact)
{
    InjectedFrameTime time;
    Engine::CollisionTable::GetInstance().SetPair("Default", "Default", 1);
    const Engine::EntityHandle gate = Thing({}, glm::vec3(0.0f), true);
    Attach<LevelLoader>(gate, "Player");
    const Engine::EntityHandle runner = Thing({"Player"}, glm::vec3(5.0f, 0.0f, 0.0f), true);
    time.Frame(10);
    Engine::CollisionMgr::GetInstance().Update();
    EXPECT_EQ(GameMode::EndRequested, 0) << "apart";
    Engine::Transform::PositionRef(runner) = glm::vec3(0.5f, 0.0f, 0.0f);
    time.Frame(10);
    Engine::CollisionMgr::GetInstance().Update();
    EXPECT_EQ(GameMode::EndRequested, 1);
}

TEST_F(LevelLoaders, ALoaderThatIsGoneHearsNoMore)
{
    const Engine::EntityHandle gate = Thing({});
    Attach<LevelLoader>(gate, "Player");
    Attach<LevelLoader2>(gate, "Player");
    Engine::LogicManager::GetInstance().RemoveFirst<LevelLoader>(gate);
    EXPECT_TRUE(Engine::InstanceTypeEventDispatcher<LevelLoader>::GetInstance()
                    .Find<Engine::CollisionEvent>()
                    ->GetInstances()
                    .empty());
    Touch(gate, Thing({"Player"}));
    EXPECT_EQ(GameMode::EndRequested, 0);
    EXPECT_EQ(GameMode::LevelLoader2Triggered, 1) << "the other loader still listens";

    // The whole entity goes: the second one leaves as well.
    Engine::EntityMgr::GetInstance().DestroyEntity(gate);
    StdoutOf([] { Engine::EntityMgr::GetInstance().Flush(); });
    GameMode::LevelLoader2Triggered = 0;
    Engine::CollisionEvent event;
    event.other = Thing({"Player"});
    Engine::EventHandlerList::Raise(event, Engine::EntityHandle());
    EXPECT_EQ(GameMode::LevelLoader2Triggered, 0);
}

} // namespace
