#include "tools/tutorials/CaptureStage.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/core/Random.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/Window.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/match/GridCreation.h"
#include "game/match/RegisterLogicTypes.h"
#include "game/match/TutorialArena.h"
#include "game/modes/GameMode.h"

#include <algorithm>
#include <cmath>

namespace {

// The keys of player 2: its own keys stand where player 1's keyboard slots
// have theirs, taken in slot order from the keypad and F13 to F18, which
// nothing else reads. Its mouse slots take the two side buttons.
constexpr SDL_Scancode kSecondPlayerKeys[] = {
    SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_PLUS,
    SDL_SCANCODE_KP_ENTER,  SDL_SCANCODE_KP_1,        SDL_SCANCODE_KP_2,     SDL_SCANCODE_KP_3,
    SDL_SCANCODE_KP_4,      SDL_SCANCODE_KP_5,        SDL_SCANCODE_KP_6,     SDL_SCANCODE_KP_7,
    SDL_SCANCODE_KP_8,      SDL_SCANCODE_KP_9,        SDL_SCANCODE_KP_0,     SDL_SCANCODE_KP_PERIOD,
    SDL_SCANCODE_F13,       SDL_SCANCODE_F14,         SDL_SCANCODE_F15,      SDL_SCANCODE_F16,
    SDL_SCANCODE_F17,       SDL_SCANCODE_F18,
};
// Mouse buttons 0 to 2 of player 1 become 3 and 4 (X1, X2) for player 2.
std::uint32_t SecondPlayerButton(std::uint32_t button) { return button == 0 ? 4u : 3u; }

constexpr std::uint32_t kMouseMasks[] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK,
                                         SDL_BUTTON_X2MASK};

// Held mouse buttons as the input manager asks for them: one mask for the
// whole process, written by the stage that runs.
std::uint32_t gMouseMask = 0;

Player_LogicComp* ComponentOf(Engine::EntityHandle player)
{
    return player.IsValid() ? Engine::LogicManager::GetCompPtr<Player_LogicComp>(player) : nullptr;
}

Engine::GameCamera* CameraOf(Engine::EntityHandle player)
{
    const Player_LogicComp* component = ComponentOf(player);
    if (!component || !Engine::CameraManager::GetInstance().HasComponent(component->mCamera))
        return nullptr;
    return Engine::CameraManager::GetInstance().GetCompPtr(component->mCamera);
}

} // namespace

bool Stage::StartEngine()
{
    if (Engine::Window::Main())
        return true;
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);
    Engine::Core::GetInstance().InitWindow();
    if (!Engine::Window::Main())
        return false;
    Engine::Core::GetInstance().Init();
    Engine::InputHost host = Engine::InputManager::GetInstance().GetHost();
    host.keyboardFocus = [] { return true; };
    host.mouseState = [](int* x, int* y) -> std::uint32_t {
        *x = 0;
        *y = 0;
        return gMouseMask;
    };
    Engine::InputManager::GetInstance().SetHost(host);
    return true;
}

Stage::Stage(const Script& script, std::uint32_t seed) : mScript(script), mSeed(seed) {}

Stage::~Stage()
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    gMouseMask = 0;
    mKeys.clear();
    WriteKeys();
}

void Stage::Build()
{
    Engine::Random::SeedWith(mSeed);
    Engine::FrameRateController::SetTimeScale(1.0);
    Engine::Renderer::GetInstance().renderingEnabled = false;
    GameState::ResetEvents(true);

    Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
    perks.EnablePerks.value = true;
    perks.Active.value = mScript.active[0];
    perks.Active2.value = mScript.active[1];
    perks.Passive.value = mScript.passive[0];
    perks.Passive2.value = mScript.passive[1];
    GameScene::PlayerCount = mScript.players;
    GameScene::PlayerUsesGamepad[0] = GameScene::PlayerUsesGamepad[1] = false;

    MatchRecorder& recorder = MatchRecorder::GetInstance();
    recorder.isRecording = 1;
    recorder.isLive = 1;
    recorder.isTutorial = 0;

    Engine::SceneManager::SetIdle();
    Engine::SceneManager::DestroySceneImmediately();
    GridCreation::SetDefaultSettings();
    TutorialArena::BuildSettledScene();

    MatchRecorder::ClearFrameList(recorder.playback);
    MatchRecorder::ClearFrameList(recorder.ring);
    recorder.bestScore = 0;
    recorder.Reset();
    BindSecondPlayer();
    Engine::TransformCompManager::GetInstance().Update();
    for (int i = 0; i < mScript.players; ++i)
        Engine::Transform::SetWorldPosition(Player(i), mScript.start[i]);
}

// Player 1 keeps the built-in bindings; player 2 gets keys of its own, so
// that the two can be told apart on one keyboard.
void Stage::BindSecondPlayer()
{
    auto& records = InputBindings::Records();
    records[0] = InputBindings::Defaults();
    records[0].UsesController = false;
    records[1] = records[0];
    std::size_t next = 0;
    for (std::uint32_t slot = 0; slot < InputBindings::SlotCount; ++slot) {
        const auto kind = InputBindings::Info(static_cast<InputBindings::Slot>(slot)).kind;
        std::uint32_t& code = records[1].codes[slot];
        if (kind == InputBindings::Kind::Mouse)
            code = SecondPlayerButton(code);
        else if (kind == InputBindings::Kind::Keyboard && code != InputBindings::kUnboundKey &&
                 next < std::size(kSecondPlayerKeys))
            code = kSecondPlayerKeys[next++];
    }
}

Engine::EntityHandle Stage::Player(int player) const
{
    for (Engine::EntityHandle entity : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(Net::Names::kLocalPlayer)) {
        const Player_LogicComp* component = ComponentOf(entity);
        if (component && component->mPlayerNumber == player + 1)
            return entity;
    }
    return {};
}

glm::vec3 Stage::Position(int player) const
{
    const Engine::EntityHandle entity = Player(player);
    return entity.IsValid() ? Engine::Transform::GetWorldPosition(entity) : glm::vec3(0.0f);
}

glm::vec3 Stage::Forward(int player) const
{
    const Engine::GameCamera* camera = CameraOf(Player(player));
    if (!camera)
        return {1.0f, 0.0f, 0.0f};
    const glm::vec3 level(camera->forward.x, 0.0f, camera->forward.z);
    return glm::dot(level, level) > 1e-8f ? glm::normalize(level) : glm::vec3(1.0f, 0.0f, 0.0f);
}

Engine::EntityHandle Stage::Ball(int player) const
{
    const Player_LogicComp* component = ComponentOf(Player(player));
    return component ? component->mOwnBall : Engine::EntityHandle();
}

void Stage::Hold(int player, InputBindings::Slot slot)
{
    const InputBindings& bindings = InputBindings::Records()[static_cast<std::size_t>(player) % 2];
    const std::uint32_t code = bindings.Code(slot);
    switch (InputBindings::Info(slot).kind) {
    case InputBindings::Kind::Keyboard:
        mKeys.insert(static_cast<SDL_Scancode>(code));
        break;
    case InputBindings::Kind::Mouse:
        if (code < std::size(kMouseMasks))
            mMouseNext |= kMouseMasks[code];
        break;
    default:
        break;
    }
}

void Stage::Aim(int player, const glm::vec3& at)
{
    const Engine::EntityHandle entity = Player(player);
    Engine::GameCamera* camera = CameraOf(entity);
    if (!camera)
        return;
    const glm::vec3 up = *Engine::Transform::UpPtr(entity);
    const glm::vec3 eyes = Engine::Transform::GetWorldPosition(entity) + up * 0.25f * Engine::Transform::ScalePtr(entity)->y;
    camera->SetPosition(eyes);
    camera->SetTarget(at);
    camera->Update();
}

void Stage::Face(int player, const glm::vec3& direction, float down)
{
    const glm::vec3 level = glm::normalize(glm::vec3(direction.x, 0.0f, direction.z));
    Aim(player, Position(player) + level * 20.0f - glm::vec3(0.0f, down * 20.0f, 0.0f));
}

void Stage::View(const glm::vec3& from, const glm::vec3& at)
{
    mViewSet = true;
    mView = {from, at};
}

void Stage::StartEvent(GameState::EventKind kind, float announce)
{
    GameState& state = GameState::GetInstance();
    state.nextEventKind = kind;
    state.eventTimer = state.eventPeriod;
    state.announceDelay = announce;
}

void Stage::WriteKeys() const
{
    int count = 0;
    Uint8* keys = const_cast<Uint8*>(SDL_GetKeyboardState(&count));
    std::fill(keys, keys + count, Uint8{0});
    for (SDL_Scancode key : mKeys)
        if (key < count)
            keys[key] = 1;
}

// One turn of the gameplay mode: the engine frame (nothing drawn), then the
// game state and the recorder. The keys are those of this frame; the mouse
// is read by the frame's event pump, so its buttons count from the next.
void Stage::Frame(bool recorded)
{
    mKeys.clear();
    mMouseNext = 0;
    mViewSet = false;
    if (mScript.direct && recorded)
        mScript.direct(*this);
    WriteKeys();
    gMouseMask = mMouseNext;
    mClock.Advance(kFrameMilliseconds);
    Engine::Renderer::GetInstance().renderingEnabled = false;
    Engine::Core::GetInstance().Update();
    GameState::Update();
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    recorder.Update();
    if (!recorded || recorder.ring.empty())
        return;
    MatchFrame frame = *recorder.ring.back();
    const std::size_t slot = mScript.focus == 1 ? 1 : 0;
    if (mViewSet)
        frame.cams[slot] = mView;
    else
        frame.cams[slot] = {frame.players[0].camp, frame.players[0].camt};
    mFrames.push_back(std::move(frame));
    mTime += static_cast<float>(kFrameMilliseconds) / 1000.0f;
}

std::vector<MatchFrame> Stage::Play()
{
    Build();
    mFrames.clear();
    mTime = 0.0f;
    const auto warmUp = static_cast<int>(std::lround(mScript.warmUp * 1000.0f / kFrameMilliseconds));
    for (int i = 0; i < warmUp; ++i)
        Frame(false);
    const auto frames = static_cast<int>(std::lround(mScript.seconds * 1000.0f / kFrameMilliseconds));
    for (int i = 0; i < frames; ++i)
        Frame(true);
    return ThinTiles(std::move(mFrames), std::max(1, mScript.tileStride));
}

// A frame carries the floor only where a tile moved and the floor differs
// from the one the playback shows by then: every `stride`-th frame while
// tiles keep moving, and always the last frame of a move, so that every move
// ends where it ended. The first frame places the whole floor.
std::vector<MatchFrame> Stage::ThinTiles(std::vector<MatchFrame> frames, int stride)
{
    std::vector<MatchTileRecord> shown;
    int sinceWritten = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const bool last = i + 1 == frames.size();
        const bool settles = last || frames[i + 1].tiles == frames[i].tiles;
        ++sinceWritten;
        if (i == 0 || (frames[i].tiles != shown && (settles || sinceWritten >= stride))) {
            shown = frames[i].tiles;
            sinceWritten = 0;
        } else {
            // Later frames look at the next one only: this one may go.
            frames[i].tiles.clear();
        }
    }
    return frames;
}
