#include "game/components/ball/TrailStates.h"

#include "engine/collision/CollisionComp.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"
#include "engine/logic/StateMachine.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/shared/PlayerFrame.h"

#include <cmath>

namespace Trail {
namespace {

constexpr glm::vec3 kWorldUp{0.0f, 1.0f, 0.0f};
// A trail ending flies at 3 x 5 units per second towards the ball.
constexpr float kEndSpeed = 15.0f;
constexpr float kEndShrink = 0.8f;

} // namespace

void Park(Engine::EntityHandle piece) { Engine::Transform::SetWorldPosition(piece, kParked); }

void OrientAlong(Engine::EntityHandle piece, const glm::vec3& direction)
{
    const glm::vec3 side = glm::cross(direction, kWorldUp);
    const glm::vec3 up = glm::cross(side, direction);
    const float length = glm::length(direction);
    const float upLength = glm::length(up);
    if (!(length > 1e-6f) || !(upLength > 1e-6f * length * length) || !Engine::Math::IsFinite(direction))
        return;
    Engine::Transform::ForwardRef(piece) = direction / length;
    Engine::Transform::UpRef(piece) = up / upLength;
}

} // namespace Trail

glm::vec3 TrailState::BallVelocity() const
{
    const Engine::CollisionComp* body = PlayerFrame::BodyOf(mBall);
    return body ? body->mVelocity.value : glm::vec3(0.0f);
}

glm::vec3 TrailState::BallPosition() const { return Engine::Transform::GetWorldPosition(mBall); }

bool TrailState::BallAsked() const
{
    const Engine::StateMachine* machine = GetStateMachine();
    return machine && machine->GetNextState();
}

void TrailState::MoveOn(const char* name) const
{
    if (Engine::StateMachine* machine = GetStateMachine(); machine && !machine->GetNextState())
        machine->ChangeState(name);
}

void TrailState::Record(bool replayNeedsFrame) const
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    const Engine::EntityHandle piece = GetOwner();
    if (recorder.IsCapturing()) {
        recorder.live.trails.push_back({Engine::Transform::GetWorldPosition(piece), *Engine::Transform::UpPtr(piece),
                                        *Engine::Transform::ForwardPtr(piece), *Engine::Transform::ScalePtr(piece)});
        return;
    }
    if (!recorder.IsReplaying())
        return;
    MatchFrame* front = recorder.PlaybackFront();
    if (!front && replayNeedsFrame)
        return;
    if (!front || front->trails.empty()) {
        Engine::Transform::SetWorldPosition(piece, Trail::kUnrecorded);
        return;
    }
    const MatchTrailRecord record = front->trails.front();
    front->trails.erase(front->trails.begin());
    Engine::Transform::ScaleRef(piece) = record.sca;
    Engine::Transform::UpRef(piece) = record.up;
    Engine::Transform::ForwardRef(piece) = record.forw;
    Engine::Transform::SetWorldPosition(piece, record.pos);
}

void TrailIdle::OnEnter() { Trail::Park(GetOwner()); }

void TrailBegin::OnEnter()
{
    Engine::Transform::SetWorldPosition(GetOwner(), BallPosition());
    Engine::Transform::ScaleRef(GetOwner()) = Trail::kRestScale;
}

// The piece's centre moves at half the ball's speed, so it stays midway
// between where the stretch began and the ball. A stretch the ball ended or
// restarted in this frame is left as it was: a ball caught in this frame
// has jumped into the hand, and the piece must not reach for it.
void TrailBegin::OnUpdate()
{
    if (BallAsked()) {
        Record(false);
        return;
    }
    const Engine::EntityHandle piece = GetOwner();
    const glm::vec3 velocity = BallVelocity();
    Trail::OrientAlong(piece, velocity);
    const float length = glm::distance(Engine::Transform::GetWorldPosition(piece), BallPosition());
    Engine::Transform::PositionRef(piece) += velocity * 0.5f * PlayerFrame::ScaledDt();
    Engine::Transform::ScaleRef(piece) = glm::vec3(Trail::kRestScale.x, Trail::kRestScale.y, length);
    if (length >= kFullLength)
        MoveOn("TrailFollow");
    Record(false);
}

void TrailBegin::OnExit() { Trail::OrientAlong(GetOwner(), BallVelocity()); }

void TrailFollow::OnUpdate()
{
    Engine::Transform::PositionRef(GetOwner()) += BallVelocity() * PlayerFrame::ScaledDt();
    Record(true);
}

void TrailEnd::OnEnter()
{
    const glm::vec3 toBall = BallPosition() - Engine::Transform::GetWorldPosition(GetOwner());
    const float length = glm::length(toBall);
    const glm::vec3 along = length > 1e-6f && std::isfinite(length) ? toBall / length : glm::vec3(0.0f);
    Trail::OrientAlong(GetOwner(), along * 3.0f);
    mVelocity = along * Trail::kEndSpeed;
}

// The shrink is per update, whatever the frame time.
void TrailEnd::OnUpdate()
{
    const Engine::EntityHandle piece = GetOwner();
    Engine::Transform::PositionRef(piece) += mVelocity * PlayerFrame::ScaledDt();
    glm::vec3& scale = Engine::Transform::ScaleRef(piece);
    scale.z *= Trail::kEndShrink;
    if (scale.z <= kGoneLength)
        MoveOn("TrailIdle");
    Record(false);
}
