#include "engine/core/CompManager.h"
#include "engine/core/EntityManager.h"
#include "support/ThrownText.h"

#include <gmock/gmock.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

namespace {

using Engine::EntityHandle;
using Engine::EntityMgr;
using nlohmann::json;

EntityMgr& Mgr() { return EntityMgr::GetInstance(); }

void CreateMany(int count)
{
    for (int i = 0; i < count; ++i)
        ASSERT_FALSE(Mgr().CreateEntity().IsNull());
}

TEST(EntityMgr, ReusesFreedIndicesFirstInFirstOutAndGenerationsWrapAfterSixteen)
{
    CreateMany(3);
    const EntityHandle second(2);
    second.Destroy();
    EXPECT_TRUE(second.IsValid()) << "destruction waits for the flush";
    EXPECT_TRUE(second.Exists());
    Mgr().Flush();
    EXPECT_FALSE(second.IsValid());
    EXPECT_FALSE(EntityHandle(2).Exists()) << "of the index's generation, but the index is free";
    for (std::uint32_t index = 4; index <= 4095; ++index)
        ASSERT_EQ(Mgr().CreateEntity().GetIndex(), index);
    const EntityHandle reused = Mgr().CreateEntity();
    EXPECT_EQ(reused.value, (2u << 4) | 1u);
    Mgr().DestroyEntity(second); // stale: ignored
    Mgr().Flush();
    EXPECT_TRUE(reused.IsValid());
    EXPECT_TRUE(Mgr().CreateEntity().IsNull()) << "the 4096th live entity";

    const EntityHandle last(4095);
    last.Destroy();
    last.Destroy();
    Mgr().Flush();
    EXPECT_EQ(Mgr().GetCount(), 4094u);
    EXPECT_EQ(Mgr().CreateEntity().GetIndex(), 4095u);
    EXPECT_TRUE(Mgr().CreateEntity().IsNull()) << "a double release would have queued the index twice";
    for (int round = 1; round < 16; ++round) {
        EntityHandle(4095).Destroy();
        Mgr().Flush();
        ASSERT_EQ(Mgr().CreateEntity().GetIndex(), 4095u);
    }
    EXPECT_EQ(Mgr().GetGeneration(4095), 0u);
    EXPECT_TRUE(last.IsValid()) << "four bits are the whole protection";
}

TEST(EntityHandle, JsonKeepsTheIndexAndNeverReadsOutsideTheTable)
{
    Mgr().CreateEntity().Destroy();
    Mgr().Flush();
    const EntityHandle one(1);
    EXPECT_EQ(json(one), json(1u));
    EXPECT_EQ(json(1u).get<EntityHandle>().value, one.value) << "takes the current generation";
    EXPECT_EQ(json(1.9).get<EntityHandle>().value, one.value);
    EXPECT_TRUE(EntityHandle(4096).IsNull());
    for (const json& hostile : {json(4096), json(-1), json(1e300), json(std::numeric_limits<double>::quiet_NaN())})
        EXPECT_TRUE(hostile.get<EntityHandle>().IsNull()) << hostile.dump();
    EXPECT_THROW(json("3").get<EntityHandle>(), json::type_error);
}

// On its first removal queues another entity's destruction and flushes again,
// as a perk destroying its HUD entity may.
class ChainingManager : public Engine::ICompManager {
public:
    void RemoveComponent(EntityHandle entity) override
    {
        removed.push_back(entity.GetIndex());
        stillLive.push_back(Mgr().IsInUse(entity.GetIndex()));
        if (chained.IsValid()) {
            chained.Destroy();
            Mgr().Flush();
            chained = EntityHandle();
        }
    }
    bool HasComponent(EntityHandle) const override { return false; }
    void Clear() override {}
    std::uint64_t Count() const override { return 0; }
    void SwapWithAside() override {}

    EntityHandle chained;
    std::vector<std::uint32_t> removed;
    std::vector<bool> stillLive;
};

TEST(EntityMgr, DestructionsQueuedDuringAFlushAreServedInTheSameFlush)
{
    ChainingManager manager;
    const EntityHandle owner = Mgr().CreateEntity();
    manager.chained = Mgr().CreateEntity();
    owner.Destroy();
    Mgr().Flush();
    EXPECT_EQ(Mgr().GetCount(), 0u);
    EXPECT_EQ(manager.removed, (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(manager.stillLive, (std::vector<bool>{true, true})) << "components go before the index";
}

json SavedSection()
{
    json document;
    Mgr().Save(document);
    return document.at("EntityMgr");
}

TEST(EntityMgrFile, SaveWritesEveryFlagAndLoadRestoresThem)
{
    CreateMany(4);
    EntityHandle(2).Destroy();
    Mgr().Flush();
    const json section = SavedSection();
    EXPECT_EQ(section.dump().substr(0, 11), "{\"handles\":") << "keys are sorted";
    ASSERT_EQ(section.at("handles").size(), 4096u);
    EXPECT_EQ(section["handles"][2], false);
    EXPECT_EQ(section.at("handles_in_use"), 3);

    Mgr().Load(json{{"EntityMgr", section}});
    EXPECT_EQ(Mgr().GetCount(), 3u);
    EXPECT_TRUE(EntityHandle(4).IsValid());
    EXPECT_EQ(Mgr().GetGeneration(2), 0u);
    EXPECT_EQ(Mgr().CreateEntity().GetIndex(), 2u);
    EXPECT_EQ(Mgr().CreateEntity().GetIndex(), 5u);

    json later = section;
    later["version"] = 2;
    Mgr().Load(later);
    EXPECT_EQ(Mgr().GetCount(), 0u) << "another version loads empty";
}

TEST(EntityMgrFile, AFailedLoadLeavesAnEmptyConsistentManager)
{
    Mgr().CreateEntity();
    json section = SavedSection();
    section["handles"].erase(4095);
    EXPECT_THAT(ThrownText<json::out_of_range>([&] { Mgr().Load(section); }),
                testing::HasSubstr("out_of_range.401] array index 4095 is out of range"));
    EXPECT_FALSE(Mgr().IsInUse(1));

    EXPECT_THROW(Mgr().Load(json{{"handles", {true, true, 0}}}), json::type_error);
    EXPECT_EQ(Mgr().GetCount(), 0u);
    EXPECT_EQ(Mgr().CreateEntity().GetIndex(), 1u) << "no live index left in the free queue";
}

TEST(EntityMgrFile, CountComesFromTheFlagsAndFlagZeroIsNeverSet)
{
    CreateMany(2);
    json section = SavedSection();
    section["handles_in_use"] = 4000;
    section["handles"][0] = true;
    Mgr().Load(section);
    EXPECT_EQ(Mgr().GetCount(), 2u);
    EXPECT_FALSE(Mgr().IsInUse(0));
    Mgr().DestroyAll();
    EXPECT_EQ(Mgr().GetCount(), 0u) << "no underflow";

    json handles = json::array();
    for (int i = 0; i < 5000; ++i)
        handles.push_back(i == 3 || i >= 4095);
    Mgr().Load(json{{"handles", handles}}); // older files: no version, cut at 4096
    EXPECT_EQ(Mgr().GetCount(), 2u);
    EXPECT_TRUE(Mgr().IsInUse(4095));
}

} // namespace
