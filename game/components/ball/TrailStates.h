#pragma once
#include "engine/logic/State.h"

#include <glm/glm.hpp>

// The states of one trail piece, a thin box stretched behind a ball along
// one straight stretch of its flight. The machine's owner is the piece;
// every state but the idle one knows the ball by handle. Each state ends
// its update by taking part in the match recording: captured while live,
// read back (or hidden) while a replay plays.
class TrailState : public Engine::State {
public:
    TrailState(const char* name, Engine::EntityHandle ball) : State(name, 0.0f), mBall(ball) {}

protected:
    // The ball body's velocity; zero without a body.
    glm::vec3 BallVelocity() const;
    glm::vec3 BallPosition() const;
    // The ball's commands come first: a piece moves on by itself only while
    // the ball has asked nothing of it in this frame.
    bool BallAsked() const;
    void MoveOn(const char* name) const;
    // `replayNeedsFrame`: with an empty playback list the state leaves the
    // piece as it is instead of hiding it.
    void Record(bool replayNeedsFrame) const;

    Engine::EntityHandle mBall;
};

// "TrailIdle": parked out of sight until the ball starts it.
class TrailIdle : public TrailState {
public:
    TrailIdle() : TrailState("TrailIdle", Engine::EntityHandle()) {}
    void OnEnter() override;
    void OnUpdate() override { Record(true); }
};

// "TrailBegin": grows from where the stretch began up to the ball, its
// centre midway; once 5 units long it follows the ball as it is.
class TrailBegin : public TrailState {
public:
    static constexpr float kFullLength = 5.0f;

    explicit TrailBegin(Engine::EntityHandle ball) : TrailState("TrailBegin", ball) {}
    void OnEnter() override;
    void OnUpdate() override;
    void OnExit() override;
};

// "TrailFollow": the stretched piece travels with the ball.
class TrailFollow : public TrailState {
public:
    explicit TrailFollow(Engine::EntityHandle ball) : TrailState("TrailFollow", ball) {}
    void OnUpdate() override;
};

// "TrailEnd": the stretch is over; the piece flies towards the ball and
// shrinks by a fifth every update until it is gone.
class TrailEnd : public TrailState {
public:
    static constexpr float kGoneLength = 0.3f;

    explicit TrailEnd(Engine::EntityHandle ball) : TrailState("TrailEnd", ball) {}
    void OnEnter() override;
    void OnUpdate() override;

    glm::vec3 mVelocity{0.0f};
};

namespace Trail {

// The piece's scale while it waits or starts.
constexpr glm::vec3 kRestScale{0.01f, 0.2f, 0.3f};
// Where idle pieces wait.
constexpr glm::vec3 kParked{100.0f, 100.0f, 100.0f};
// Where a replay puts a piece the recording does not show.
constexpr glm::vec3 kUnrecorded{2000.0f, 2000.0f, 2000.0f};

// Out of sight, where idle pieces wait.
void Park(Engine::EntityHandle piece);

// Turns the piece to lie along `direction`: forward along it, up square to
// it in the vertical plane. A zero or vertical direction leaves the piece
// turned as it was.
void OrientAlong(Engine::EntityHandle piece, const glm::vec3& direction);

} // namespace Trail
