#include "engine/logic/CollisionEvent.h"
#include "engine/logic/DisconnectEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/NetworkingEvent.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Engine::CollisionEvent;
using Engine::EntityHandle;
using Engine::EventHandlerList;
using Engine::InstanceTypeEventDispatcher;
using Strings = std::vector<std::string>;

Strings heard;

// Each test uses its own Tag, so its class has a dispatcher set of its own.
template <int Tag>
class Listener : public Engine::LogicComp {
public:
    Listener(const char* name, std::uint32_t entity) : name(name) { owner = EntityHandle(entity); }
    ~Listener() override { InstanceTypeEventDispatcher<Listener>::GetInstance().RemoveInstance(this); }
    void OnHit(CollisionEvent* event) { heard.push_back(name + ":hit " + std::to_string(event->other.GetIndex())); }
    void OnHitElsewise(CollisionEvent*) { heard.push_back(name + ":elsewise"); }
    void OnUnplugged(Engine::DisconnectEvent*) { heard.push_back(name + ":unplugged"); }
    const std::string name;
};

void RaiseHit(std::uint32_t other, EntityHandle target)
{
    CollisionEvent event;
    event.other = EntityHandle(other);
    EventHandlerList::Raise(event, target);
}

Strings Sorted(Strings list)
{
    std::sort(list.begin(), list.end());
    return list;
}

class EventDispatch : public ::testing::Test {
protected:
    void SetUp() override { heard.clear(); }
};

TEST_F(EventDispatch, TargetReachesOnlyItsEntityAndNullReachesAll)
{
    using L = Listener<1>;
    L a("a", 3), b("b", 4), c("c", 3);
    for (L* each : {&a, &b, &c})
        Engine::Subscribe<CollisionEvent, L>(each, &L::OnHit);
    RaiseHit(9, EntityHandle(3));
    EXPECT_EQ(Sorted(heard), (Strings{"a:hit 9", "c:hit 9"}));

    heard.clear();
    RaiseHit(8, EntityHandle());
    EXPECT_EQ(heard.size(), 3u);

    // Subscribed to collisions only: a disconnect reaches the entry, not them.
    heard.clear();
    Engine::DisconnectEvent unplugged;
    EventHandlerList::Raise(unplugged, EntityHandle());
    EXPECT_TRUE(heard.empty());

    // Entries are walked from the last added; one that handles ends the walk.
    EventHandlerList::AddOnce([](Engine::EventEnvelope* envelope) { envelope->handled = envelope->dispatching; });
    RaiseHit(7, EntityHandle());
    EXPECT_TRUE(heard.empty());
}

TEST_F(EventDispatch, DoubleSubscriptionCallsOnceWithTheFirstHandler)
{
    using L = Listener<2>;
    L a("a", 3), b("b", 3);
    Engine::Subscribe<CollisionEvent, L>(&a, &L::OnHit);
    Engine::Subscribe<CollisionEvent, L>(&a, &L::OnHit);
    Engine::Subscribe<CollisionEvent, L>(&b, &L::OnHitElsewise);
    const std::size_t entries = EventHandlerList::Size();
    Engine::Subscribe<Engine::DisconnectEvent, L>(&a, &L::OnUnplugged);
    EXPECT_EQ(EventHandlerList::Size(), entries);

    RaiseHit(2, EntityHandle());
    EXPECT_EQ(Sorted(heard), (Strings{"a:hit 2", "b:hit 2"}));

    // A list reset as a new run has it reaches the class again from its
    // next subscription, still with its first handler.
    EventHandlerList::Reset();
    heard.clear();
    RaiseHit(2, EntityHandle());
    EXPECT_TRUE(heard.empty());
    Engine::Subscribe<CollisionEvent, L>(&b, &L::OnHitElsewise);
    RaiseHit(2, EntityHandle());
    EXPECT_EQ(Sorted(heard), (Strings{"a:hit 2", "b:hit 2"}));
}

TEST_F(EventDispatch, RemovedInstanceHearsNothingAndTheOthersKeepTheirOrder)
{
    using L = Listener<3>;
    std::vector<std::unique_ptr<L>> listeners;
    for (const char* name : {"a", "b", "c", "d"}) {
        listeners.push_back(std::make_unique<L>(name, 1));
        Engine::Subscribe<CollisionEvent, L>(listeners.back().get(), &L::OnHit);
    }
    auto& set = InstanceTypeEventDispatcher<L>::GetInstance();
    std::vector<L*> order = set.Find<CollisionEvent>()->GetInstances();
    ASSERT_TRUE(std::is_sorted(order.begin(), order.end(), std::less<L*>()));
    for (L* twice : {order[1], order[1], static_cast<L*>(nullptr)})
        set.RemoveInstance(twice);
    order.erase(order.begin() + 1);
    RaiseHit(5, EntityHandle());
    Strings expected;
    for (L* each : order)
        expected.push_back(each->name + ":hit 5");
    EXPECT_EQ(heard, expected);
}

// Subscribes a newcomer of its own class from inside its handler and raises
// a further event there, as gameplay reactions may. Every call is noted with
// the walk it came from.
class Chain : public Engine::LogicComp {
public:
    explicit Chain(int depth) : mDepth(depth) { owner = EntityHandle(2); }
    ~Chain() override { InstanceTypeEventDispatcher<Chain>::GetInstance().RemoveInstance(this); }
    void OnHit(CollisionEvent*)
    {
        served.emplace_back(walks.back(), this);
        if (mDepth == 0 || child)
            return;
        child = std::make_unique<Chain>(mDepth - 1);
        Engine::Subscribe<CollisionEvent, Chain>(child.get(), &Chain::OnHit);
        Walk();
    }
    static void Walk()
    {
        walks.push_back(++walkCount);
        RaiseHit(0, EntityHandle(2));
        walks.pop_back();
    }
    std::unique_ptr<Chain> child;
    static inline std::vector<int> walks;
    static inline int walkCount = 0;
    static inline std::vector<std::pair<int, const Chain*>> served;

private:
    int mDepth;
};

TEST_F(EventDispatch, HandlersMaySubscribeAndRaiseDuringAWalk)
{
    Chain::walkCount = 0;
    Chain::served.clear();
    Chain root(40);
    Engine::Subscribe<CollisionEvent, Chain>(&root, &Chain::OnHit);
    Chain::Walk();
    EXPECT_EQ(Chain::walkCount, 41);
    EXPECT_EQ(InstanceTypeEventDispatcher<Chain>::GetInstance().Find<CollisionEvent>()->GetInstances().size(), 41u);
    // However the array grows under a walk, that walk serves an instance once.
    auto served = Chain::served;
    std::sort(served.begin(), served.end());
    EXPECT_EQ(std::adjacent_find(served.begin(), served.end()), served.end());
}

TEST(NetworkingEventAreas, CodeFillsOnlyItsOwnAreaAndShortRecordsAreRefused)
{
    std::vector<std::uint8_t> record(64);
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(i + 1);
    for (std::uint32_t code = 0; code < Engine::NetworkingEvent::kCodeCount; ++code) {
        Engine::NetworkingEvent event;
        ASSERT_TRUE(event.Fill(code, record));
        ASSERT_EQ(event.Payload().size(), Engine::NetworkingEvent::kAreaSizes[code]);
        EXPECT_TRUE(std::equal(event.Payload().begin(), event.Payload().end(), record.begin()));
        std::size_t nonZero = 0;
        for (std::uint32_t other = 0; other < Engine::NetworkingEvent::kCodeCount; ++other)
            nonZero += std::count_if(event.Area(other).begin(), event.Area(other).end(), [](auto b) { return b != 0; });
        EXPECT_EQ(nonZero, event.Payload().size());
    }

    Engine::NetworkingEvent event;
    EXPECT_FALSE(event.Fill(3, std::vector<std::uint8_t>(47, 0xAB)));
    EXPECT_FALSE(event.Fill(7, record));
    EXPECT_TRUE(event.Area(7).empty());
    EXPECT_EQ(event.code, 0u);
    EXPECT_TRUE(std::all_of(event.perkEffect.begin(), event.perkEffect.end(), [](auto b) { return b == 0; }));
}

} // namespace
