#include "TestComponents.h"
#include "support/FreshProcess.h"

#include <gtest/gtest.h>
#include <memory>

// Outside the unnamed namespace, whose name would lead the type name.
namespace Outer {
template <class A, class B>
class Pair {};
} // namespace Outer

namespace {

using Engine::Factory;
using Engine::StripClassKeywords;
using Engine::TypeRegistry;

TEST(TypeNames, StripRemovesEveryClassAndStructKeywordAndNothingElse)
{
    EXPECT_EQ(StripClassKeywords("struct PasivePerkss::RocketJump"), "PasivePerkss::RocketJump");
    EXPECT_EQ(StripClassKeywords("class Pair<class Engine::LogicComp,struct Leaf>"), "Pair<Engine::LogicComp,Leaf>");
    // Each search restarts at the front, so a keyword an erase forms goes too.
    EXPECT_EQ(StripClassKeywords("claclass ss Hidden"), "Hidden");
    EXPECT_EQ(StripClassKeywords("strstruct uct Hidden"), "Hidden");
    EXPECT_EQ(StripClassKeywords("enum Colour"), "enum Colour");
    EXPECT_EQ(StripClassKeywords("class"), "class");

    // Saved scenes hold these names: template arguments are joined by a bare
    // comma, whatever spacing the compiler's own form has.
    EXPECT_EQ((Engine::GetTypeName<Outer::Pair<LogicTest::Probe, LogicTest::Gauge>>()),
              "Outer::Pair<LogicTest::Probe,LogicTest::Gauge>");
    EXPECT_EQ((Engine::GetTypeName<Outer::Pair<Outer::Pair<int, float>, LogicTest::Gauge>>()),
              "Outer::Pair<Outer::Pair<int,float>,LogicTest::Gauge>");
}

TEST(TypeRegistryTree, FirstRegistrationWinsAndAnEarlyParentHasNoParent)
{
    Engine::TypeNode* tile = TypeRegistry::RegisterType("EarlyTile", "Early::Base");
    Engine::TypeNode* parent = tile->parent;
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->name, "Early::Base");
    EXPECT_EQ(parent->parent, nullptr);
    EXPECT_EQ(parent->children.at("EarlyTile"), tile);
    EXPECT_EQ(TypeRegistry::RegisterType("Early::Base", "NULL"), parent);
    EXPECT_EQ(parent->parent, nullptr);
    EXPECT_EQ(TypeRegistry::RegisterType("EarlyTile", "Other::Base"), tile);
    EXPECT_EQ(tile->parent, parent);
}

// The tree is one for the whole process: a test that entered a class under
// Engine::LogicComp before it registered itself left it without a parent.
// Its own registration coming first, as the game's does, needs a new process.
TEST(TypeRegistryTree, LogicCompRegisteredFirstHangsAloneUnderTheNullRoot)
{
    ExpectInFreshProcess([]() -> std::string {
        const Engine::TypeNode* logic = Engine::LogicComp::RegisterClassType();
        const Engine::TypeNode* root = TypeRegistry::Find("NULL");
        if (root == nullptr || logic->parent != root)
            return "Engine::LogicComp does not hang under \"NULL\"";
        if (root->parent != nullptr || root->children.size() != 1 || root->children.count("Engine::LogicComp") == 0)
            return "\"NULL\" is not a root with Engine::LogicComp its only child";
        return "";
    });
}

TEST(TypeRegistryTree, ClassWithoutItsOwnRegistrationAnswersItsBase)
{
    const Engine::LogicComp& derived = LogicTest::DerivedProbe();
    EXPECT_EQ(LogicTest::QuietProbe().RegisterType()->name, "LogicTest::Probe");
    EXPECT_EQ(derived.RegisterType()->name, "LogicTest::DerivedProbe");
    const Engine::TypeNode* parent = derived.RegisterType()->parent;
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->name, "Engine::LogicComp");
}

std::unique_ptr<Engine::IFactoryBase> Make(const char* name)
{
    return std::unique_ptr<Engine::IFactoryBase>(Factory::GetInstance().Create(name));
}

TEST(Factory, RegisteredNamesCreateTheirOwnClassTheFirstRegistrationWinsAndOthersGetNothing)
{
    EXPECT_FALSE(Factory::GetInstance().RunRegistration()); // no callback yet
    Factory::GetInstance().SetRegistrationCallback(&LogicTest::RegisterTestTypes);
    ASSERT_TRUE(Factory::GetInstance().RunRegistration());
    EXPECT_EQ(typeid(*Make("LogicTest::Probe")), typeid(LogicTest::Probe));
    EXPECT_EQ(typeid(*Make("LogicTest::DerivedProbe")), typeid(LogicTest::DerivedProbe));
    EXPECT_EQ(typeid(*Make("Engine::SMComponent")), typeid(Engine::SMComponent));
    for (const char* unknown : {"SMComponent", "LogicTest::QuietProbe", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(Make(unknown), nullptr) << (unknown ? unknown : "null");

    EXPECT_FALSE(Factory::GetInstance().Register("LogicTest::Probe", std::make_unique<Engine::TCreator<LogicTest::Gauge>>()));
    EXPECT_EQ(typeid(*Make("LogicTest::Probe")), typeid(LogicTest::Probe));
}

} // namespace
