// Tile bending: the player picks a mode with its mode keys, aims at a tile
// for that mode (or gathers several in mode 4) and raises or lowers them
// with energy. The tile moves itself once asked (its height machine); the
// peer is told of every bend.
#include "game/components/player/PlayerLogicComp.h"

#include "engine/core/InputManager.h"
#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/StateMachine.h"
#include "engine/render/Camera.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/bending/PlayerBending.h"
#include "game/components/player/PlayerControls.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileLogicComponent.h"

#include <SDL.h>
#include <set>
#include <vector>

namespace {

using Slot = InputBindings::Slot;
using PlayerBending::Mode;

// Keyboard keys of mode 4: B gathers the aimed tile, N lets every gathered
// tile go. They are fixed, not bound.
constexpr std::int32_t kGatherKey = SDL_SCANCODE_B;
constexpr std::int32_t kLetGoKey = SDL_SCANCODE_N;
// Modes 0 and 1 look down on their tile from this high above the player.
constexpr float kAimHeight = 6.0f;
constexpr std::uint32_t kRaiseDirection = 1;
constexpr std::uint32_t kLowerDirection = 0;

constexpr Slot kModeKeys[] = {Slot::BendMode0, Slot::BendMode1, Slot::BendMode2, Slot::BendMode3, Slot::BendMode4};
// A controller has no button for mode 4.
constexpr Slot kModeButtons[] = {Slot::ControllerBendMode0, Slot::ControllerBendMode1, Slot::ControllerBendMode2,
                                 Slot::ControllerBendMode3};

TileLogicComponent* TileOf(Engine::EntityHandle tile)
{
    return tile.IsValid() ? Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile) : nullptr;
}

// The mode the keys ask for: every held mode key in turn, the last one
// winning; on a controller a mode button pressed this frame.
std::int32_t ModeFromKeys(const PlayerControls& controls, std::int32_t mode)
{
    if (!controls.UsesController()) {
        for (std::int32_t i = 0; i < 5; ++i) {
            if (controls.Held(kModeKeys[i], kModeKeys[i]))
                mode = i;
        }
        return mode;
    }
    for (std::int32_t i = 0; i < 4; ++i) {
        if (controls.Triggered(kModeButtons[i], kModeButtons[i]))
            mode = i;
    }
    return mode;
}

// The ray that finds the mode's tile: from where, in which direction.
struct AimRay {
    glm::vec3 from{0.0f};
    glm::vec3 direction{0.0f};
};

AimRay AimRayOf(const Player_LogicComp& player)
{
    const Engine::EntityHandle self = player.GetOwner();
    const glm::vec3 position = Engine::Transform::GetWorldPosition(self);
    const glm::vec3 forward = *Engine::Transform::ForwardPtr(self);
    const glm::vec3 down = -*Engine::Transform::UpPtr(self);
    const glm::vec3 lift(0.0f, kAimHeight, 0.0f);
    const float reach = 2.0f * player.mTileSize;
    switch (player.mBendMode) {
    case Mode::Ahead:
        return {position + forward * reach + lift, down};
    case Mode::Behind:
        return {position - forward * reach + lift, down};
    case Mode::Under:
        return {position, down};
    default: {
        const Engine::GameCamera* camera = PlayerFrame::CameraOf(player.mCamera);
        return {position, camera ? camera->forward : forward};
    }
    }
}

// Raises, then lowers, every gathered tile in turn; nothing at all while
// there is less than one unit of energy per gathered tile.
void BendGathered(Player_LogicComp& player, bool raising, bool lowering)
{
    const std::set<Engine::EntityHandle>& tiles = player.mDraggedTiles;
    if (tiles.empty() || static_cast<float>(tiles.size()) > player.Energy.value)
        return;
    const std::vector<Engine::EntityHandle> gathered(tiles.begin(), tiles.end());
    // Lit again first, as the aimed tile is: only a lit tile takes its move.
    for (Engine::EntityHandle tile : gathered)
        TileLogicComponent::SetSelected(tile, true);
    if (raising) {
        for (Engine::EntityHandle tile : gathered)
            player.RaiseTile(tile);
    }
    if (lowering) {
        for (Engine::EntityHandle tile : gathered)
            player.LowerTile(tile);
    }
}

} // namespace

void Player_LogicComp::UpdateTileBending()
{
    const PlayerControls controls(owner, mPlayerNumber);
    const bool holding = controls.Held(Slot::BendHold, Slot::ControllerBendHold);
    if (!holding) {
        PlayerBending::SwitchMode(*this, ModeFromKeys(controls, mBendMode));
        const Engine::InputManager& input = Engine::InputManager::GetInstance();
        const bool gathering = mBendMode == Mode::Gather && input.IsKeyDown(kGatherKey);
        if (mBendMode == Mode::Gather && input.IsKeyDown(kLetGoKey))
            PlayerBending::LetGoOfGathered(*this);
        const AimRay ray = AimRayOf(*this);
        const Engine::EntityHandle hit = PlayerBending::TileAlong(ray.from, ray.direction);
        if (mBendMode == Mode::Gather) {
            if (gathering && !hit.IsNull()) {
                TileLogicComponent::SetSelected(hit, true);
                mDraggedTiles.insert(hit);
            }
        } else {
            PlayerBending::AimAt(*this, hit);
        }
    }

    const bool raising = controls.Held(Slot::BendActivate, Slot::ControllerBendActivate);
    const bool lowering = controls.Held(Slot::BendDeActivate, Slot::ControllerBendDeactivate);
    if (mBendMode == Mode::Gather) {
        BendGathered(*this, raising, lowering);
        return;
    }

    if (!TileOf(mAimedTile))
        return;
    // Holding freezes the mode and keeps raising the tile underfoot. The aim
    // goes there before anything is paid: a tile the aim leaves is unlit,
    // and an unlit tile never takes the move it was paid for.
    if (holding) {
        const glm::vec3 position = Engine::Transform::GetWorldPosition(owner);
        PlayerBending::AimAt(*this, PlayerBending::TileAlong(position, -*Engine::Transform::UpPtr(owner)));
    }
    const TileLogicComponent* aimed = TileOf(mAimedTile);
    if (!aimed)
        return;
    if (raising)
        RaiseTile(mAimedTile);
    if (lowering && aimed->mLevel >= 0)
        LowerTile(mAimedTile);
    if (holding)
        RaiseTile(mAimedTile);
}

// A tile bends when it is a floor tile of the arena that is still there,
// movable, and resting between two moves with no move asked of it yet: a
// raise and a lowering asked together would step the tile down with its
// level unchanged, and tell the peer of two moves. The peer's step waiting
// on the tile goes first, and the rest after it clears what was asked
// meanwhile: that bend would be paid for, lost here and made on the peer.
bool Player_LogicComp::CanBendTile(Engine::EntityHandle tile)
{
    const TileLogicComponent* component = TileOf(tile);
    if (!component || !component->IsMovable() || component->mRaiseRequest || component->mLowerRequest ||
        component->mPeerStep != 0)
        return false;
    if (HexGrid::GetInstance().Tile(component->mTileNumber) != tile)
        return false;
    const Engine::StateMachine* height = component->HeightMachine();
    const Engine::State* state = height ? height->GetCurrentState() : nullptr;
    return state && state->GetName() == "TileStay";
}

void Player_LogicComp::RaiseTile(Engine::EntityHandle tile)
{
    if (!CanBendTile(tile))
        return;
    TileLogicComponent& component = *TileOf(tile);
    if (component.IsRaiseBlocked() || !SpendEnergy(mTileBendCost))
        return;
    MatchRecorder::GetInstance().AddMomentPoints(mPlayerNumber, MatchRecorder::TileBend);
    component.mRaiseRequest = 1;
    PlayerBending::TellThePeer(component, component.mLevel, kRaiseDirection);
}

void Player_LogicComp::LowerTile(Engine::EntityHandle tile)
{
    if (!CanBendTile(tile))
        return;
    TileLogicComponent& component = *TileOf(tile);
    if (!component.HoldsLevel(std::int64_t{component.mLevel} - 1) || !SpendEnergy(mTileBendCost))
        return;
    MatchRecorder::GetInstance().AddMomentPoints(mPlayerNumber, MatchRecorder::TileBend);
    component.mLowerRequest = 1;
    PlayerBending::TellThePeer(component, component.mLevel + 1, kLowerDirection);
}
