#include "engine/core/Property.h"
#include "engine/core/Transform3D.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using Engine::Property;
using Engine::Property_Holder;
using Engine::Property_Map;
using nlohmann::json;

template <class Error>
int ErrorId(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.id;
    }
    return 0;
}

TEST(PropertyMap, ReadsPresentNonNullMembersIntoTheLatestPropertyOfAName)
{
    Property_Map map;
    Property<int> hidden("count", 1, map);
    Property<int> count("count", 3, map);
    Property<std::string> name("name", "old", map);
    map.FromJson(json{{"count", nullptr}, {"name", "new"}, {"extra", 1}});
    EXPECT_EQ(count.value, 3);
    map.FromJson(json{{"count", 9}});
    EXPECT_EQ(hidden.value, 1);
    json out;
    map.ToJson(out);
    EXPECT_EQ(out.dump(), R"({"count":9,"name":"new"})");
    EXPECT_EQ(ErrorId<json::type_error>([&] { map.FromJson(json::array()); }), 305);
}

TEST(PropertyValues, NumbersTheTypeCannotHoldAreRefusedNotWrapped)
{
    Property_Map map;
    Property<int> i("i", 5, map);
    Property<unsigned int> u("u", 5u, map);
    Property<float> f("f", 5.0f, map);
    for (const json& hostile : {json(1e30), json(std::numeric_limits<double>::quiet_NaN()), json(5000000000LL)}) {
        EXPECT_EQ(ErrorId<json::out_of_range>([&] { i.FromJson(hostile); }), 406) << hostile.dump();
        EXPECT_EQ(ErrorId<json::out_of_range>([&] { u.FromJson(hostile); }), 406) << hostile.dump();
    }
    EXPECT_EQ(ErrorId<json::out_of_range>([&] { u.FromJson(json(-1)); }), 406);
    EXPECT_EQ(ErrorId<json::out_of_range>([&] { f.FromJson(json(1e300)); }), 406);
    EXPECT_EQ(i.value, 5) << "a refused value changes nothing";
    EXPECT_EQ(u.value, 5u);
    EXPECT_EQ(f.value, 5.0f);
    i.FromJson(json(-7.9));
    EXPECT_EQ(i.value, -7);
}

TEST(PropertyValues, ListsAppendWhatTheyRead)
{
    Property_Map map;
    Property<std::vector<int>> ints("ints", std::vector<int>{1}, map);
    ints.FromJson(json::parse(R"({"vector_values": [{"value": 3}, {"value": 4}]})"));
    EXPECT_EQ(ints.value, (std::vector<int>{1, 3, 4}));
    // Neither a scalar nor an object reads as a list, and a bad entry adds
    // none of those before it.
    EXPECT_EQ(ErrorId<json::type_error>([&] { ints.FromJson(json{{"vector_values", 5}}); }), 302);
    EXPECT_EQ(ErrorId<json::type_error>([&] { ints.FromJson(json::parse(R"({"vector_values": {"a": {"value": 5}}})")); }), 302);
    EXPECT_EQ(ErrorId<json::out_of_range>([&] { ints.FromJson(json::parse(R"({"vector_values": [{"value": 5}, {}]})")); }), 403);
    EXPECT_EQ(ints.value, (std::vector<int>{1, 3, 4}));

    Property<std::vector<std::string>> empty("names", map);
    json out;
    empty.ToJson(out);
    EXPECT_EQ(out.dump(), R"({"vector_values":null})");
    empty.FromJson(out);
    EXPECT_TRUE(empty.value.empty());
}

TEST(PropertyValues, TransformsRoundTripAndAMissingKeyChangesNothing)
{
    Property_Map map;
    const Engine::Transform3D t{{1, 2, 3}, {4, 5, 6}, {0, 0, 1}, {0, 1, 0}};
    Property<Engine::Transform3D> transform("t", t, map);
    json out;
    transform.ToJson(out);
    EXPECT_EQ(out.at("scale").dump(), R"({"x":4.0,"y":5.0,"z":6.0})");
    transform.value = {};
    transform.FromJson(out);
    EXPECT_EQ(transform.value, t);

    out.erase("up");
    out["pos"] = {{"x", 9}, {"y", 9}, {"z", 9}};
    EXPECT_EQ(ErrorId<json::out_of_range>([&] { transform.FromJson(out); }), 403);
    EXPECT_EQ(transform.value, t);
}

TEST(Transform3D, ModelMatrixUsesTheStoredBasisAsItIsAndEqualsComparesFloatByFloat)
{
    const Engine::Transform3D t{{1, 2, 3}, {2, 3, 4}, {0, 0, 1}, {0, 2, 0}}; // up not normalised
    const glm::mat4 m = t.GetModelMatrix();
    EXPECT_EQ(m[0], glm::vec4(4, 0, 0, 0)); // cross(up, forward) * 2
    EXPECT_EQ(m[1], glm::vec4(0, 6, 0, 0));
    EXPECT_EQ(m[2], glm::vec4(0, 0, 4, 0));
    EXPECT_EQ(m[3], glm::vec4(1, 2, 3, 1));

    Property_Map map;
    Property<glm::vec3> a("a", glm::vec3(std::numeric_limits<float>::quiet_NaN(), 0.0f, 1.0f), map);
    Property<glm::vec3> b("b", glm::vec3(0.0f, -0.0f, 1.0f), map);
    EXPECT_FALSE(a.Equals(&a)) << "NaN never equals";
    a.value.x = 0.0f;
    EXPECT_TRUE(a.Equals(&b)) << "-0 equals 0";
}

// A record of the kind game code adds without touching the engine.
struct Limits : Property_Holder {
    Property<int> low{"low", 1, mPropertyMap};
    Property<std::vector<int>> steps{"steps", mPropertyMap};
};

struct Owner : Property_Holder {
    Property<Limits> limits{"limits", mPropertyMap};
    Property<float> speed{"speed", 2.5f, mPropertyMap};
};

TEST(PropertyRecords, ARecordIsANestedObjectOfItsProperties)
{
    Owner owner;
    json out;
    owner.GetPropertyMap().ToJson(out);
    EXPECT_EQ(out.dump(), R"({"limits":{"low":1,"steps":{"vector_values":null}},"speed":2.5})");
    owner.GetPropertyMap().FromJson(json::parse(R"({"limits": {"low": 8}})"));
    EXPECT_EQ(owner.limits.value.low.value, 8);
    const Owner fresh;
    EXPECT_TRUE(owner.limits.Equals(&fresh.limits)) << "records compare by type only";
}

struct LongerOwner : Owner {
    Property<int> extra{"extra", 3, mPropertyMap};
};

TEST(PropertyRecords, ACopiedHolderReadsAndWritesItsOwnMembers)
{
    // A bare holder copied out of a derived object would take over map
    // entries for members it does not have; only whole objects copy.
    EXPECT_FALSE(std::is_copy_constructible_v<Property_Holder>);
    EXPECT_FALSE(std::is_copy_assignable_v<Property_Holder>);
    const LongerOwner longer;
    LongerOwner longerCopy(longer);
    longerCopy.GetPropertyMap().FromJson(json::parse(R"({"extra": 5})"));
    EXPECT_EQ(longerCopy.extra.value, 5);
    EXPECT_EQ(longer.extra.value, 3);

    auto source = std::make_unique<Owner>();
    Owner copy(*source);
    Owner assigned;
    assigned = *source;
    std::vector<Owner> grown(2);
    grown.emplace_back(); // reallocation copies the elements
    source.reset();       // a pointer into the source would now dangle

    for (Owner* holder : {&copy, &assigned, &grown[0]}) {
        holder->GetPropertyMap().FromJson(json::parse(R"({"speed": 9, "limits": {"low": 6}})"));
        EXPECT_EQ(holder->speed.value, 9.0f);
        EXPECT_EQ(holder->limits.value.low.value, 6);
        json out;
        holder->GetPropertyMap().ToJson(out);
        EXPECT_EQ(out.at("limits").at("low"), 6);
    }
}

} // namespace
