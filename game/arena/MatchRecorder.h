#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/PoolList.h"
#include "game/arena/KillCamera.h"
#include "game/arena/MatchFrame.h"

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <memory>
#include <string>

// The match's memory: the last 500 frames in a ring, weighed every frame
// per player, and the playback list that the best moment so far becomes.
// At the end of a match (or for a tutorial) the playback list is replayed
// frame by frame under the kill camera, then the recorder goes live again.
//
// How the match's components take part, each in its own Update:
//   capture   while IsCapturing(): write your part of `live` (your player's
//             record by player number - 1, tiles by tile number, append
//             trail pieces, force fields, stun areas); add moment points
//             with AddMomentPoints at any time, which counts them only
//             while capturing;
//   replay    while IsReplaying(): read your part of PlaybackFront() when it
//             is not null. The recorder drops the front frame in its own
//             Update, after the components have read it.
//
// The ring and the playback list share their frames: a new best moment
// costs a list of pointers, not a copy of 500 frames.
class MatchRecorder {
public:
    using FramePtr = std::shared_ptr<MatchFrame>;
    using FrameList = Engine::PoolList<FramePtr>;

    // What gameplay rewards with moment points, in the order of `momentPoints`.
    enum Moment : std::size_t {
        HitOpponent,
        GoalBallGoal,
        BouncingBall,
        ReturningBall,
        BallContact,
        TileBend,
        MovementStep,
        Running,
        kMomentCount,
    };

    // What a replay asks of the match beyond this recorder; the owners of
    // the goal ball, the perk objects and the game modes install them. A
    // step whose hook is missing is skipped, and said once.
    struct ReplayHooks {
        // The front frame shows a goal ball.
        void (*spawnGoalBall)() = nullptr;
        // One more stun area is needed, owned by the first local player.
        void (*spawnStunArea)(Engine::EntityHandle owner, const glm::vec3& at) = nullptr;
        void (*spawnForcefield)(const glm::vec3& at) = nullptr;
        // The playback ran out: back to the menu.
        void (*playbackFinished)() = nullptr;
    };

    // Where a replay keeps an object (goal ball, stun area, force field)
    // that the frame it shows does not hold.
    static constexpr glm::vec3 kOutOfSight{-1000.0f, -1000.0f, -1000.0f};

    static MatchRecorder& GetInstance();

    MatchRecorder();
    MatchRecorder(const MatchRecorder&) = delete;
    MatchRecorder& operator=(const MatchRecorder&) = delete;

    // Once per frame from the gameplay and tutorial modes, after the
    // components' updates.
    void Update();
    // `live` becomes a fresh frame, sized to the arena.
    void Reset();
    // Live and empty, no tutorial, no best score, `live` fresh: what a match
    // or a tutorial leaves behind, so that the next replay shows none of its
    // frames and the menus after it find no replay running.
    void GoLive();
    // Everything as a new recorder has it: live and empty, a new run's
    // length, moment points and focus, no hooks, the kill camera drawing.
    // What a test set for its replay must not reach the next test.
    void ResetToNew();
    static void ClearFrameList(FrameList& frames);

    // Replaces the playback list by a recording file's frames. A file that
    // cannot be read, that breaks the format's limits or that holds no
    // frame, is refused whole with a message: the playback list is then
    // empty. Sets `isTutorial`.
    bool LoadRecording(const std::string& path);
    // Writes the frames as a recording file that LoadRecording reads back.
    bool WriteRecording(const std::string& path, const FrameList& frames) const;

    // The weight of a frame's points v at ring index i: rises from n/12 per
    // hundred points at the ends of the ring to n/4 + n/12 in its middle.
    std::int32_t FrameWeight(std::int32_t value, std::uint32_t index) const;

    bool IsCapturing() const { return isRecording && isLive; }
    bool IsReplaying() const { return isRecording && !isLive; }
    // The frame the replay shows now, or null.
    MatchFrame* PlaybackFront();
    // Adds a moment's points to the side of the acting player (1 or 2)
    // while capturing; nothing in a replay, whose frames hold their own.
    void AddMomentPoints(int playerNumber, Moment moment);

    void SetReplayHooks(const ReplayHooks& hooks) { mHooks = hooks; }
    const ReplayHooks& GetReplayHooks() const { return mHooks; }

    FrameList playback;
    FrameList ring;
    std::uint32_t capacity = 500;
    std::int32_t bestScore = 0;
    std::int32_t focusPlayer = 0;
    MatchFrame live;
    std::uint8_t isLive = 1;
    std::uint8_t isTutorial = 0;
    std::uint8_t isRecording = 1;
    std::array<std::uint32_t, kMomentCount> momentPoints{1500, 1500, 10, 30, 100, 150, 10, 20};
    KillCamera killCamera;

private:
    // ResetToNew's: a new recorder's values, taken whole.
    MatchRecorder& operator=(MatchRecorder&&) = default;

    void RecordLiveFrame();
    void PlayFrontFrame();
    void SpawnMissingPerkObjects(const MatchFrame& frame);

    ReplayHooks mHooks;
};
