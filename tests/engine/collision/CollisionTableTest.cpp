#include "engine/collision/CollisionTable.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace {

using Engine::CollisionTable;

CollisionTable& Table() { return CollisionTable::GetInstance(); }

void AddThreeTags()
{
    Table().AddTag("Default");
    Table().AddTag("Player");
    Table().AddTag("Ball");
}

TEST(CollisionTable, NewTagsCountUpCollideWithEveryTagAndPairsReadInEitherOrder)
{
    AddThreeTags();
    EXPECT_EQ(Table().GetTagValue("Ball"), 2u);
    for (std::uint32_t a = 0; a < 3; ++a) {
        for (std::uint32_t b = 0; b < 3; ++b)
            EXPECT_EQ(Table().GetRelation(a, b), CollisionTable::kCollide) << a << "," << b;
    }
    Table().SetPair("Ball", "Player", 0);
    Table().SetPair("Ball", "Ghost", 0); // unknown name: ignored
    Table().AddTag("Player");            // known name: ignored
    EXPECT_EQ(Table().GetTags().size(), 3u);
    EXPECT_EQ(Table().GetRelations().size(), 6u);
    EXPECT_EQ(Table().GetRelation(1, 2), 0);
    EXPECT_EQ(Table().GetRelation(2, 1), 0);
    EXPECT_EQ(Table().GetRelation(5, 3), CollisionTable::kUnsetPair);
}

TEST(CollisionTableJson, TagAddedAfterALoadTakesOnePastTheLargestValue)
{
    Table().Load(nlohmann::json::parse(R"({"tags": [{"tag_name": "A", "tag_value": 7}, {"tag_name": "B", "tag_value": 9.8}],
                                           "pairs": [{"first": 9, "second": 7, "value": 1}]})"));
    Table().AddTag("C");
    EXPECT_EQ(Table().GetTagValue("C"), 10u);
    // Kept as written (first > second), so never found by a lookup.
    EXPECT_EQ(Table().GetRelation(7, 9), CollisionTable::kUnsetPair);

    // Tags listed out of order must not let a new tag reuse a value.
    Table().Load(nlohmann::json::parse(R"({"tags": [{"tag_name": "X", "tag_value": 5}, {"tag_name": "Y", "tag_value": 1}],
                                           "pairs": []})"));
    Table().AddTag("Z");
    EXPECT_EQ(Table().GetTagValue("Z"), 6u);
}

TEST(CollisionTableJson, BrokenSectionIsRefusedAndLeavesTheTableAsItWas)
{
    AddThreeTags();
    nlohmann::json before;
    Table().Save(before);
    const char* broken[] = {
        R"({"tags": [{"tag_name": "A", "tag_value": "zero"}], "pairs": []})",
        R"({"tags": [{"tag_name": null, "tag_value": 0}], "pairs": []})",
        R"({"tags": [{"tag_name": "A", "tag_value": -1}], "pairs": []})",
        R"({"tags": [], "pairs": [{"first": 0, "second": 1, "value": 1e12}]})",
        R"({"tags": [], "pairs": [{"first": 0, "second": 1}]})",
        R"({"tags": [], "pairs": [7]})",
        R"({"tags": [{"tag_name": "A", "tag_value": 0}]})",
        R"([1, 2])",
    };
    for (const char* text : broken) {
        EXPECT_ANY_THROW(Table().Load(nlohmann::json::parse(text))) << text;
        nlohmann::json after;
        Table().Save(after);
        EXPECT_EQ(after, before) << text;
    }
    EXPECT_THAT([&] { Table().Load(nlohmann::json::parse(broken[0])); },
                testing::ThrowsMessage<nlohmann::json::type_error>(testing::AllOf(
                    testing::HasSubstr("type_error.302] type must be number, but is string"),
                    testing::HasSubstr("\"tags\"[0]"))));
}

} // namespace
