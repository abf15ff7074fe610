#include "game/components/ball/TempBallComp.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionComp.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/CollisionEvent.h"
#include "engine/logic/DisconnectEvent.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/logic/SMComponent.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/RenderCompManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/ball/BallStates.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TrailStates.h"

#include <algorithm>

namespace {

glm::vec3 ClampToArena(const glm::vec3& p)
{
    constexpr float w = TempBallComp::kArenaHalfWidth;
    constexpr float h = TempBallComp::kArenaHalfHeight;
    return {std::clamp(p.x, -w, w), std::clamp(p.y, -h, h), std::clamp(p.z, -w, w)};
}

} // namespace

TempBallComp::~TempBallComp() { Engine::InstanceTypeEventDispatcher<TempBallComp>::GetInstance().RemoveInstance(this); }

Engine::TypeNode* TempBallComp::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<TempBallComp, Engine::LogicComp>();
}

void TempBallComp::Initialize()
{
    mLastNormal = glm::vec3(0.0f);
    mLastTile = owner;
    // The hit sound plays from the ball as well as from the victim.
    if (Engine::Emitter* sounds = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner); sounds && !sounds->GetSound("PlayerHit"))
        sounds->AddSound("PlayerHit", "data/Sounds/Sfx/player_hit.wav", true);
    BuildTrailPieces();
    BuildMachines();
    Engine::Subscribe<Engine::CollisionEvent>(this, &TempBallComp::HandleContact);
    Engine::Subscribe<Engine::NetworkingEvent>(this, &TempBallComp::OnNetworkingEvent);
    Engine::Subscribe<Engine::DisconnectEvent>(this, &TempBallComp::OnDisconnect);
}

// Five thin boxes in the owner's colour, parked until a flight starts one.
// A second Initialize keeps the pieces it made the first time.
void TempBallComp::BuildTrailPieces()
{
    if (!mTrail.empty())
        return;
    const glm::vec3 colour = PlayerFrame::PlayerColour(Player_LogicComp::PlayerNumberOf(mPlayer));
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    for (int i = 0; i < kTrailPieces; ++i) {
        const Engine::EntityHandle piece = Engine::EntityMgr::GetInstance().CreateEntity();
        if (piece.IsNull())
            return;
        Engine::EntityTagCompManager::GetInstance().AddTag(piece, "Trail");
        Engine::TransformCompManager::GetInstance().AddComponent(piece);
        Engine::Transform::SetWorldPosition(piece, Trail::kParked);
        Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(piece).component;
        look.mModelName.value = "Cube";
        look.mMaterialName.value = "White";
        look.mShaderName.value = "Trail";
        look.ResolveResources();
        look.mDiffuseColor.value = colour;
        Engine::Transform::ScaleRef(piece) = Trail::kRestScale;
        Engine::SetEntityName(piece, "Trail");
        logic.AddComponent<Engine::SMComponent>(piece);
        Engine::StateMachine* machine = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(piece)->AddStateMachine();
        machine->AddState(new TrailBegin(owner));
        machine->AddState(new TrailFollow(owner));
        machine->AddState(new TrailEnd(owner));
        machine->AddState(new TrailIdle());
        machine->selfTransition = true;
        machine->SetInitialState("TrailIdle");
        mTrail.push_back(piece);
    }
}

// The flight machine, then the speed machine; a ball that has machines
// already keeps them. The peer's ball starts in flight.
void TempBallComp::BuildMachines()
{
    Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(owner);
    if (!machines || !machines->GetStateMachines().empty())
        return;
    Engine::StateMachine* flight = machines->AddStateMachine();
    flight->AddState(new BallBouncing(mPlayer));
    flight->AddState(new BallDesintegrate(mPlayer));
    flight->AddState(new BallIdle(mPlayer));
    flight->AddState(new BallReturn(mPlayer));
    flight->AddState(new ReturnBounce(mPlayer));
    flight->SetInitialState("BallIdle");
    const bool peersBall = Engine::EntityNameCompManager::GetInstance().HasComponent(owner) &&
                           std::string(Engine::EntityNameCompManager::GetInstance().GetName(owner)) == Net::Names::kRemoteBall;
    if (peersBall)
        flight->SetInitialState("BallBouncing");
    Engine::StateMachine* speed = machines->AddStateMachine();
    speed->AddState(new SlowState());
    speed->AddState(new NormalState());
    speed->SetInitialState("Normal");
}

void TempBallComp::Update()
{
    ExchangeWithRecorder();
    if (mSplashCooldown > 0.0)
        mSplashCooldown -= Engine::FrameRateController::GetScaledDt();
    ResolveCollision();
}

void TempBallComp::ExchangeWithRecorder()
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const std::size_t record = PlayerFrame::RecordIndex(Player_LogicComp::PlayerNumberOf(mPlayer));
    if (recorder.IsCapturing()) {
        recorder.live.balls[record].pos = Engine::Transform::GetWorldPosition(owner);
    } else if (recorder.IsReplaying()) {
        if (const MatchFrame* front = recorder.PlaybackFront())
            Engine::Transform::SetWorldPosition(owner, front->balls[record].pos);
    }
}

void TempBallComp::Shutdown()
{
    ParkTrail();
    if (owner.IsValid()) {
        if (Engine::SMComponent* machines = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(owner))
            machines->Shutdown();
    }
    Engine::InstanceTypeEventDispatcher<TempBallComp>::GetInstance().RemoveInstance(this);
}

// Without its ball a stretched piece would stand where the flight left it,
// and a starting one would go on reaching for a ball that is gone: each is
// parked now and goes idle on its next update.
void TempBallComp::ParkTrail()
{
    for (Engine::EntityHandle piece : mTrail) {
        Trail::Park(piece);
        if (Engine::StateMachine* machine = PlayerFrame::MachineAt(piece, 0))
            machine->ChangeState("TrailIdle");
    }
}

void TempBallComp::ResolveCollision()
{
    Engine::CollisionComp* body = PlayerFrame::BodyOf(owner);
    if (!body)
        return;
    const glm::vec3 position = Engine::Transform::GetWorldPosition(owner);
    const glm::vec3 inside = ClampToArena(position);
    // The owner is held in the same box, without a bounce.
    if (!mPlayer.IsNull() && Engine::TransformCompManager::GetInstance().HasComponent(mPlayer)) {
        const glm::vec3 player = Engine::Transform::GetWorldPosition(mPlayer);
        const glm::vec3 playerInside = ClampToArena(player);
        if (playerInside != player)
            Engine::Transform::SetWorldPosition(mPlayer, playerInside);
    }
    if (inside == position)
        return;
    Engine::Transform::SetWorldPosition(owner, inside);
    // Back into the arena; a ball already heading back in is only moved.
    const glm::vec3 inwards = glm::normalize(inside - position);
    glm::vec3& velocity = body->mVelocity.value;
    const float along = glm::dot(inwards, velocity);
    if (along > 0.0f)
        return;
    velocity += inwards * (-along * body->mRestitution.value - along);

    Engine::CollisionEvent wall;
    wall.point = inside;
    wall.normal = -inwards;
    HandleContact(&wall);
}

Engine::StateMachine* TempBallComp::FlightMachine() const { return PlayerFrame::MachineAt(owner, 0); }

Engine::StateMachine* TempBallComp::SpeedMachine() const { return PlayerFrame::LastMachine(owner); }

std::string TempBallComp::FlightStateName() const
{
    const Engine::StateMachine* flight = FlightMachine();
    return flight && flight->GetCurrentState() ? flight->GetCurrentState()->GetName() : std::string();
}

void TempBallComp::StartTrail()
{
    if (mTrail.empty())
        return;
    if (Engine::StateMachine* machine = PlayerFrame::MachineAt(mTrail.front(), 0))
        machine->ChangeState("TrailBegin");
}

// One pass round the queue: every piece still stretched starts to end, and
// the queue comes back in its old order.
void TempBallComp::EndTrail()
{
    for (std::size_t i = 0; i < mTrail.size(); ++i) {
        const Engine::EntityHandle piece = mTrail.front();
        mTrail.pop_front();
        if (Engine::StateMachine* machine = PlayerFrame::MachineAt(piece, 0)) {
            const Engine::State* state = machine->GetCurrentState();
            if (state && state->GetName() != "TrailEnd" && state->GetName() != "TrailIdle")
                machine->ChangeState("TrailEnd");
        }
        mTrail.push_back(piece);
    }
}
