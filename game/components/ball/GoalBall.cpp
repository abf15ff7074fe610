#include "game/components/ball/GoalBall.h"

#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/frame/Core.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/Palette.h"
#include "game/components/shared/PlayerFrame.h"

#include <GL/glew.h>
#include <algorithm>
#include <cmath>

namespace {

// Half the raw generator's range: each draw is centred on zero.
constexpr int kDrawCentre = 16383;
// A generator that keeps answering the centre must not hang the spawn.
constexpr int kDirectionTries = 64;

GoalBall* ComponentOf(Engine::EntityHandle entity) { return Engine::LogicManager::GetCompPtr<GoalBall>(entity); }

// The goal ball out that no destruction waits for; the null handle if none.
Engine::EntityHandle LiveGoalBall()
{
    const Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    const Engine::EntityNameCompManager& names = Engine::EntityNameCompManager::GetInstance();
    for (Engine::EntityHandle ball : names.FindEntitiesByName(Net::Names::kGoalBall)) {
        if (ComponentOf(ball) && !entities.IsQueuedForDestruction(ball))
            return ball;
    }
    return {};
}

// The palette's ball colour, brightened until its strongest channel is full.
glm::vec4 Glow(const glm::vec3& colour)
{
    const float lift = 1.0f - std::max({colour.r, colour.g, colour.b});
    return glm::vec4(colour + lift, 1.0f);
}

void Colour(Engine::RenderCompBase& look, const char* model, const char* shader)
{
    look.mModelName.value = model;
    look.mMaterialName.value = "White";
    look.mShaderName.value = shader;
    look.mDiffuseColor.value = CurrentPalette.Colour(BallDiff);
    look.mSpecularColor.value = CurrentPalette.Colour(BallSpec);
    look.ResolveResources();
}

} // namespace

Engine::TypeNode* GoalBall::RegisterClassType() { return Engine::TypeRegistry::RegisterUnder<GoalBall, Engine::LogicComp>(); }

// A goal ball spent in this frame goes only at the frame's end: the peer's
// spawn taken meanwhile must find it gone, or this side is left with none
// while the peer has one.
bool GoalBall::Alive() { return !LiveGoalBall().IsNull(); }

void GoalBall::Initialize()
{
    PickDirection();
    mTransform = Engine::TransformCompManager::GetInstance().HasComponent(owner) ? owner : Engine::EntityHandle();
    mSpeed = mBaseSpeed = kBaseSpeed;
    Engine::Transform::PositionRef(owner) = glm::vec3(0.0f);
    mActive = 0;
    mTimer = 0.0f;
    mLaunchDelay = kLaunchDelay;
}

// Three centred draws of the generator, made a unit vector; a draw of all
// zeros is drawn again.
void GoalBall::PickDirection()
{
    for (int attempt = 0; attempt < kDirectionTries; ++attempt) {
        // One statement per draw: they go x, y, z in that order.
        glm::vec3 draw;
        draw.x = static_cast<float>(Engine::Random::Next() - kDrawCentre);
        draw.y = static_cast<float>(Engine::Random::Next() - kDrawCentre);
        draw.z = static_cast<float>(Engine::Random::Next() - kDrawCentre);
        if (draw != glm::vec3(0.0f)) {
            mDirection = glm::normalize(draw);
            return;
        }
    }
    mDirection = glm::vec3(1.0f, 0.0f, 0.0f);
}

void GoalBall::Update()
{
    mTransform = Engine::TransformCompManager::GetInstance().HasComponent(owner) ? owner : Engine::EntityHandle();
    if (!mActive) {
        mTimer += PlayerFrame::ScaledDt();
        if (mTimer >= mLaunchDelay) {
            mActive = 1;
            if (Engine::CollisionComp* body = PlayerFrame::BodyOf(owner))
                body->mVelocity.value = mDirection;
        }
    } else {
        Fly();
    }
    ExchangeWithRecorder();
}

// Bounces turn it; nothing changes its speed but the speed machine. A
// stopped ball keeps the way it last went.
void GoalBall::Fly()
{
    Engine::CollisionComp* body = PlayerFrame::BodyOf(owner);
    if (!body)
        return;
    const glm::vec3 velocity = body->mVelocity.value;
    const float length = glm::length(velocity);
    if (length > 1e-6f && std::isfinite(length))
        mDirection = velocity / length;
    body->mVelocity.value = mDirection * mSpeed;
}

void GoalBall::ExchangeWithRecorder()
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (recorder.IsCapturing()) {
        recorder.live.goalBall = {1, Engine::Transform::GetWorldPosition(owner)};
    } else if (recorder.IsReplaying()) {
        if (const MatchFrame* front = recorder.PlaybackFront()) {
            const bool shown = front->goalBall.active;
            Engine::Transform::SetWorldPosition(owner, shown ? front->goalBall.pos : MatchRecorder::kOutOfSight);
        }
    }
}

void GoalBall::Shutdown() { Engine::InstanceTypeEventDispatcher<GoalBall>::GetInstance().RemoveInstance(this); }

void NormalStateGoal::OnUpdate()
{
    if (GoalBall* goal = ComponentOf(GetOwner()))
        goal->mSpeed = goal->mBaseSpeed;
}

void SlowStateGoal::OnEnter()
{
    mElapsed = 0.0f;
    mLength = 2.0f;
}

void SlowStateGoal::OnUpdate()
{
    mElapsed += PlayerFrame::ScaledDt();
    if (GoalBall* goal = ComponentOf(GetOwner()))
        goal->mSpeed = goal->mBaseSpeed * mFactor;
    if (mElapsed >= mLength) {
        mElapsed = 0.0f;
        if (Engine::StateMachine* machine = GetStateMachine())
            machine->ChangeState("Normal");
    }
}

void RestartGoalBall()
{
    const Engine::EntityHandle ball = LiveGoalBall();
    if (ball.IsNull())
        return;
    ComponentOf(ball)->Initialize();
    if (Engine::CollisionComp* body = PlayerFrame::BodyOf(ball))
        body->mVelocity.value = glm::vec3(0.0f);
}

void SpawnGoalBall(bool announce)
{
    // A local match's pause skips the entity phase while the arena's events
    // go on: a goal ball replaced then would stay, drawn and casting its
    // light's shadows, until the pause ends, one more for each event of a
    // long pause. The one out starts again instead, as a new one would.
    if (Engine::Core::GetInstance().IsPaused() && GoalBall::Alive()) {
        RestartGoalBall();
        return;
    }
    // Every one still out goes, not only the first found: that may be one
    // already on its way out (spent or replaced earlier in the frame, or
    // under a pause), and the live one would stay beside the new one.
    const Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    Engine::EntityNameCompManager& names = Engine::EntityNameCompManager::GetInstance();
    for (Engine::EntityHandle previous : names.FindEntitiesByName(Net::Names::kGoalBall)) {
        if (!entities.IsQueuedForDestruction(previous))
            previous.Destroy();
    }

    const Engine::EntityHandle ball = Engine::EntityMgr::GetInstance().CreateEntity();
    if (ball.IsNull())
        return;
    Engine::EntityTagCompManager::GetInstance().AddTag(ball, "GoalBall");
    Engine::TransformCompManager::GetInstance().AddComponent(ball);

    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(ball);
    body.mCollisionShape.value = Engine::ShapeSphere;
    body.mInvMass.value = 1.0f;
    body.mDrag.value = 1.0f;
    body.mGravity.value *= 0.5f;
    Engine::CollisionTable::GetInstance().AddTag("Ball");
    body.SetCollisionType("Ball");

    // A see-through shell round a glowing core, lit in the palette's ball
    // colour.
    Colour(*Engine::AlphaRenderCompManager::GetInstance().AddComponent(ball).component, "GoalBall_Shell",
           "GoalBall_Shell");
    // A light owns a shadow framebuffer: without a GL context (tools,
    // benchmarks) the goal ball flies unlit.
    if (glGenFramebuffers) {
        Engine::Light& light = *Engine::LightManager::GetInstance().AddComponent(ball).light;
        light.mDiffuseColor.value = Glow(CurrentPalette.Colour(BallDiff));
        light.mSpecularColor.value = glm::vec4(CurrentPalette.Colour(BallSpec), 1.0f);
    }
    Colour(*Engine::RenderCompManager::GetInstance().AddComponent(ball).component, "GoalBall_Inside",
           "GoalBall_Inside");
    Engine::Transform::ScaleRef(ball) = glm::vec3(1.5f);
    Engine::SetEntityName(ball, Net::Names::kGoalBall);

    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<Engine::SMComponent>(ball);
    Engine::StateMachine* speed = Engine::LogicManager::GetCompPtr<Engine::SMComponent>(ball)->AddStateMachine();
    speed->AddState(new SlowStateGoal());
    speed->AddState(new NormalStateGoal());
    speed->SetInitialState("Normal");
    logic.AddComponent<GoalBall>(ball);
    logic.AddComponent<Engine::Emitter>(ball);
    Engine::LogicManager::GetCompPtr<Engine::Emitter>(ball)->AddSound("BounceBall", "data/Sounds/Sfx/BounceBall.wav", true);

    NetworkMgr& network = NetworkMgr::GetInstance();
    if (announce && network.connected && network.server) {
        Net::GoalBallState spawned;
        spawned.kind = Net::GoalBallState::kSpawned;
        spawned.position = Engine::Transform::GetWorldPosition(ball);
        spawned.velocity = Engine::CollisionMgr::GetInstance().FindComp(ball)->mVelocity.value;
        network.send_type_4(spawned);
    }
}
