#include "LogicFixture.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>

namespace {

using Engine::EntityHandle;
using Engine::LogicManager;
using Engine::SceneManager;
using LogicTest::Journal;
using LogicTest::Probe;
using Strings = std::vector<std::string>;

// Attaches a sibling in its first Initialize, as gameplay components attach
// their state-machine component.
class Recruiter : public Probe {
public:
    void Initialize() override
    {
        Probe::Initialize();
        if (initialized == 1)
            Engine::LogicManager::GetInstance().AddComponent<Probe>(owner);
    }
};

using LogicInitialisation = LogicFixture;

TEST_F(LogicInitialisation, CreationWaitsForTheBatchAndActiveInitialisesAtOnce)
{
    const EntityHandle entity = NewEntity();
    SceneManager::SetCreation();
    Probe* built = Add<Recruiter>(entity);
    EXPECT_NE(StderrOf([] { Logic().InitializeLogicComponents(); })
                  .find("[LogicManager] Tried to initialise logic components outside of scene idle state.\n"),
              std::string::npos);
    EXPECT_EQ(built->initialized, 0);

    // The sibling attached during the batch is initialised by it too.
    SceneManager::SetIdle();
    Logic().InitializeLogicComponents();
    ASSERT_EQ(Count(entity), 2u);
    EXPECT_EQ(Journal(), (Strings{":init", ":init"}));
    Logic().InitializeLogicComponents();
    EXPECT_EQ(built->initialized, 2);

    SceneManager::SetActive();
    EXPECT_EQ(Add<Probe>(entity)->initialized, 1);
}

using LogicRemoval = LogicFixture;

TEST_F(LogicRemoval, EmptiedEntryStaysAndAReusedIndexReachesIt)
{
    const EntityHandle first = NewEntity();
    Add<Probe>(first, "a");
    Add<Probe>(first, "b");
    Add<Probe>(NewEntity(), "c");

    // The entity phase removes a destroyed entity's components.
    first.Destroy();
    Engine::EntityMgr::GetInstance().Flush();
    EXPECT_EQ(Journal(), (Strings{"a:shutdown", "b:shutdown"}));
    EXPECT_TRUE(Logic().HasComponent(first));
    EXPECT_EQ(Logic().Count(), 2u);
    EXPECT_TRUE(LogicManager::GetComp<Probe>(first).IsNull());
    EXPECT_FALSE(Engine::HasLogicComponents(first));

    const EntityHandle reused(first.GetIndex());
    ASSERT_NE(reused.GetGeneration(), first.GetGeneration());
    Add<Probe>(reused, "d");
    EXPECT_EQ(Logic().Count(), 2u);
    EXPECT_EQ(Count(first), 1u);
    EXPECT_TRUE(Engine::HasLogicComponents(reused));
    EXPECT_FALSE(Engine::HasLogicComponents(EntityHandle()));
}

TEST_F(LogicRemoval, ClearShutsDownLastToFirstPerEntityAndDropsEveryEntry)
{
    const EntityHandle low(2), high(3);
    Add<Probe>(high, "h1");
    Add<Probe>(low, "l1");
    Add<Probe>(low, "l2");
    Logic().Clear();
    EXPECT_EQ(Journal(), (Strings{"l2:shutdown", "l1:shutdown", "h1:shutdown"}));
    EXPECT_EQ(Logic().Count(), 0u);
}

// Only the first match goes, and the next frame's walk, laid out before
// the removal, must not reach it.
TEST_F(LogicRemoval, RemoveFirstTakesTheFirstMatchOnlyAndTheNextFrameSkipsIt)
{
    const EntityHandle entity = NewEntity();
    Add<Probe>(entity, "a");
    Add<LogicTest::DerivedProbe>(entity, "b");
    Add<LogicTest::DerivedProbe>(entity, "c");
    Logic().Update();
    Journal().clear();
    Logic().RemoveFirst<LogicTest::DerivedProbe>(entity);
    Logic().Update();
    EXPECT_EQ(Journal(), (Strings{"b:shutdown", "a:update", "c:update"}));
}

TEST_F(LogicFixture, GetCompPtrFindsTheFirstDerivedMatch)
{
    const EntityHandle entity = NewEntity();
    LogicTest::Gauge* gauge = Add<LogicTest::Gauge>(entity);
    Probe* derived = Add<LogicTest::DerivedProbe>(entity, "derived");
    Add<Probe>(entity, "plain");
    EXPECT_EQ(LogicManager::GetCompPtr<Probe>(entity), derived);
    EXPECT_EQ(LogicManager::GetCompPtr<Engine::LogicComp>(entity), gauge);
    EXPECT_EQ(LogicManager::GetCompPtr<Engine::SMComponent>(entity), nullptr);
    EXPECT_EQ(Engine::GetLogicComp<Probe>(entity), entity);
    EXPECT_TRUE(Engine::GetLogicComp<Engine::SMComponent>(entity).IsNull());
}

// A probe that changes what the manager holds in its first Update.
class ActsInFirstUpdate : public Probe {
public:
    void Update() override
    {
        Probe::Update();
        if (updated == 1)
            Act(Engine::LogicManager::GetInstance());
    }

protected:
    virtual void Act(Engine::LogicManager& logic) = 0;
};

// Attaches components to its own entity, to the entity before it and to the
// one after it.
class Spawner : public ActsInFirstUpdate {
    void Act(Engine::LogicManager& logic) override
    {
        for (std::uint32_t index : {owner.GetIndex(), owner.GetIndex() - 1, owner.GetIndex() + 1})
            logic.AddComponent<Probe>(EntityHandle(index));
    }
};

using LogicUpdate = LogicFixture;

TEST_F(LogicUpdate, AscendingEntityIndexThenAttachOrderAndNewcomersFollowTheSnapshotRule)
{
    const EntityHandle spawner(10);
    Add<Spawner>(spawner, "spawner");
    Add<Probe>(EntityHandle(12), "12a");
    Add<Probe>(EntityHandle(3), "3a");
    Add<Probe>(EntityHandle(7), "7a");
    Add<Probe>(EntityHandle(3), "3b");
    Logic().Update();
    // Index 11 is still ahead of the walk and runs now; the newcomers of the
    // spawner's own entity and of index 9 wait for the next frame.
    EXPECT_EQ(Journal(), (Strings{"3a:update", "3b:update", "7a:update", "spawner:update", ":update", "12a:update"}));
    EXPECT_EQ(LogicManager::GetCompPtr<Probe>(EntityHandle(11))->updated, 1);
    EXPECT_EQ(LogicManager::GetCompPtr<Probe>(EntityHandle(9))->updated, 0);
    EXPECT_EQ(static_cast<Probe*>(Logic().FindComponents(spawner)->at(1))->updated, 0);
    Journal().clear();
    Logic().Update();
    EXPECT_EQ(Journal().size(), 8u);
}

// Removes the entity after it and the first component of its own entity
// (itself is the second).
class Remover : public ActsInFirstUpdate {
    void Act(Engine::LogicManager& logic) override
    {
        logic.RemoveComponent(EntityHandle(owner.GetIndex() + 1));
        logic.RemoveFirst<Probe>(owner);
    }
};

// Removes itself.
class Leaver : public ActsInFirstUpdate {
    void Act(Engine::LogicManager& logic) override { logic.RemoveFirst<Leaver>(owner); }
};

// The list shrinks under the walk: the components after the removed ones
// move up, and are still updated in their turn. The leaver changes the
// manager first in the frame, the remover after it.
TEST_F(LogicUpdate, ComponentsRemovedByAnEarlierUpdateAreNotUpdatedAndTheWalkGoesOn)
{
    const EntityHandle leaver(4), remover(5);
    Add<Probe>(leaver, "4a");
    Add<Leaver>(leaver, "leaver");
    Add<Probe>(leaver, "4c");
    Add<Probe>(remover, "5a");
    Add<Remover>(remover, "remover");
    Add<Probe>(remover, "5c");
    Add<Probe>(EntityHandle(6), "6a");
    Add<Probe>(EntityHandle(7), "7a");
    Logic().Update();
    EXPECT_EQ(Journal(), (Strings{"4a:update", "leaver:update", "leaver:shutdown", "4c:update", "5a:update",
                                  "remover:update", "6a:shutdown", "5a:shutdown", "5c:update", "7a:update"}));
    Journal().clear();
    Logic().Update();
    EXPECT_EQ(Journal(), (Strings{"4a:update", "4c:update", "remover:update", "5c:update", "7a:update"}));
}

} // namespace
