#include "game/components/tile/TileLogicComponent.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/logic/SMComponent.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/RenderWrapperManager.h"
#include "game/arena/HexGrid.h"
#include "game/arena/HexLayout.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/tile/ColourCollider.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileColourStates.h"
#include "game/components/tile/TileHeightStates.h"
#include "game/components/tile/TileProbe.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>

int TileLogicComponent::sRaiseSound = 0;

namespace {

// A bend record's direction: 1 raise, 0 lower (nothing else decodes).
constexpr std::uint32_t kRaise = 1;
// Far more steps than any match bends a tile, and far from where a level's
// step overflows.
constexpr double kMostLevels = 1e6;

void ReportDroppedBend(const char* problem)
{
    std::cerr << "[Tile] Dropped the peer's message of code " << Engine::NetworkingEvent::kTileBend << ": "
              << problem << "\n";
}

// A tile's up and forward are its own, under its arena side; the recording
// keeps them as the world sees them, like its position, because the side may
// turn (the arena's flip) between a frame's recording and its playback. The
// turn of the tile's side; none for a side as built, which turns nothing.
std::optional<glm::mat3> SideTurn(Engine::EntityHandle tile)
{
    const Engine::EntityHandle side = Engine::Transform::GetParent(tile);
    if (!side.IsValid())
        return std::nullopt;
    const glm::mat3 turn(Engine::Transform::GetWorldMatrix(side));
    if (turn == glm::mat3(1.0f))
        return std::nullopt;
    return turn;
}

// Every tile records itself every frame of a match: its entry is looked up
// once, and a side as built costs one look at its cached matrix.
MatchTileRecord RecordOf(Engine::EntityHandle tile)
{
    using Engine::TransformCompManager;
    const TransformCompManager& transforms = TransformCompManager::GetInstance();
    const std::uint32_t index = transforms.GetDataIndex(tile);
    if (index == TransformCompManager::kNoIndex)
        return {glm::vec3(0.0f), *Engine::Transform::UpPtr(tile), *Engine::Transform::ForwardPtr(tile)};
    const TransformCompManager::Entries& entries = transforms.GetEntries();
    MatchTileRecord record{transforms.WorldPosition(index), entries.ups[index], entries.forwards[index]};
    const Engine::EntityHandle side = entries.parents[index];
    if (side.IsNull() || !side.IsValid())
        return record;
    const std::uint32_t sideIndex = transforms.GetDataIndex(side);
    if (sideIndex == TransformCompManager::kNoIndex)
        return record;
    const glm::mat3 turn(transforms.ComputeWorldMatrix(sideIndex));
    if (turn != glm::mat3(1.0f)) {
        record.up = glm::normalize(turn * record.up);
        record.forw = glm::normalize(turn * record.forw);
    }
    return record;
}

// Where the arena's sides turn about: the place of the tile's side.
glm::vec3 MiddleOf(Engine::EntityHandle tile)
{
    const Engine::EntityHandle side = Engine::Transform::GetParent(tile);
    return side.IsValid() ? Engine::Transform::GetWorldPosition(side) : glm::vec3(0.0f);
}

void PlaceAsRecorded(Engine::EntityHandle tile, const MatchTileRecord& record)
{
    Engine::Transform::SetWorldPosition(tile, record.pos);
    glm::vec3 up = record.up;
    glm::vec3 forward = record.forw;
    if (const std::optional<glm::mat3> turn = SideTurn(tile)) {
        const glm::mat3 back = glm::inverse(*turn);
        up = glm::normalize(back * up);
        forward = glm::normalize(back * forward);
    }
    Engine::Transform::UpRef(tile) = up;
    Engine::Transform::ForwardRef(tile) = forward;
}

// The peer's record names a world place of its copy of a tile, seen in its
// own arena, which turns a link's delay apart from this one (the flip runs
// on each side from its own start): taken as it stands, a place named while
// either arena turns lies turned about the arena's middle, across and up.
// A tile moves only along its own up and no turn changes how far a place
// lies from the middle the sides turn about, so the tile goes to the point of
// its own line of travel at the record's distance from there (of the two,
// the one on this side of the middle, which a tile never passes). A place
// no point of the line reaches leaves the tile where it stands.
void PlaceAtPeerHeight(Engine::EntityHandle tile, const glm::vec3& peerPlace)
{
    const glm::vec3 middle = MiddleOf(tile);
    glm::vec3 up = *Engine::Transform::UpPtr(tile);
    if (const std::optional<glm::mat3> turn = SideTurn(tile))
        up = *turn * up;
    if (!(glm::length(up) > 0.0f))
        return;
    up = glm::normalize(up);
    // |at + h up| = |peer|: h^2 + 2 b h + c = 0; the root nearer zero, in a
    // form that loses no digits to cancellation.
    const glm::vec3 at = Engine::Transform::GetWorldPosition(tile) - middle;
    const glm::vec3 peer = peerPlace - middle;
    const float b = glm::dot(at, up);
    const float c = glm::dot(at, at) - glm::dot(peer, peer);
    const float discriminant = b * b - c;
    if (!(discriminant >= 0.0f))
        return;
    const float denominator = b + std::copysign(std::sqrt(discriminant), b);
    const float height = denominator != 0.0f ? -c / denominator : 0.0f;
    // A place finite but far enough to overflow the squares measures nothing.
    const glm::vec3 place = middle + at + height * up;
    if (!Engine::Math::IsFinite(place))
        return;
    Engine::Transform::SetWorldPosition(tile, place);
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
    mRestPosition = *Engine::Transform::PositionPtr(owner);
    AddMachines();
    AttachToStates(this);
    Engine::EntityNameCompManager& names = Engine::EntityNameCompManager::GetInstance();
    if (names.HasComponent(owner))
        names.SetName(owner, Net::Names::Tile(static_cast<std::uint32_t>(mTileNumber)).c_str());
    Engine::Subscribe<Engine::CollisionEvent>(this, &TileLogicComponent::OnCollisionEvent);
    Engine::Subscribe<Engine::NetworkingEvent>(this, &TileLogicComponent::OnNetworkingEvent);
    tile_size.value = HexLayout::StepLength(*Engine::Transform::ScalePtr(owner));
    mRaiseRequest = 0;
    mLowerRequest = 0;
    mPeerStep = 0;
    mUnseenBendHeights.clear();
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
    if (recorder.IsCapturing()) {
        std::vector<MatchTileRecord>& records = recorder.live.tiles;
        if (mTileNumber < records.size())
            records[mTileNumber] = RecordOf(owner);
        return;
    }
    if (!recorder.IsReplaying())
        return;
    const MatchFrame* front = recorder.PlaybackFront();
    if (!front || mTileNumber >= front->tiles.size())
        return;
    PlaceAsRecorded(owner, front->tiles[mTileNumber]);
}

Engine::StateMachine* TileLogicComponent::HeightMachine() const { return PlayerFrame::MachineAt(owner, 0); }

Engine::StateMachine* TileLogicComponent::ColourMachine() const { return PlayerFrame::MachineAt(owner, 1); }

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

std::int32_t TileLogicComponent::LevelLimit() const
{
    const double span = 2.0 * HexGrid::GetInstance().Reach();
    // A tile whose steps have no length, or one of no arena, bends as far
    // as any match does.
    if (!(tile_size.value > 0.0f) || !(span > 0.0))
        return static_cast<std::int32_t>(kMostLevels);
    return static_cast<std::int32_t>(std::min(span / static_cast<double>(tile_size.value), kMostLevels));
}

bool TileLogicComponent::IsRaiseBlocked()
{
    const glm::vec3 up = *Engine::Transform::UpPtr(owner);
    if (up.x == 0.0f && up.z == 0.0f && mLevel >= kMaxUprightLevel)
        return true;
    if (!HoldsLevel(std::int64_t{mLevel} + 1))
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
    if (event->code == Engine::NetworkingEvent::kTileBend)
        ApplyPeerBend(*event);
    else if (event->code == Engine::NetworkingEvent::kArenaEvent && IsCrashingTilesEvent(*event))
        StartCrashing();
}

// The peer raised or lowered its copy of this tile: no selection or block
// check, and the level is the peer's. The record's place is a world place:
// once the arena has turned, a tile's own place is not. A crashing tile
// takes none: the peer bent its copy before it knew of the crash, which
// ends the tile where it meets another on both machines, while a step taken
// after the crash has stopped would leave it elsewhere here for good.
void TileLogicComponent::ApplyPeerBend(const Engine::NetworkingEvent& event)
{
    const auto decoded = Net::DecodeTileBend(event.Payload());
    if (!decoded) {
        ReportDroppedBend(decoded.problem);
        return;
    }
    const Net::TileBend& bend = decoded.record;
    const auto level = static_cast<std::int32_t>(bend.level);
    if (const char* problem = BeyondTheArena(level, bend.position)) {
        ReportDroppedBend(problem);
        return;
    }
    if (tile_type.value == Crashing)
        return;
    const bool host = NetworkMgr::GetInstance().server != 0;
    if (host && BendsFromAnUnseenHeight(bend.position))
        return;
    const Engine::StateMachine* height = HeightMachine();
    const Engine::State* now = height ? height->GetCurrentState() : nullptr;
    const bool resting = now && now->GetName() == "TileStay";
    mPeerStepPlaces = !host || level != mLevel || !resting || mPeerStep != 0;
    mLevel = level;
    mPeerStepFrom = bend.position;
    mPeerStep = bend.direction == kRaise ? 1 : -1;
}

// No tile stands farther from the arena's middle than its farthest tile at
// rest stepped out by the most steps the arena holds.
const char* TileLogicComponent::BeyondTheArena(std::int32_t level, const glm::vec3& place) const
{
    if (!HoldsLevel(level))
        return "the level lies outside what the arena holds";
    const double farthest = HexGrid::GetInstance().Reach() + double{tile_size.value} * LevelLimit();
    if (glm::distance(place, MiddleOf(owner)) > farthest)
        return "the place lies beyond the arena's reach";
    return nullptr;
}

bool TileLogicComponent::TakePeerStep()
{
    // Asked by every resting tile every frame: the machine is looked up only
    // when a step waits.
    if (mPeerStep == 0)
        return false;
    // The crash began after the step came: the step goes with it.
    if (tile_type.value == Crashing) {
        mPeerStep = 0;
        return false;
    }
    Engine::StateMachine* height = HeightMachine();
    if (!height)
        return false;
    if (mPeerStepPlaces)
        PlaceAtPeerHeight(owner, mPeerStepFrom);
    height->ChangeState(mPeerStep > 0 ? "TileUp" : "TileDown");
    mPeerStep = 0;
    mPeerStepPlaces = false;
    return true;
}

void TileLogicComponent::NoteBendSent()
{
    if (!NetworkMgr::GetInstance().server)
        return;
    if (mUnseenBendHeights.size() >= kUnseenBends)
        mUnseenBendHeights.erase(mUnseenBendHeights.begin());
    mUnseenBendHeights.push_back(glm::distance(Engine::Transform::GetWorldPosition(owner), MiddleOf(owner)));
}

// A client's bend from where the tile settles here saw every bend of the
// host's; one from a height the host bent the tile away from did not, and
// the client, told of the host's bend, goes that way instead.
bool TileLogicComponent::BendsFromAnUnseenHeight(const glm::vec3& peerFrom)
{
    if (mUnseenBendHeights.empty())
        return false;
    const float peer = glm::distance(peerFrom, MiddleOf(owner));
    const float halfStep = 0.5f * tile_size.value;
    if (std::abs(peer - SettledHeight()) < halfStep) {
        mUnseenBendHeights.clear();
        return false;
    }
    return std::any_of(mUnseenBendHeights.begin(), mUnseenBendHeights.end(),
                       [&](float unseen) { return std::abs(peer - unseen) < halfStep; });
}

// How far from the arena's middle the tile comes to rest: where its step
// ends, or where it stands, a step on when this side's request waits.
float TileLogicComponent::SettledHeight() const
{
    const Engine::StateMachine* height = HeightMachine();
    const Engine::State* now = height ? height->GetCurrentState() : nullptr;
    glm::vec3 ahead(0.0f);
    if (const auto* step = dynamic_cast<const TileStepState*>(now))
        ahead = step->target - *Engine::Transform::PositionPtr(owner);
    else if (now && now->GetName() == "TileStay" && (mLowerRequest || mRaiseRequest))
        ahead = *Engine::Transform::UpPtr(owner) * tile_size.value * (mLowerRequest ? -1.0f : 1.0f);
    if (const std::optional<glm::mat3> turn = SideTurn(owner))
        ahead = *turn * ahead;
    return glm::distance(Engine::Transform::GetWorldPosition(owner) + ahead, MiddleOf(owner));
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
