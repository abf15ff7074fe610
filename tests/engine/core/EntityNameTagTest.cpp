#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/SceneFormat.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

using Engine::EntityHandle;
using Engine::EntityNameCompManager;
using Engine::EntityTagCompManager;
using Handles = std::vector<EntityHandle>;

EntityNameCompManager& Names() { return EntityNameCompManager::GetInstance(); }
EntityTagCompManager& Tags() { return EntityTagCompManager::GetInstance(); }

EntityHandle Named(const char* name)
{
    const EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    Names().AddComponent(entity, name);
    return entity;
}

TEST(EntityNames, LongNamesKeepTheirFirstFifteenCharacters)
{
    const EntityHandle entity = Named(nullptr);
    EXPECT_STREQ(Names().GetName(entity), "Unnamed Entity");
    Names().SetName(entity, "ABCDEFGHIJKLMNOPQRST"); // 20 characters
    EXPECT_STREQ(Names().GetName(entity), "ABCDEFGHIJKLMNO");
    EXPECT_TRUE(Names().FindEntitiesByName("ABCDEFGHIJKLMNOPQRST").empty());
    EXPECT_EQ(Names().FindEntitiesByName("ABCDEFGHIJKLMNO"), Handles{entity});

    const EntityHandle other = Named("123456789012345678"); // 18 characters
    EXPECT_STREQ(Names().GetName(other), "123456789012345");
    // A cut never leaves half a UTF-8 character, which would make the scene
    // writer refuse the whole save.
    Engine::SetEntityName(other, "\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4"); // 16 bytes
    EXPECT_STREQ(Names().GetName(other), "\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4");
    Engine::SetEntityName(entity, "ab\u20ac\u20ac\u20ac\u20ac\u20ac"); // 17 bytes
    EXPECT_STREQ(Names().GetName(entity), "ab\u20ac\u20ac\u20ac\u20ac");
    nlohmann::json document;
    Names().Save(document);
    EXPECT_NO_THROW(document.dump(4));

    Names().AddComponent(other, "Other"); // a second AddComponent keeps the name
    EXPECT_STREQ(Names().GetName(other), "\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4\u00c4");
}

TEST(EntityNames, RemovalMovesTheLastSlotIntoTheHole)
{
    const EntityHandle a = Named("A");
    const EntityHandle b = Named("B");
    const EntityHandle c = Named("C");
    Names().RemoveComponent(a);
    EXPECT_EQ(Names().FindEntitiesByNamePrefix(""), (Handles{c, b}));
    EXPECT_STREQ(Names().GetName(c), "C");
    EXPECT_STREQ(Names().GetName(b), "B");
    EXPECT_FALSE(Names().HasComponent(a));
    EXPECT_STREQ(Names().GetName(a), "");
    Names().RemoveComponent(a); // nothing left to remove
    EXPECT_EQ(Names().Count(), 2u);
    Names().RemoveComponent(b); // the last slot
    EXPECT_EQ(Names().FindEntitiesByNamePrefix(""), Handles{c});
}

TEST(EntityNames, PrefixAndExactLookups)
{
    const EntityHandle player = Named("Player");
    const EntityHandle mouse = Named("Player_Mouse");
    const EntityHandle second = Named("2 Player_Mouse");
    EXPECT_EQ(Names().FindEntitiesByNamePrefix("Player"), (Handles{player, mouse}));
    EXPECT_EQ(Names().FindEntitiesByName("Player"), Handles{player});
    EXPECT_EQ(Names().FindEntitiesByName("2 Player_Mouse"), Handles{second});
    EXPECT_TRUE(Names().FindEntitiesByName("Player_Mous").empty());
    EXPECT_TRUE(Names().FindEntitiesByNamePrefix("Player_Mouse_And_More").empty());
    EXPECT_TRUE(Names().FindEntitiesByName(nullptr).empty());
}

EntityHandle Tagged(std::initializer_list<const char*> tags)
{
    const EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    Tags().AddComponent(entity);
    for (const char* tag : tags)
        Tags().AddTag(entity, tag);
    return entity;
}

TEST(EntityTags, TagsAreUniqueOrderedAndCaseSensitive)
{
    const EntityHandle ball = Tagged({"Ball", "Hot", "Ball"});
    EXPECT_EQ(Tags().GetTags(ball), (std::vector<std::string>{"Ball", "Hot"}));
    EXPECT_TRUE(Tags().HasTag(ball, "Ball"));
    EXPECT_FALSE(Tags().HasTag(ball, "ball"));
    Tags().AddTag(ball, "ball");
    EXPECT_EQ(Tags().GetTags(ball).size(), 3u);
    Tags().AddComponent(ball); // keeps the list
    EXPECT_EQ(Tags().GetTags(ball).size(), 3u);
}

TEST(EntityNamesAndTags, EntityWithoutTheComponentReadsEmptyAndOnlyTheAddingCallsCreateIt)
{
    const EntityHandle bare = Engine::EntityMgr::GetInstance().CreateEntity();
    Names().SetName(bare, "Ignored");
    EXPECT_FALSE(Names().HasComponent(bare));
    EXPECT_EQ(Tags().GetCompHandle(bare), EntityHandle());
    EXPECT_FALSE(Tags().HasTag(bare, "Player"));
    EXPECT_TRUE(Tags().GetTags(bare).empty());
    Engine::SetEntityName(bare, "GoalBall");
    EXPECT_STREQ(Names().GetName(bare), "GoalBall");
    Tags().AddTag(bare, "Player");
    EXPECT_EQ(Tags().GetCompHandle(bare), bare);
    EXPECT_TRUE(Tags().HasTag(bare, "Player"));

    // The null handle gets nothing.
    EXPECT_EQ(Names().AddComponent(EntityHandle(), "Nobody"), EntityHandle());
    Engine::SetEntityName(EntityHandle(), "Nobody");
    EXPECT_EQ(Tags().AddComponent(EntityHandle()), EntityHandle());
    Tags().AddTag(EntityHandle(), "Player");
    EXPECT_EQ(Names().Count(), 1u);
    EXPECT_EQ(Tags().Count(), 1u);
}

TEST(EntityTags, RemovingSlotZeroOfThreeMovesTheLastSlotAndFindingKeepsEntityOrder)
{
    const EntityHandle a = Tagged({"Tile"});
    const EntityHandle b = Tagged({"Ball"});
    const EntityHandle c = Tagged({"Ball", "Tile"});
    Tags().RemoveComponent(a);
    EXPECT_EQ(Tags().GetTags(c), (std::vector<std::string>{"Ball", "Tile"}));
    EXPECT_EQ(Tags().GetTags(b), std::vector<std::string>{"Ball"});
    nlohmann::json document;
    Tags().Save(document);
    const nlohmann::json& section = document.at("EntityTagMgr");
    EXPECT_EQ(section.at("tag_owner_indices").at(0), c.GetIndex());
    EXPECT_EQ(section.at("tag_owner_indices").at(2), 65535);
    EXPECT_EQ(section.at("tag_indices").at(a.GetIndex()), 65535);
    EXPECT_EQ(section.at("tag_vecs").size(), 2u);

    Tags().AddTag(a, "Tile"); // now in the last slot
    EXPECT_EQ(Tags().FindEntitiesWithTag("Tile"), (Handles{a, c}));
    EXPECT_EQ(Tags().FindEntitiesWithTag("Ball"), (Handles{b, c}));
    EXPECT_TRUE(Tags().FindEntitiesWithTag("tile").empty());
}

TEST(EntityTags, EmptyListSavesNullAndLoadsBackAsAnEmptyList)
{
    const EntityHandle entity = Tagged({});
    nlohmann::json archetype;
    Tags().SaveEntity(archetype, entity);
    EXPECT_TRUE(archetype.at("Tags").is_null());
    const EntityHandle copy = Engine::EntityMgr::GetInstance().CreateEntity();
    Tags().LoadEntity(archetype, copy);
    EXPECT_TRUE(Tags().HasTagComp(copy));
    EXPECT_TRUE(Tags().GetTags(copy).empty());
}

// Older scenes keep the tables at the top level; another version is ignored.
TEST(EntityNamesAndTags, OlderLayoutLoadsAndOtherVersionsAreIgnored)
{
    const EntityHandle a = Tagged({"Player", "Mouse"});
    Names().AddComponent(a, "Alpha");
    nlohmann::json saved;
    Tags().Save(saved);
    Names().Save(saved);
    Tags().Clear();
    Names().Clear();

    nlohmann::json older = saved.at("EntityTagMgr");
    older.update(saved.at("EntityNameComps"));
    older.erase("version");
    Tags().Load(older);
    Names().Load(older);
    EXPECT_EQ(Tags().GetTags(a), (std::vector<std::string>{"Player", "Mouse"}));
    EXPECT_STREQ(Names().GetName(a), "Alpha");

    saved["EntityTagMgr"]["version"] = 0;
    saved["EntityNameComps"]["version"] = 2;
    Tags().Clear();
    Names().Clear();
    Tags().Load(saved);
    Names().Load(saved);
    EXPECT_FALSE(Tags().HasTagComp(a));
    EXPECT_FALSE(Names().HasComponent(a));
}

// A table holds at most 4096 entries: a shorter one sets the entries it has
// and leaves the rest as they were; a longer one is read to its 4096th.
TEST(EntityNamesAndTags, TablesOfOtherLengthsSetTheEntriesTheyHold)
{
    using nlohmann::json;
    // Entity 2 is named "Two" and tagged "Ball" in slot 0, entity 1 "One"
    // and "Tile" in slot 1; every other entity has neither.
    const json names = {{"EntityNameComps",
                         {{"version", 1},
                          {"name_indices", {65535, 1, 0}},
                          {"owner_indices", {2, 1}},
                          {"names", {"Two", "One"}}}}};
    json tags = {{"EntityTagMgr",
                  {{"version", 1},
                   {"tag_indices", {65535, 1, 0}},
                   {"tag_owner_indices", {2, 1}},
                   {"tag_vecs", {{{"tags", {"Ball"}}}, {{"tags", {"Tile"}}}}}}}};
    Names().Clear();
    Tags().Clear();
    Names().Load(names);
    Tags().Load(tags);
    EXPECT_STREQ(Names().GetName(EntityHandle(1)), "One");
    EXPECT_STREQ(Names().GetName(EntityHandle(2)), "Two");
    EXPECT_TRUE(Tags().HasTag(EntityHandle(1), "Tile"));
    EXPECT_TRUE(Tags().HasTag(EntityHandle(2), "Ball"));
    EXPECT_FALSE(Names().HasComponent(EntityHandle(3)) || Tags().HasTagComp(EntityHandle(4095)));

    // What a short table leaves must still agree with what it brings.
    Names().AddComponent(EntityHandle(7), "Seven"); // slot 2, past the file's names
    EXPECT_THROW(Names().Load(names), Engine::SceneFormat::Error);
    EXPECT_STREQ(Names().GetName(EntityHandle(7)), "Seven");

    // Entries from 4096 on are never read, whatever they hold.
    json& indices = tags["EntityTagMgr"]["tag_indices"];
    while (indices.size() < 4096)
        indices.push_back(65535);
    indices.push_back("not read");
    Tags().Clear();
    Tags().Load(tags);
    EXPECT_TRUE(Tags().HasTag(EntityHandle(2), "Ball"));
}

} // namespace
