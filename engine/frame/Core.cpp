#include "engine/frame/Core.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/SoundSystem.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/core/Profiler.h"
#include "engine/core/Random.h"
#include "engine/core/SceneManager.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/ComponentTypeRegistry.h"
#include "engine/logic/DisconnectEvent.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/Factory.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/BodyVelocity.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/Heap.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapperManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"

namespace Engine {

constinit Core Core::sInstance;

namespace {

constexpr double kMaxFrameSeconds = 0.032;

// The input manager sits below the window and the event list; these are the
// links it needs to them.
InputHost MakeInputHost()
{
    InputHost host;
    Window* window = Window::Main();
    host.window = window ? window->sdlWindow : nullptr;
    host.resized = [](int width, int height) {
        if (Window* main = Window::Main())
            main->NoteClientSize(width, height);
    };
    host.controllerLost = [](EntityHandle entity) {
        DisconnectEvent event;
        event.entity = entity;
        EventHandlerList::Raise(event, EntityHandle());
    };
    return host;
}

void StartInput()
{
    InputManager& input = InputManager::GetInstance();
    input.SetHost(MakeInputHost());
    input.Init();
}

// Sound and the network link read and write body velocities, but sit beside
// collision rather than above it; the engine hands them the bodies. Neither
// lookup creates a body.
glm::vec3* FindBodyVelocity(EntityHandle entity)
{
    CollisionComp* body = CollisionMgr::GetInstance().FindComp(entity);
    return body ? &body->mVelocity.value : nullptr;
}

std::optional<glm::vec3> BodyVelocity(EntityHandle entity)
{
    if (const glm::vec3* velocity = FindBodyVelocity(entity))
        return *velocity;
    return std::nullopt;
}

// Built before every other component manager: first in the manager list.
void BuildCollisionManager()
{
    CollisionMgr::GetInstance().Init();
    Emitter::SetVelocityLookup(&BodyVelocity);
    Net::SetVelocityLookup(&FindBodyVelocity);
}

void UpdatePhysics() { CollisionMgr::GetInstance().Update(); }

// Both run while paused too: the peer must keep hearing from us.
void ReceiveFromPeer()
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.connected)
        network.receive_step();
}

void SendToPeer()
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.connected)
        network.send_step();
}

// Construction order is the manager list's order, and with it the order of
// scene save and load. Particle, transparent and text managers join the end
// of the list at their first use.
void BuildComponentManagers()
{
    TransformCompManager::GetInstance();
    RenderCompManager::GetInstance();
    InstancedRenderableManager::GetInstance();
    RenderWrapperManager::GetInstance();
    HUDCompManager::GetInstance();
    CameraManager::GetInstance();
    LightManager::GetInstance();
    EntityNameCompManager::GetInstance();
    EntityTagCompManager::GetInstance();
    LogicManager::GetInstance();
}

void UpdateSound()
{
    if (DummySoundSystem* sound = SoundSystem::GetInstance())
        sound->Update();
}

} // namespace

Core& Core::GetInstance() { return sInstance; }

void Core::InitWindow()
{
    Platform::KeepBigBlocksMapped();
    Window::Create();
    Renderer::GetInstance().Init();
}

void Core::Init()
{
    Renderer& renderer = Renderer::GetInstance();
    renderer.LoadSplashResources();
    renderer.LoadResources();
    StartInput();
    SoundSystem::Create();
    Factory::GetInstance().RunRegistration();
    BuildCollisionManager();
    BuildComponentManagers();
    ComponentTypeRegistry::GetInstance().RegisterEngineTypes();
    Random::Seed();
    FrameRateController::SetMaxDt(kMaxFrameSeconds);
}

bool Core::Update()
{
    InputManager& input = InputManager::GetInstance();
    if (input.IsQuitRequested()) {
        if (Window* window = Window::Main())
            window->closing = true;
    }

    Profiler::Begin("LogicUpdate", "");
    if (!mPaused)
        LogicManager::GetInstance().Update();
    Profiler::End("LogicUpdate");

    Profiler::Begin("PhysicsUpdate", "");
    if (!mPaused)
        UpdatePhysics();
    Profiler::End("PhysicsUpdate");

    Profiler::Sample("EntityCount", static_cast<float>(EntityMgr::GetInstance().GetCount()));
    ReceiveFromPeer();
    if (!mPaused && mBeforeDrawing)
        mBeforeDrawing();
    // Where the frame leaves the local player, as it is drawn.
    SendToPeer();

    Renderer& renderer = Renderer::GetInstance();
    Profiler::Begin("RenderTime", "");
    renderer.Render();
    Profiler::End("RenderTime");
    renderer.SwapBuffers();

    UpdateSound();
    SceneManager::ProcessRequests();
    input.EndFrame();
    input.Update();

    Profiler::Begin("EntityUpdate", "");
    if (!mPaused) {
        EntityMgr::GetInstance().Flush();
        TransformCompManager::GetInstance().Update();
    }
    Profiler::End("EntityUpdate");

    FrameRateController::EndFrame();
    return Window::CheckResize();
}

void Core::Shutdown() {}

} // namespace Engine
