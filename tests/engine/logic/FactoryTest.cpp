#include "TestComponents.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using Engine::Factory;
using Engine::IFactoryBase;

std::unique_ptr<IFactoryBase> Make(const char* name)
{
    return std::unique_ptr<IFactoryBase>(Factory::GetInstance().Create(name));
}

template <class T>
class CountingCreator : public Engine::TCreator<T> {
public:
    explicit CountingCreator(int& calls) : mCalls(calls) {}
    IFactoryBase* Create() override
    {
        ++mCalls;
        return Engine::TCreator<T>::Create();
    }

private:
    int& mCalls;
};

TEST(Factory, RegisteredNamesCreateTheirOwnClassAndOthersNothing)
{
    EXPECT_FALSE(Factory::GetInstance().RunRegistration()); // no callback yet
    Factory::GetInstance().SetRegistrationCallback(&LogicTest::RegisterTestTypes);
    ASSERT_TRUE(Factory::GetInstance().RunRegistration());
    EXPECT_EQ(Factory::GetInstance().Count(), 5u);

    EXPECT_EQ(typeid(*Make("LogicTest::Probe")), typeid(LogicTest::Probe));
    EXPECT_EQ(typeid(*Make("LogicTest::DerivedProbe")), typeid(LogicTest::DerivedProbe));
    EXPECT_EQ(typeid(*Make("Engine::SMComponent")), typeid(Engine::SMComponent));
    EXPECT_EQ(typeid(*Make("Engine::LogicComp")), typeid(Engine::LogicComp));
    for (const char* unknown : {"SMComponent", "LogicTest::QuietProbe", ""})
        EXPECT_EQ(Make(unknown), nullptr) << unknown;
    EXPECT_EQ(Make(nullptr), nullptr);
}

TEST(Factory, FirstRegistrationOfANameStaysInUse)
{
    int first = 0;
    int second = 0;
    EXPECT_TRUE(Factory::GetInstance().Register("GoalBall", std::make_unique<CountingCreator<LogicTest::Gauge>>(first)));
    EXPECT_FALSE(Factory::GetInstance().Register("GoalBall", std::make_unique<CountingCreator<LogicTest::Probe>>(second)));
    EXPECT_EQ(typeid(*Make("GoalBall")), typeid(LogicTest::Gauge));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

} // namespace
