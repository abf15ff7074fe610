#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <glm/glm.hpp>
#include <set>
#include <string>
#include <vector>

namespace Engine {
struct NetworkingEvent;
class StateMachine;
} // namespace Engine

// One player of the arena match: its tuning, number, score and energy, the
// links to its camera, HUDs and ball, and the rules of a hit, a goal and the
// end of the match. Its entity also carries an SMComponent whose machines
// are, by position, 0 movement (Player_Movement), 1 energy (Energy_Logic)
// and 2 hurt (Hurt_Logic).
//
// A remote player mirrors the peer's player: it reads no input, decides no
// hit or goal and takes its score from the peer's messages.
//
// Every frame, in order: the recorder exchange, the hurt timer, the score
// HUD and the end of the match; then, for a local player in live play, the
// field-of-view kick and, unless behind the pause menu, tile bending and
// the radial mode menu; the body turns with the camera, and without a
// passive perk the costs return to their bases.
//
// Its members are defined by subject:
//   player/PlayerLogicComp.cpp     set-up, the frame's update, the view, the
//                                  mode menu's key and the arena guard
//   player/PlayerScoring.cpp       hits, goals, the score HUD, the match's end
//   player/PlayerPeerEvents.cpp    the peer's records
//   player/PlayerRecording.cpp     the match recording and its replay
//   player/EnergyLogic.cpp         spending energy
//   bending/PlayerTileBending.cpp  aiming, raising and lowering tiles
//   bending/PlayerRadialMenu.cpp   the radial mode menu
//   ball/PlayerShield.cpp          the shield bubble and the balls it marks
class Player_LogicComp : public Engine::LogicComp {
public:
    // Machine positions on the player's SMComponent.
    enum Machine : std::size_t { MovementMachine = 0, EnergyMachine = 1, HurtMachine = 2 };
    // Passive-perk kinds as mPassiveKind keeps them: the passive perks write
    // them, the movement and the ball read them. kNoPassive while the player
    // has none.
    enum PassiveKind : std::int32_t {
        kRunCost0,
        kDoubleJump,
        kTileBendingCost,
        kActiveCost,
        kRocketJump,
        kHoldSpeed,
        kNoPassive
    };

    // Takes the next player number.
    Player_LogicComp();
    // Gives the number back and lets go of the entity's controller.
    ~Player_LogicComp() override;

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;
    void Shutdown() override;

    // The score limit is reached: the match is ending.
    bool HasWon() const { return mScore >= mScoreLimit; }
    // A ball's hit on the opponent: when the hit counts (HitCounts), the
    // shooter scores and the victim is hurt. True when the hit counted.
    static bool ExchangeHit(Player_LogicComp& shooter, Player_LogicComp& victim);
    void TakeHit();
    void ScoreHit();
    void AddGoalPoints() { mScore += mPointsPerGoal; }
    void UpdateScoreHud();
    void OnNetworkingEvent(Engine::NetworkingEvent* event);

    // Pays from "Energy"; false, paying nothing, when exhausted (with the
    // "no_energy" sound) or when the energy does not reach.
    bool SpendEnergy(float amount);

    // Tile bending and the radial mode menu.
    void UpdateTileBending();
    void UpdateRadialMenu();
    bool CanBendTile(Engine::EntityHandle tile);
    void RaiseTile(Engine::EntityHandle tile);
    void LowerTile(Engine::EntityHandle tile);
    // The shield bubble the peer's player raised.
    void CreateShield();

    // Eases the field-of-view factor from where it is to `target` within
    // `seconds` of real time.
    void StartFovKick(float target, float seconds);

    // The machine at a position of the entity's SMComponent, or null.
    Engine::StateMachine* MachineAt(std::size_t position) const;
    // The name of that machine's current state; empty without one.
    std::string StateNameOf(std::size_t position) const;

    // The player's own hands reach the play: a local player not behind the
    // pause menu. A networked match runs on under the menu, whose clicks and
    // keys are meant for it alone.
    bool TakesInput() const { return !mRemote && !mPaused; }

    // The speed a ball of this player leaves or returns with.
    float ShotSpeed(float base, int contacts) const { return mShotHook(base, contacts); }

    // Player components alive; the next one constructed takes this count
    // plus one as its number. The scene builders reset it before a match.
    static int LivePlayerCount();
    static void ResetPlayerCount();
    // The number of the player on an entity; 0 when it has none.
    static int PlayerNumberOf(Engine::EntityHandle entity);

    // Tuning, saved with the component.
    Engine::Property<float> LevitScale{"LevitScale", 3.5f, mPropertyMap};
    Engine::Property<float> radial_menu_threshold{"radial_menu_threshold", 50.0f, mPropertyMap};
    Engine::Property<float> numb_of_modes{"numb_of_modes", 4.0f, mPropertyMap};
    Engine::Property<float> t_init_intersec{"t_init_intersec", 0.0f, mPropertyMap};
    Engine::Property<float> MaxGamepadX{"MaxGamepadX", 10.0f, mPropertyMap};
    Engine::Property<float> MaxGamepadY{"MaxGamepadY", 7.5f, mPropertyMap};
    Engine::Property<float> PlayerSpeed{"PlayerSpeed", 115.0f, mPropertyMap};
    Engine::Property<float> MaxSpeed{"MaxSpeed", 145.0f, mPropertyMap};
    Engine::Property<float> JumpVel{"JumpVel", 100.0f, mPropertyMap};
    Engine::Property<float> RocketJumpVel{"RocketJumpVel", 80.0f, mPropertyMap};
    Engine::Property<float> PlayerRunSpeed{"PlayerRunSpeed", 165.0f, mPropertyMap};
    Engine::Property<float> MaxRunSpeed{"MaxRunSpeed", 205.0f, mPropertyMap};
    Engine::Property<float> JumpRunVel{"JumpRunVel", 150.0f, mPropertyMap};
    Engine::Property<float> RocketJumpRunVel{"RocketJumpRunVel", 80.0f, mPropertyMap};
    Engine::Property<float> dragging_tile_threshold{"dragging_tile_threshold", 0.6f, mPropertyMap};
    Engine::Property<float> MaxEnergy{"MaxEnergy", 16.0f, mPropertyMap};
    Engine::Property<float> Energy{"Energy", 16.0f, mPropertyMap};
    Engine::Property<float> energy_tile_bend_base{"energy_tile_bend_base", 1.0f, mPropertyMap};
    Engine::Property<float> energy_run_base{"energy_run_base", 1.0f, mPropertyMap};
    Engine::Property<float> RechageMaxTimer{"RechageMaxTimer", 0.25f, mPropertyMap};
    Engine::Property<float> ExhaustedMaxTimer{"ExhaustedMaxTimer", 0.3f, mPropertyMap};
    Engine::Property<float> UsingEnergyMaxTimer{"UsingEnergyMaxTimer", 0.5f, mPropertyMap};
    Engine::Property<float> Fov{"Fov", 85.0f, mPropertyMap};
    Engine::Property<float> FovModifier{"FovModifier", 1.0f, mPropertyMap};
    Engine::Property<float> FovLerper{"FovLerper", 1.0f, mPropertyMap};
    Engine::Property<float> FovStart{"FovStart", 1.0f, mPropertyMap};
    Engine::Property<float> FovTime{"FovTime", 0.5f, mPropertyMap};

    // Seconds since the active perk was last used (scaled time).
    float mTimeSinceActive = 0.0f;
    Engine::EntityHandle mEnergyHud;
    bool mExhausted = false;
    Engine::EntityHandle mBody;
    Engine::EntityHandle mCamera;
    // The body's gravity at Initialize; levitation gives it back.
    glm::vec3 mSavedGravity{0.0f};
    float mHalfHeight = 0.0f;
    bool mRadialOpen = false;
    glm::vec2 mRadialOrigin{0.0f};
    std::vector<Engine::EntityHandle> mRadialSlices;
    std::int32_t mBendMode = 3;
    float mTileSize = 0.0f;
    Engine::EntityHandle mAimedTile;
    std::set<Engine::EntityHandle> mDraggedTiles;
    // Effective costs, reset from their bases while no passive perk says
    // otherwise.
    float mTileBendCost = 1.0f;
    float mRunCost = 1.0f;
    Engine::EntityHandle mScoreHud;
    std::int32_t mPlayerNumber = 0;
    std::int32_t mScore = 0;
    std::int32_t mScoreLimit = 5;
    std::int32_t mPointsPerHit = 1;
    std::int32_t mPointsPerGoal = 1;
    // The slow motion after the score limit, in real seconds.
    float mEndTimer = 0.0f;
    float mEndDuration = 5.0f;
    // Blanked while a replay plays.
    Engine::EntityHandle mSecondHud;
    // A remote player's medals show on this entity.
    Engine::EntityHandle mMedalHolder;
    float mFovTimer = 0.0f;
    bool mRemote = true;
    bool mHurting = false;
    float mHurtTimer = 0.0f;
    float mHurtDuration = 2.5f;
    bool mRunning = false;
    bool mCharging = false;
    bool mRevenge = false;
    bool mEndMedalsPending = true;
    // Real seconds since the component was made.
    float mPlayTime = 0.0f;
    float mActiveCostBase = 1.0f;
    float mActiveCost = 1.0f;
    float mActiveCooldownBase = 1.0f;
    float mActiveCooldown = 1.0f;
    std::int32_t mJumpCount = 1;
    std::int32_t mJumpsUsed = 0;
    // (base speed, contact count) -> the speed a ball uses. Never empty.
    std::function<float(float, int)> mShotHook;
    Engine::EntityHandle mBall;
    Engine::EntityHandle mOwnBall;
    Engine::EntityHandle mOpponentBall;
    std::int32_t mPassiveKind = kNoPassive;
    std::int32_t mActiveKind = 4;
    // Mirrors the pause menu; see TakesInput.
    bool mPaused = false;
    // The ball and the active perk act only while it is set.
    bool mCanAct = false;
    // Sends the player to "Static" (arena events).
    bool mStaticRequest = false;
    // The teleport's foot offset: how far below the body's lower face the
    // teleport's particle trail runs.
    float mFootOffset = 0.0f;
    // Where the movement last put the camera, seen from the player's centre
    // (its eyes, or the centre itself in the opening descent): the frame's
    // hold keeps the view there wherever the player ends up.
    glm::vec3 mViewOffset{0.0f};
    // Where a local player stood when its match began: where it goes back to
    // should it ever be found outside the arena.
    glm::vec3 mStartPlace{0.0f};

private:
    // The hit rule: a hit counts unless the shooter is remote (the peer
    // decides its own hits), the victim is still hurt from the last hit, or
    // the victim has already won: a ball still in flight in the end-of-match
    // slow motion must not bring the loser to the limit too and crown two
    // winners.
    static bool HitCounts(const Player_LogicComp& shooter, const Player_LogicComp& victim)
    {
        return !shooter.mRemote && !victim.mHurting && !victim.HasWon();
    }
    void ExchangeWithRecorder();
    void CaptureIntoLiveFrame();
    void ReplayFrontFrame();
    void AdvanceEndOfMatch();
    void UpdateFovKick();
    void ReadRadialMenuKey();
    void HideRadialSlices();
    void FaceTheCamera();
    void ReturnWhenOutsideArena();
    void ResetCostsWithoutPerk();
    void HitBurst();
};
