#include "EngineTestHarness.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputEventHandlerList.h"
#include "engine/core/Profiler.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/DisconnectEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/BodyVelocity.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/Clock.h"
#include "engine/platform/UdpSocket.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "engine/render/Renderer.h"
#include "support/CapturedOutput.h"
#include "support/FreshProcess.h"
#include "support/VirtualPad.h"

#include <gtest/gtest.h>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
Strings phaseJournal;

Engine::Core& Core() { return Engine::Core::GetInstance(); }

// The step before drawing notes itself, and the height a body has then.
Engine::EntityHandle gWatchedBody;
float gHeightBeforeDrawing = 0.0f;
void NoteStepBeforeDrawing()
{
    phaseJournal.push_back("before drawing");
    gHeightBeforeDrawing = Engine::Transform::GetWorldPosition(gWatchedBody).y;
}

struct Ticker : Engine::LogicComp {
    void Update() override { phaseJournal.push_back("logic"); }
};

// Each removal of a component is the entity phase's flush at work.
struct FlushProbe : Engine::ICompManager {
    void RemoveComponent(Engine::EntityHandle) override { phaseJournal.push_back("flush"); }
    bool HasComponent(Engine::EntityHandle) const override { return false; }
    void Clear() override {}
    std::uint64_t Count() const override { return 0; }
    void SwapWithAside() override {}
};

Engine::EntityHandle NewEntity()
{
    Engine::EntityHandle entity;
    entity.Create();
    return entity;
}

// Logic, rendering, the input pump and the entity flush note themselves in
// the journal each frame.
struct EngineFrame : ::testing::Test {
    void SetUp() override
    {
        FrameTest::StartEngine();
        phaseJournal.clear();
        Engine::Renderer::GetInstance().overlayCallback = [] { phaseJournal.push_back("render"); };
        token = Engine::SdlEventHandlerList::Add([](Engine::SdlEventEnvelope* e) {
            if (e->event.type == SDL_USEREVENT)
                phaseJournal.push_back("input");
        });
        Engine::LogicManager::GetInstance().AddComponent<Ticker>(NewEntity());
        Core().SetBeforeDrawing(&NoteStepBeforeDrawing);
    }
    void TearDown() override
    {
        Core().SetBeforeDrawing(nullptr);
        Engine::SdlEventHandlerList::Remove(token);
        // The logic manager keeps its components until the scene goes.
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
    }
    static bool FrameWithInput()
    {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        event.user.windowID = SDL_GetWindowID(Engine::Window::Main()->sdlWindow);
        SDL_PushEvent(&event);
        return Core().Update();
    }

    FlushProbe flushes;
    Engine::SdlEventHandlerList::Token token = 0;
};

TEST_F(EngineFrame, PhasesRunInOrder)
{
    NewEntity().Destroy();
    EXPECT_TRUE(FrameWithInput());
    EXPECT_EQ(phaseJournal, (Strings{"logic", "before drawing", "render", "input", "flush"}));
    const auto& records = Engine::Profiler::GetRecords();
    EXPECT_LE(records.at("LogicUpdate").end, records.at("PhysicsUpdate").start);
    EXPECT_LE(records.at("PhysicsUpdate").end, records.at("RenderTime").start);
    EXPECT_LE(records.at("RenderTime").end, records.at("EntityUpdate").start);
}

// The link's socket notes each poll and each datagram sent, and keeps the
// channel-1 states.
struct JournalSocket final : Engine::Platform::IUdpSocket {
    bool Bind(const Engine::Platform::Ipv4Endpoint&) override { return true; }
    bool MakeNonBlocking() override { return true; }
    bool SendTo(std::span<const std::uint8_t> datagram, const Engine::Platform::Ipv4Endpoint&) override
    {
        phaseJournal.push_back("send");
        Net::Packet packet;
        std::copy(datagram.begin(), datagram.end(), packet.Raw().begin());
        if (packet.Header().type == Net::PlayerState::kChannel)
            sentStates.push_back(Net::DecodePlayerState(packet.Payload()).record);
        return true;
    }
    Engine::Platform::ReceiveResult ReceiveFrom(std::span<std::uint8_t>) override
    {
        phaseJournal.push_back("receive");
        return {};
    }
    std::uint16_t LocalPort() const override { return 0; }
    int LastError() const override { return 0; }
    static inline std::vector<Net::PlayerState> sentStates;
};

// What the peer is sent of the local player is where this side draws it:
// the link hears the peer before the step before drawing, which may move
// the player, and speaks after it; paused, it still does both.
TEST_F(EngineFrame, TheLinkHearsBeforeTheStepBeforeDrawingAndSpeaksAfterIt)
{
    Engine::Platform::SetUdpSocketFactory([](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
        error = 0;
        return std::make_unique<JournalSocket>();
    });
    JournalSocket::sentStates.clear();
    NetworkMgr& network = NetworkMgr::GetInstance();
    StdoutOf([&] { ASSERT_TRUE(network.client_init("127.0.0.1")); });
    network.connected = 1;
    network.menu_mode = 0;
    network.last_receive_ns = Engine::Platform::NowNanoseconds(); // not silent yet
    for (const char* name : {"Player_Mouse", "ball"}) {
        const Engine::EntityHandle entity = NewEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::SetEntityName(entity, name);
    }
    gWatchedBody = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse").front();
    Core().SetBeforeDrawing([] {
        NoteStepBeforeDrawing();
        Engine::Transform::PositionRef(gWatchedBody).x += 5.0f;
    });

    phaseJournal.clear();
    FrameWithInput();
    const Strings running = phaseJournal;
    Core().SetPaused(true);
    phaseJournal.clear();
    FrameWithInput();
    const Strings paused = phaseJournal;
    Core().SetPaused(false);
    const float drawnAt = Engine::Transform::GetWorldPosition(gWatchedBody).x;
    network.connected = 0;
    StdoutOf([&] { network.Disconnect(); });
    Engine::Platform::SetUdpSocketFactory({});

    EXPECT_EQ(running, (Strings{"logic", "receive", "before drawing", "send", "render", "input"}));
    EXPECT_EQ(paused, (Strings{"receive", "send", "render", "input"}));
    ASSERT_EQ(JournalSocket::sentStates.size(), 2u);
    EXPECT_EQ(JournalSocket::sentStates[0].position.x, 5.0f);
    EXPECT_EQ(JournalSocket::sentStates[1].position.x, drawnAt);
}

TEST_F(EngineFrame, PauseStopsLogicPhysicsTheStepBeforeDrawingAndFlushButNotRenderingOrInput)
{
    const Engine::EntityHandle body = NewEntity();
    Engine::TransformCompManager::GetInstance().AddComponent(body);
    Engine::CollisionMgr::GetInstance().AddComponent(body);
    Core().Update();
    const float height = Engine::Transform::GetWorldPosition(body).y;

    Core().SetPaused(true);
    const Engine::EntityHandle doomed = NewEntity();
    doomed.Destroy();
    phaseJournal.clear();
    FrameWithInput();
    FrameWithInput();
    EXPECT_EQ(phaseJournal, (Strings{"render", "input", "render", "input"}));
    EXPECT_EQ(Engine::Transform::GetWorldPosition(body).y, height); // gravity waits too
    EXPECT_TRUE(Engine::EntityMgr::GetInstance().IsInUse(doomed.GetIndex()));

    // The queued destruction goes through in the first frame after the pause.
    Core().SetPaused(false);
    phaseJournal.clear();
    gWatchedBody = body;
    Core().Update();
    EXPECT_EQ(phaseJournal, (Strings{"logic", "before drawing", "render", "flush"}));
    EXPECT_FALSE(Engine::EntityMgr::GetInstance().IsInUse(doomed.GetIndex()));
    EXPECT_LT(Engine::Transform::GetWorldPosition(body).y, height);
    EXPECT_EQ(gHeightBeforeDrawing, Engine::Transform::GetWorldPosition(body).y) << "the step sees the physics' move";
}

TEST_F(EngineFrame, QuitPumpedInAFrameClosesTheNextWhichStillRunsWhole)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(Core().Update());
    phaseJournal.clear();
    EXPECT_FALSE(Core().Update());
    EXPECT_EQ(phaseJournal, (Strings{"logic", "before drawing", "render"}));
}

TEST_F(EngineFrame, EveryFrameTimeLiesBetweenThePaceAndTheCap)
{
    for (int i = 0; i < 40; ++i) {
        Core().Update();
        EXPECT_GE(Engine::FrameRateController::GetDt(), 0.007);
        EXPECT_LE(Engine::FrameRateController::GetDt(), 0.032);
    }
}

// A frame that draws nothing keeps the last picture shown; one that the
// kill camera draws in the renderer's place still shows.
TEST_F(EngineFrame, OnlyAFrameThatDrewIsSwappedOntoTheScreen)
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    const std::uint64_t before = renderer.GetSwapCount();
    Core().Update();
    EXPECT_EQ(renderer.GetSwapCount(), before + 1);

    renderer.renderingEnabled = false;
    Core().Update();
    EXPECT_EQ(renderer.GetSwapCount(), before + 1);

    renderer.Clear();
    Core().Update();
    EXPECT_EQ(renderer.GetSwapCount(), before + 2);
    renderer.renderingEnabled = true;
}

struct Player : Engine::LogicComp {
    // Goes with the scene, however the test ends.
    ~Player() override { Engine::InstanceTypeEventDispatcher<Player>::GetInstance().RemoveInstance(this); }
    void OnLost(Engine::DisconnectEvent* event) { lost.push_back(event->entity); }
    std::vector<Engine::EntityHandle> lost;
};

TEST_F(EngineFrame, UnpluggedPadRaisesOneDisconnectAndAReplugRebinds)
{
    const Engine::EntityHandle entity = NewEntity();
    Engine::LogicManager::GetInstance().AddComponent<Player>(entity);
    Player* player = Engine::LogicManager::GetCompPtr<Player>(entity);
    Engine::Subscribe<Engine::DisconnectEvent, Player>(player, &Player::OnLost);

    // Each pad is unplugged however the test ends: one left in would be the
    // next test's, and the first unplug there would take this one.
    PluggedPad first;
    Core().Update();
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    ASSERT_TRUE(input.AssignController(entity));
    first.Unplug();
    Core().Update();
    Core().Update();
    ASSERT_EQ(player->lost.size(), 1u);
    EXPECT_EQ(player->lost[0], entity);

    PluggedPad replugged;
    Core().Update();
    replugged.Button(SDL_CONTROLLER_BUTTON_Y, true);
    Core().Update();
    EXPECT_TRUE(input.IsButtonTriggered(SDL_CONTROLLER_BUTTON_Y, entity));
    EXPECT_EQ(player->lost.size(), 1u);

    EXPECT_TRUE(input.ReleaseController(entity));
    replugged.Unplug();
    Core().Update();
    EXPECT_TRUE(input.GetPlayerControllers().empty());
}

TEST_F(EngineFrame, MouseIsRelativeOnlyWithoutCursorAndMenuPointer)
{
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    const bool cursorWasVisible = input.cursorVisible;
    const bool pointerWasShown = input.menuPointerShown;
    input.cursorVisible = false;
    Core().Update();
    EXPECT_TRUE(SDL_GetRelativeMouseMode());
    input.menuPointerShown = true;
    Core().Update();
    EXPECT_FALSE(SDL_GetRelativeMouseMode());

    // The flags last the run, and SDL's mouse mode follows them each frame.
    input.cursorVisible = cursorWasVisible;
    input.menuPointerShown = pointerWasShown;
    Core().Update();
}

// What differs from the engine's start order: an empty text when none does.
std::string StartOrderProblems()
{
    if (!Engine::ICompManager::GetManagers().empty())
        return "managers existed before the engine started";
    FrameTest::StartEngine();
    const std::vector<const std::type_info*> expected{
        &typeid(Engine::CollisionMgr),          &typeid(Engine::TransformCompManager),
        &typeid(Engine::RenderCompManager),     &typeid(Engine::InstancedRenderableManager),
        &typeid(Engine::RenderWrapperManager),  &typeid(Engine::HUDCompManager),
        &typeid(Engine::CameraManager),         &typeid(Engine::LightManager),
        &typeid(Engine::EntityNameCompManager), &typeid(Engine::EntityTagCompManager),
        &typeid(Engine::LogicManager)};
    const auto& managers = Engine::ICompManager::GetManagers();
    if (managers.size() != expected.size())
        return std::to_string(managers.size()) + " managers";
    std::string problems;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (typeid(*managers[i]) != *expected[i])
            problems += "position " + std::to_string(i) + " holds " + typeid(*managers[i]).name() + "\n";
    }
    // One first touched during play joins the end.
    Engine::AlphaRenderCompManager::GetInstance();
    if (typeid(*Engine::ICompManager::GetManagers().back()) != typeid(Engine::AlphaRenderCompManager))
        problems += "a manager touched later is not last\n";
    return problems;
}

TEST(EngineStartup, ManagerListIsEmptyBeforeInitThenInItsFixedOrder) { ExpectInFreshProcess(&StartOrderProblems); }

// Sound and the link reach the bodies only through what the engine hands
// them: without it a ball's flight would reach the peer with zero velocity.
TEST_F(EngineFrame, SoundAndNetworkSeeTheBodiesVelocities)
{
    const Engine::EntityHandle ball = NewEntity();
    Engine::CollisionMgr::GetInstance().AddComponent(ball);
    Engine::CollisionMgr::GetInstance().FindComp(ball)->mVelocity.value = glm::vec3(1, 2, 3);
    EXPECT_EQ(Net::ReadVelocity(ball), glm::vec3(1, 2, 3));
    Net::WriteVelocity(ball, glm::vec3(4, 5, 6));
    EXPECT_EQ(Engine::CollisionMgr::GetInstance().FindComp(ball)->mVelocity.value, glm::vec3(4, 5, 6));

    const Engine::EntityHandle bodiless = NewEntity();
    EXPECT_EQ(Net::ReadVelocity(bodiless), glm::vec3(0));
    EXPECT_FALSE(Engine::CollisionMgr::GetInstance().HasComponent(bodiless)); // asking adds no body
}

} // namespace
