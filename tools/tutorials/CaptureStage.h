#pragma once
#include "engine/core/EntityHandle.h"
#include "game/arena/MatchFrame.h"
#include "game/config/InputBindings.h"
#include "game/match/GameState.h"
#include "tests/support/CreepingClock.h"

#include <SDL.h>
#include <cstdint>
#include <glm/glm.hpp>
#include <set>
#include <string>
#include <vector>

class Stage;

// One tutorial's scripted match: who plays with which perks, for how long,
// and what happens in every frame.
struct Script {
    // The recording's file name in the tutorial list.
    const char* file = "";
    int players = 1;
    // The camera slot playback follows, 0 or 1. The kill camera draws the
    // body of player 1 for slot 0 and the body of player 2 for slot 1.
    int focus = 0;
    float seconds = 3.0f;
    // Unrecorded play first: the players float down onto the floor (the
    // match's start hold), and the active perks' cooldowns fill.
    float warmUp = 4.6f;
    // Perk selections of players 1 and 2 (as the perk menus number them).
    int active[2] = {0, 0};
    int passive[2] = {0, 0};
    // Where the players stand when the match starts.
    glm::vec3 start[2] = {glm::vec3(-10.0f, 0.0f, 0.0f), glm::vec3(10.0f, 0.0f, 0.0f)};
    // While tiles keep moving, their places are written every this many
    // frames (and once more where they stop): the whole floor is in every
    // frame that carries tiles.
    int tileStride = 3;
    // The input and the camera of one frame: Stage::Time() tells when.
    void (*direct)(Stage&) = nullptr;
};

// Plays a script as a local match on the engine, frame by frame with a
// fixed frame time and the random generator seeded, and keeps the frames the
// match recorder records. The same script and seed give the same frames.
class Stage {
public:
    // A frame of the engine paced at its cap, in whole milliseconds.
    static constexpr std::uint64_t kFrameMilliseconds = 7;

    // Opens the window and starts the engine, once per process; false when
    // the window or the GL context did not open.
    static bool StartEngine();

    Stage(const Script& script, std::uint32_t seed);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // Plays the script whole: the frames, tiles written only where they
    // changed, each frame's camera in the focus slot.
    std::vector<MatchFrame> Play();

    // Empties the floor of every frame but the first, the frames where a
    // move ends, and every `stride`-th frame while tiles keep moving; a
    // floor the playback shows already is never written again.
    static std::vector<MatchFrame> ThinTiles(std::vector<MatchFrame> frames, int stride);

    // --- for the scripts, within one frame ---
    // Seconds since the recording began.
    float Time() const { return mTime; }
    bool Between(float from, float to) const { return mTime >= from && mTime < to; }
    // The player (0 or 1) holds what its binding of the slot names.
    void Hold(int player, InputBindings::Slot slot);
    // The player looks at the point (its camera turns there at once).
    void Aim(int player, const glm::vec3& at);
    // The player looks along the direction, levelled, and tilted down.
    void Face(int player, const glm::vec3& direction, float down = 0.0f);
    // The camera the tutorial shows in this frame; without one, the focus
    // slot's player's own view.
    void View(const glm::vec3& from, const glm::vec3& at);
    // The arena event of that kind starts now, announced for `announce`
    // seconds before it strikes.
    void StartEvent(GameState::EventKind kind, float announce);
    Engine::EntityHandle Player(int player) const;
    glm::vec3 Position(int player) const;
    glm::vec3 Forward(int player) const;
    // The ball of the player.
    Engine::EntityHandle Ball(int player) const;

private:
    void Build();
    void BindSecondPlayer();
    void Frame(bool recorded);
    void WriteKeys() const;

    const Script& mScript;
    std::uint32_t mSeed;
    CreepingClock mClock;
    float mTime = 0.0f;
    std::set<SDL_Scancode> mKeys;
    std::uint32_t mMouse = 0;
    std::uint32_t mMouseNext = 0;
    bool mViewSet = false;
    MatchCameraRecord mView;
    std::vector<MatchFrame> mFrames;
};
