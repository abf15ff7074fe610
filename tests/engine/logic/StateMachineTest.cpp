#include "engine/logic/SMComponent.h"
#include "FrameTime.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Engine::StateMachine;
using Strings = std::vector<std::string>;

Strings calls;

// Records its hooks and makes the requests it is given from inside them.
class Step : public Engine::State {
public:
    Step(const char* name, float seconds) : State(name, seconds) {}
    void OnEnter() override { Record("enter", onEnter); }
    void OnUpdate() override { Record("update", onUpdate); }
    void OnExit() override { Record("exit", onExit); }
    const char* onEnter = nullptr;
    const char* onUpdate = nullptr;
    const char* onExit = nullptr;

private:
    void Record(const char* what, const char* request)
    {
        calls.push_back(GetName() + ":" + what);
        GetStateMachine()->ChangeState(request);
    }
};

class StateMachines : public ::testing::Test {
protected:
    void SetUp() override { calls.clear(); }
    Step* Add(const char* name, float seconds)
    {
        auto* step = new Step(name, seconds);
        machine.AddState(step);
        return step;
    }
    // One frame as the state-machine component runs it.
    void Frame(std::uint64_t milliseconds)
    {
        time.Frame(milliseconds);
        if (!machine.GetCurrentState())
            machine.Start();
        machine.Update();
    }
    std::string Current() const { return machine.GetCurrentState()->GetName(); }

    InjectedFrameTime time;
    StateMachine machine{Engine::EntityHandle(5)};
};

TEST_F(StateMachines, HalfSecondStateIsLeftOnlyOnceItsTimerHasRunOutWhateverTheTimeScale)
{
    Step* idle = Add("idle", 0.5f);
    Add("fly", 1.0f);
    idle->onUpdate = "fly";
    machine.SetInitialState("idle");
    Engine::FrameRateController::SetTimeScale(0.25); // slows the game, not state timers
    for (int frame = 0; frame < 3; ++frame)
        Frame(125);
    EXPECT_EQ(Current(), "idle");
    EXPECT_EQ(machine.GetNextState()->GetName(), "fly");
    Frame(125);
    EXPECT_EQ(Current(), "fly");
    EXPECT_EQ(machine.GetPreviousState(), idle);
    EXPECT_EQ(machine.GetNextState(), nullptr);
    EXPECT_FLOAT_EQ(idle->GetTimer(), 0.5f);
    EXPECT_EQ(calls.back(), "fly:enter");
}

TEST_F(StateMachines, RedirectInOnExitWinsAndRequestsInOnEnterAreLost)
{
    Step* a = Add("a", 0.0f);
    Add("b", 0.0f);
    Add("c", 0.0f)->onEnter = "a";
    a->onUpdate = "b";
    a->onExit = "c";
    machine.SetInitialState("a");
    Frame(10);
    EXPECT_EQ(calls, (Strings{"a:enter", "a:update", "a:exit", "c:enter"}));
    EXPECT_EQ(machine.GetNextState(), nullptr);
    Frame(10);
    EXPECT_EQ(Current(), "c");
}

TEST_F(StateMachines, SelfFlagReEntersTheInitialStateOnceWithoutARequest)
{
    Add("loop", 0.25f);
    machine.SetInitialState("loop");
    machine.selfTransition = true;
    for (int frame = 0; frame < 4; ++frame)
        Frame(125);
    EXPECT_EQ(calls, (Strings{"loop:enter", "loop:update", "loop:update", "loop:exit", "loop:enter", "loop:update",
                              "loop:update"}));
}

TEST_F(StateMachines, LastKnownRequestWinsAndASelfRequestNeedsTheFlag)
{
    Step* a = Add("a", 0.0f);
    Add("b", 0.0f);
    Add("c", 0.0f);
    machine.Update(); // never started: nothing happens
    EXPECT_EQ(machine.SetInitialState("missing"), nullptr);
    machine.SetInitialState("a");
    machine.Start();
    machine.ChangeState("b");
    machine.ChangeState("a");
    machine.ChangeState("missing");
    machine.ChangeState(nullptr);
    Frame(10);
    Frame(10);
    EXPECT_EQ(calls, (Strings{"a:enter", "a:update", "a:update"}));
    EXPECT_EQ(machine.GetNextState(), a);
    machine.ChangeState("c");
    Frame(10);
    EXPECT_EQ(Current(), "c");
}

TEST_F(StateMachines, StartAgainLeavesTheCurrentStateAndRefusedStatesAreFreed)
{
    Step* b = Add("b", 0.5f);
    EXPECT_FALSE(machine.AddState(new Step("b", 2.0f))); // the sanitizer build sees it freed
    EXPECT_FALSE(machine.AddState(nullptr));
    ASSERT_EQ(machine.GetStates().size(), 1u);
    EXPECT_EQ(b->GetOwner(), Engine::EntityHandle(5));
    EXPECT_EQ(machine.GetState<Step>(), b);

    machine.SetInitialState("b");
    machine.Start();
    b->SetTimer(-3.0f);
    machine.Start();
    EXPECT_EQ(calls, (Strings{"b:enter", "b:exit", "b:enter"}));
    EXPECT_EQ(machine.GetPreviousState(), b);
    EXPECT_FLOAT_EQ(b->GetTimer(), 0.5f);
}

// Adds a second machine to its component from a hook of the first.
class Grower : public Engine::State {
public:
    explicit Grower(Engine::SMComponent& component) : State("grow", 1.0f), mComponent(component) {}
    void OnUpdate() override
    {
        if (mComponent.GetStateMachines().size() > 1)
            return;
        StateMachine* added = mComponent.AddStateMachine();
        added->AddState(new Step("second", 1.0f));
        added->SetInitialState("second");
    }

private:
    Engine::SMComponent& mComponent;
};

TEST(StateMachineComponent, StartsAndRunsMachinesAddedDuringItsWalk)
{
    InjectedFrameTime time;
    calls.clear();
    Engine::SMComponent component;
    component.SetOwner(Engine::EntityHandle(9));
    StateMachine* first = component.AddStateMachine();
    first->AddState(new Grower(component));
    first->SetInitialState("grow");
    time.Frame(10);
    component.Update();
    ASSERT_EQ(component.GetStateMachines().size(), 2u);
    EXPECT_EQ(component.GetStateMachines()[1]->GetOwner(), Engine::EntityHandle(9));
    EXPECT_EQ(calls, (Strings{"second:enter", "second:update"}));
    component.Shutdown();
    EXPECT_TRUE(component.GetStateMachines().empty());
}

} // namespace
