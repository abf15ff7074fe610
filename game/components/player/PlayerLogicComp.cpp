#include "game/components/player/PlayerLogicComp.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Window.h"
#include "game/arena/ArenaRoom.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/player/PlayerBody.h"
#include "game/components/player/PlayerHold.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

int gLivePlayers = 0;

using PlayerFrame::BodyOf;
using PlayerFrame::CameraOf;
using PlayerFrame::Dt;
using PlayerFrame::ScaledDt;

// The x scale of the first tile, in entity order; 0 without tiles.
float FirstTileWidth()
{
    const Engine::TransformCompManager& transforms = Engine::TransformCompManager::GetInstance();
    for (Engine::EntityHandle tile : Engine::EntityTagCompManager::GetInstance().FindEntitiesWithTag("Tile")) {
        if (transforms.HasComponent(tile))
            return Engine::Transform::ScalePtr(tile)->x;
    }
    return 0.0f;
}

float Identity(float base, int) { return base; }

} // namespace

Player_LogicComp::Player_LogicComp() : mShotHook(&Identity)
{
    mPlayerNumber = ++gLivePlayers;
}

Player_LogicComp::~Player_LogicComp()
{
    std::cout << "[DEBUG] Player component destroyed!\n";
    --gLivePlayers;
    if (!owner.IsNull())
        Engine::InputManager::GetInstance().ReleaseController(owner);
}

Engine::TypeNode* Player_LogicComp::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<Player_LogicComp, Engine::LogicComp>();
}

int Player_LogicComp::LivePlayerCount() { return gLivePlayers; }

void Player_LogicComp::ResetPlayerCount() { gLivePlayers = 0; }

int Player_LogicComp::PlayerNumberOf(Engine::EntityHandle entity)
{
    const Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(entity);
    return player ? player->mPlayerNumber : 0;
}

void Player_LogicComp::Initialize()
{
    Engine::Subscribe<Engine::NetworkingEvent>(this, &Player_LogicComp::OnNetworkingEvent);
    if (mRemote) {
        mTileBendCost = energy_tile_bend_base.value;
        mRunCost = energy_run_base.value;
        mStaticRequest = false;
        mTimeSinceActive = 0.0f;
        return;
    }
    Engine::FrameRateController::SetTimeScale(1.0);
    Energy.value = MaxEnergy.value;
    mExhausted = false;

    mBody = Engine::TransformCompManager::GetInstance().HasComponent(owner) ? owner : Engine::EntityHandle();
    mCamera = CameraOf(owner) ? owner : Engine::EntityHandle();
    if (Engine::GameCamera* camera = CameraOf(mCamera))
        camera->mFoV.value = Fov.value;

    mStartPlace = Engine::Transform::GetWorldPosition(owner);
    const glm::vec3* scale = Engine::Transform::ScalePtr(owner);
    mHalfHeight = scale ? 0.5f * scale->y : 0.0f;
    mBendMode = 3;
    mTileSize = FirstTileWidth();

    if (const Engine::CollisionComp* body = BodyOf(owner))
        mSavedGravity = body->mGravity.value;
    mRadialOpen = false;
    mEndMedalsPending = true;
    HideRadialSlices();
    if (Engine::GameCamera* camera = CameraOf(mCamera))
        camera->SetTarget(glm::vec3(0.0f));
}

void Player_LogicComp::Update()
{
    if (Engine::CollisionComp* body = BodyOf(owner))
        body->mGhost.value = false;
    mTimeSinceActive += ScaledDt();
    mPlayTime += Dt();

    ExchangeWithRecorder();
    mHurtTimer += Dt();
    if (mHurtTimer >= mHurtDuration)
        mHurting = false;
    UpdateScoreHud();
    if (mRemote)
        return;

    const bool live = MatchRecorder::GetInstance().isLive;
    if (live) {
        ReturnWhenOutsideArena();
        UpdateFovKick();
        if (TakesInput()) {
            const std::string movement = StateNameOf(MovementMachine);
            if (!movement.empty() && movement != "Static")
                UpdateTileBending();
            ReadRadialMenuKey();
        }
    }
    FaceTheCamera();
    if (mPassiveKind == kNoPassive)
        ResetCostsWithoutPerk();
    if (!live)
        mCanAct = false;
}

void Player_LogicComp::Shutdown()
{
    Engine::InstanceTypeEventDispatcher<Player_LogicComp>::GetInstance().RemoveInstance(this);
}

void Player_LogicComp::StartFovKick(float target, float seconds)
{
    FovStart.value = FovLerper.value;
    FovModifier.value = target;
    FovTime.value = seconds;
    mFovTimer = 0.0f;
}

Engine::StateMachine* Player_LogicComp::MachineAt(std::size_t position) const
{
    return PlayerFrame::MachineAt(owner, position);
}

std::string Player_LogicComp::StateNameOf(std::size_t position) const
{
    const Engine::StateMachine* machine = MachineAt(position);
    return machine && machine->GetCurrentState() ? machine->GetCurrentState()->GetName() : std::string();
}

void Player_LogicComp::UpdateFovKick()
{
    // The ease ends on its target, whatever the frame times add up to.
    mFovTimer += Dt();
    const float progress = FovTime.value > 0.0f ? std::min(mFovTimer / FovTime.value, 1.0f) : 1.0f;
    FovLerper.value = FovStart.value + (FovModifier.value - FovStart.value) * progress;
    if (Engine::GameCamera* camera = CameraOf(mCamera))
        camera->mFoV.value = FovLerper.value * Fov.value;
}

// The mode menu key opens the menu and frees the pointer at the window's
// centre; letting it go closes the menu. While the menu stays open the
// player picks a mode with the pointer.
void Player_LogicComp::ReadRadialMenuKey()
{
    const PlayerControls controls(owner, mPlayerNumber);
    using Slot = InputBindings::Slot;
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    if (controls.Released(Slot::ModeMenu, Slot::ControllerModeMenu))
        mRadialOpen = false;
    if (controls.Triggered(Slot::ModeMenu, Slot::ControllerModeMenu)) {
        input.menuPointerShown = true;
        if (Engine::Window* window = Engine::Window::Main(); window && window->sdlWindow) {
            SDL_SetRelativeMouseMode(SDL_FALSE);
            // The size shown, which the menu measures the pointer from: a
            // fullscreen window keeps a size set for later in its record.
            const auto [width, height] = window->GetSize();
            SDL_WarpMouseInWindow(window->sdlWindow, width / 2, height / 2);
        }
        mRadialOrigin = glm::vec2(0.0f);
        mRadialOpen = true;
    }
    if (controls.Released(Slot::ModeMenu, Slot::ControllerModeMenu)) {
        mRadialOpen = false;
        input.menuPointerShown = false;
    }
    if (mRadialOpen && controls.Held(Slot::ModeMenu, Slot::ControllerModeMenu))
        UpdateRadialMenu();
    else
        HideRadialSlices();
}

void Player_LogicComp::HideRadialSlices()
{
    for (Engine::EntityHandle slice : mRadialSlices)
        ShowHudTexture(slice, "");
}

// The body faces where the camera looks, levelled; a camera looking
// straight up or down leaves the body as it was.
void Player_LogicComp::FaceTheCamera()
{
    Engine::GameCamera* camera = CameraOf(mCamera);
    if (!camera)
        return;
    camera->Update();
    const glm::vec3 level(camera->forward.x, 0.0f, camera->forward.z);
    if (glm::dot(level, level) > 1e-12f)
        Engine::Transform::ForwardRef(owner) = glm::normalize(level);
    Engine::Transform::UpRef(owner) = glm::vec3(0.0f, 1.0f, 0.0f);
}

// The movement holds a player in the arena; should a way out have been
// missed, the player is not left behind the tiles for the rest of the match.
void Player_LogicComp::ReturnWhenOutsideArena()
{
    const glm::vec3 at = Engine::Transform::GetWorldPosition(owner);
    if (ArenaRoom::Of(HexGrid::GetInstance()).Contains(at))
        return;
    const glm::vec3 start = PlayerHold::RoomFor(owner).Clamp(mStartPlace);
    std::cerr << "[Player] Player " << mPlayerNumber << " was outside the arena at (" << at.x << ", " << at.y << ", "
              << at.z << "); put back at its start (" << start.x << ", " << start.y << ", " << start.z << ")\n";
    Engine::Transform::SetWorldPosition(owner, start);
    if (Engine::CollisionComp* body = BodyOf(owner))
        body->mVelocity.value = glm::vec3(0.0f);
}

void Player_LogicComp::ResetCostsWithoutPerk()
{
    mRunCost = energy_run_base.value;
    mTileBendCost = energy_tile_bend_base.value;
    mJumpCount = 1;
    mActiveCost = mActiveCostBase;
    mActiveCooldown = mActiveCooldownBase;
    mShotHook = &Identity;
}
