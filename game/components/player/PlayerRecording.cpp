// The player's share of the match recording: its record of the live frame
// while the match is recorded, and the same record read back in a replay.
#include "engine/core/Transform.h"
#include "engine/logic/StateMachine.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/CameraManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"

void Player_LogicComp::ExchangeWithRecorder()
{
    const MatchRecorder& recorder = MatchRecorder::GetInstance();
    if (recorder.IsCapturing())
        CaptureIntoLiveFrame();
    else if (recorder.IsReplaying())
        ReplayFrontFrame();
}

void Player_LogicComp::CaptureIntoLiveFrame()
{
    MatchPlayerRecord& record = MatchRecorder::GetInstance().live.players[PlayerFrame::RecordIndex(mPlayerNumber)];
    record.pos = Engine::Transform::GetWorldPosition(owner);
    record.score = mScore;
    record.energy = Energy.value;
    if (mRemote)
        return;
    Engine::GameCamera* camera = PlayerFrame::CameraOf(mCamera);
    if (!camera)
        return;
    // Live play shows every local player's view: the full width, and the
    // height shared among the players on this machine.
    camera->mViewportIntake.value.x = 1.0f;
    record.camt = camera->mTarget.value;
    record.camp = camera->mPos.value;
    const int players = LivePlayerCount();
    const bool shared = !NetworkMgr::GetInstance().connected && players > 0;
    camera->mViewportIntake.value.y = shared ? 1.0f / static_cast<float>(players) : 1.0f;
}

void Player_LogicComp::ReplayFrontFrame()
{
    // The kill camera shows the replay; the players' own views close.
    if (!mRemote) {
        if (Engine::GameCamera* camera = PlayerFrame::CameraOf(mCamera))
            camera->mViewportIntake.value = glm::vec2(0.0f);
    }
    const MatchFrame* front = MatchRecorder::GetInstance().PlaybackFront();
    if (!front)
        return;
    const MatchPlayerRecord& record = front->players[PlayerFrame::RecordIndex(mPlayerNumber)];
    Engine::Transform::PositionRef(owner) = record.pos;
    if (!mRemote) {
        Engine::Transform::ForwardRef(owner) = record.camt;
        if (Engine::StateMachine* movement = MachineAt(MovementMachine))
            movement->ChangeState("Start");
        if (Engine::StateMachine* energy = MachineAt(EnergyMachine))
            energy->ChangeState(record.exausted ? "Exausted" : "UsingEnergy");
    }
    mScore = record.score;
    Energy.value = record.energy;
}
