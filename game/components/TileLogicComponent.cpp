#include "game/components/TileLogicComponent.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/logic/SMComponent.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/components/ColourCollider.h"
#include "game/components/CrashingTile.h"
#include "game/components/TileColourStates.h"
#include "game/components/TileHeightStates.h"
#include "game/components/TileProbe.h"
#include "game/match/MatchRecorder.h"

int TileLogicComponent::sRaiseSound = 0;

namespace {

constexpr std::uint32_t kTileBendCode = 0;
constexpr std::uint32_t kArenaEventCode = 4;
constexpr std::uint32_t kRaise = 1;
constexpr std::uint32_t kLower = 0;

Engine::StateMachine* MachineAt(Engine::EntityHandle entity, std::size_t position)
{
    const Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(entity);
    if (!machines || machines->GetStateMachines().size() <= position)
        return nullptr;
    return machines->GetStateMachines()[position];
}

bool IsCrashingTilesEvent(const Engine::NetworkingEvent& event)
{
    const auto decoded = Net::DecodeArenaEvent(event.Payload());
    return decoded && decoded.record.kind == Net::ArenaEvent::kCrashingTiles;
}

} // namespace

Engine::TypeNode* TileLogicComponent::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<TileLogicComponent, Engine::LogicComp>();
}

void TileLogicComponent::Initialize()
{
    using Entries = Engine::TransformCompManager::Entries;
    mRestPosition = *Engine::TransformCompManager::GetInstance().ValuePtr(owner, &Entries::positions);
    AddMachines();
    AttachToStates(this);
    Engine::EntityNameCompManager& names = Engine::EntityNameCompManager::GetInstance();
    if (names.HasComponent(owner))
        names.SetName(owner, Net::Names::Tile(static_cast<std::uint32_t>(mTileNumber)).c_str());
    Engine::Subscribe<Engine::CollisionEvent>(this, &TileLogicComponent::OnCollisionEvent);
    Engine::Subscribe<Engine::NetworkingEvent>(this, &TileLogicComponent::OnNetworkingEvent);
    tile_size.value = 2.0f * Engine::Transform::ScalePtr(owner)->z;
    mRaiseRequest = 0;
    mLowerRequest = 0;
    mPeerStep = 0;
}

// Once per entity: a tile initialised again keeps its machines and states.
void TileLogicComponent::AddMachines()
{
    Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(owner);
    if (!machines || !machines->GetStateMachines().empty())
        return;
    Engine::StateMachine* height = machines->AddStateMachine();
    height->AddState(new TileStartAnimation);
    height->AddState(new TileStayState);
    height->AddState(new TileGoingUpState);
    height->AddState(new TileGoingDownState);
    height->SetInitialState("TileStartAnimation");

    Engine::StateMachine* colour = machines->AddStateMachine();
    colour->AddState(new GoToColour);
    auto* resting = new GoBack;
    colour->AddState(resting);
    if (const Engine::RenderWrapper* wrapper = Engine::RenderWrapperManager::GetInstance().GetCompPtr(owner))
        resting->TakeRestingColours(*wrapper);
    colour->SetInitialState("GoBack");
}

// The states live in the state-machine component, which may outlive this
// one; when it went first, there is nothing left to detach.
void TileLogicComponent::AttachToStates(TileLogicComponent* component)
{
    Engine::StateMachine* height = HeightMachine();
    if (!height)
        return;
    const Engine::StateMachine* colours = ColourMachine();
    for (Engine::State* state : height->GetStates()) {
        if (auto* stay = dynamic_cast<TileStayState*>(state)) {
            stay->component = component;
            stay->resting = colours ? colours->GetState<GoBack>() : nullptr;
        } else if (auto* step = dynamic_cast<TileStepState*>(state)) {
            step->component = component;
        }
    }
}

void TileLogicComponent::Shutdown()
{
    AttachToStates(nullptr);
    Engine::InstanceTypeEventDispatcher<TileLogicComponent>::GetInstance().RemoveInstance(this);
}

void TileLogicComponent::Update()
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (!recorder.isRecording)
        return;
    if (recorder.isLive) {
        std::vector<MatchTileRecord>& records = recorder.live.tiles;
        if (mTileNumber < records.size())
            records[mTileNumber] = {Engine::Transform::GetWorldPosition(owner), *Engine::Transform::UpPtr(owner),
                                    *Engine::Transform::ForwardPtr(owner)};
        return;
    }
    const MatchFrame* front = recorder.PlaybackFront();
    if (!front || mTileNumber >= front->tiles.size())
        return;
    const MatchTileRecord& record = front->tiles[mTileNumber];
    Engine::Transform::SetWorldPosition(owner, record.pos);
    Engine::Transform::UpRef(owner) = record.up;
    Engine::Transform::ForwardRef(owner) = record.forw;
}

Engine::StateMachine* TileLogicComponent::HeightMachine() const { return MachineAt(owner, 0); }

Engine::StateMachine* TileLogicComponent::ColourMachine() const { return MachineAt(owner, 1); }

void TileLogicComponent::SetSelected(bool selected)
{
    const Engine::StateMachine* colours = ColourMachine();
    if (!colours)
        return;
    if (GoToColour* flash = colours->GetState<GoToColour>())
        flash->selected = selected;
    if (GoBack* resting = colours->GetState<GoBack>())
        resting->selected = selected;
}

void TileLogicComponent::SetSelected(Engine::EntityHandle tile, bool selected)
{
    if (!tile.IsValid())
        return;
    if (TileLogicComponent* component = Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile))
        component->SetSelected(selected);
}

bool TileLogicComponent::IsRaiseBlocked()
{
    const glm::vec3 up = *Engine::Transform::UpPtr(owner);
    if (up.x == 0.0f && up.z == 0.0f && mLevel >= kMaxUprightLevel)
        return true;
    if (!mRaiseBlocked && TileProbe::FirstTileAhead(owner, tile_size.value, true).distance >= 0.0f) {
        mRaiseRequest = 0;
        mRaiseBlocked = 1;
    }
    return mRaiseBlocked != 0;
}

void TileLogicComponent::OnCollisionEvent(Engine::CollisionEvent* event)
{
    const ColourCollider* splash = Engine::LogicManager::GetCompPtr<ColourCollider>(event->other);
    Engine::StateMachine* colours = ColourMachine();
    if (!splash || !colours || !colours->GetCurrentState())
        return;
    if (auto* flash = dynamic_cast<GoToColour*>(colours->GetCurrentState())) {
        flash->Blend(splash->colour.value);
        return;
    }
    if (GoToColour* flash = colours->GetState<GoToColour>())
        flash->target = splash->colour.value;
    colours->ChangeState("ToColour");
}

void TileLogicComponent::OnNetworkingEvent(Engine::NetworkingEvent* event)
{
    if (event->code == kTileBendCode)
        ApplyPeerBend(*event);
    else if (event->code == kArenaEventCode && IsCrashingTilesEvent(*event))
        StartCrashing();
}

// The peer raised or lowered its copy of this tile: no type, selection or
// block check, and the level is the peer's. The record's place is a world
// place: once the arena has turned, a tile's own place is not.
void TileLogicComponent::ApplyPeerBend(const Engine::NetworkingEvent& event)
{
    const auto decoded = Net::DecodeTileBend(event.Payload());
    if (!decoded)
        return;
    const Net::TileBend& bend = decoded.record;
    const auto level = static_cast<std::int32_t>(bend.level);
    if (bend.direction != kRaise && bend.direction != kLower) {
        if (level != mLevel)
            Engine::Transform::SetWorldPosition(owner, bend.position);
        mLevel = level;
        return;
    }
    const Engine::StateMachine* height = HeightMachine();
    const Engine::State* now = height ? height->GetCurrentState() : nullptr;
    const bool resting = now && now->GetName() == "TileStay";
    mPeerStepPlaces = level != mLevel || !resting || mPeerStep != 0;
    mLevel = level;
    mPeerStepFrom = bend.position;
    mPeerStep = bend.direction == kRaise ? 1 : -1;
}

bool TileLogicComponent::TakePeerStep()
{
    Engine::StateMachine* height = HeightMachine();
    if (mPeerStep == 0 || !height)
        return false;
    if (mPeerStepPlaces)
        Engine::Transform::SetWorldPosition(owner, mPeerStepFrom);
    height->ChangeState(mPeerStep > 0 ? "TileUp" : "TileDown");
    mPeerStep = 0;
    mPeerStepPlaces = false;
    return true;
}

// The host's crashing-tiles event reached this tile; a tile struck twice
// carries two components and the first one moves.
void TileLogicComponent::StartCrashing()
{
    Engine::LogicManager::GetInstance().AddComponent<CrashingTile>(owner);
    if (CrashingTile* crashing = Engine::LogicManager::GetCompPtr<CrashingTile>(owner)) {
        crashing->Initialize();
        crashing->mActive = 1;
    }
}
