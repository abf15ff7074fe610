#include "engine/audio/Emitter.h"
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/InputManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/net/NamedEntities.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/player/HurtLogic.h"
#include "game/components/perks/PassivePerks.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"
#include "game/components/tile/TileHeightStates.h"
#include "game/config/InputBindings.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/match/RadialMenu.h"

#include <set>
#include <string>

namespace GameScene {
namespace {

constexpr const char* kMusicFolder = "data/Sounds/Music/";
constexpr const char* kSfxFolder = "data/Sounds/Sfx/";

struct SoundFile {
    const char* name;
    const char* file;
    bool isSfx;
};

// The player's sounds in the order they are added; the tile grinding names
// follow.
constexpr SoundFile kPlayerSounds[] = {
    {"GameplayInit", "Game_loop_inicio.wav", false}, {"GameplayMiddle", "Game_loop_medio.wav", false},
    {"Dupstep", "Dupstep.wav", false},               {"Run", "Running1.wav", true},
    {"EventCooldown", "EventCooldown.wav", true},    {"tpsfx", "Tp_active.wav", true},
    {"no_energy", "ooe_test.wav", true},             {"ShieldSfx", "shieldsfx.wav", true},
    {"StunSfx", "stunsfx.wav", true},                {"GoalBall", "GoalBall.wav", true},
    {"PlayerHit", "player_hit.wav", true},
};
constexpr const char* kTileMovingFile = "tile_moving_sfx.wav";

std::string PathOf(const SoundFile& sound) { return std::string(sound.isSfx ? kSfxFolder : kMusicFolder) + sound.file; }

Engine::EntityHandle MakeHud(const glm::vec3& at, const glm::vec3& scale, const char* name)
{
    const Engine::EntityHandle hud = MakeHudEntity(at, scale);
    if (!hud.IsNull() && name)
        Engine::SetEntityName(hud, name);
    return hud;
}

void ShowHudTo(Engine::EntityHandle hud, int cameraIndex)
{
    if (!hud.IsNull())
        Engine::HUDCompManager::GetInstance().GetCompPtr(hud)->mCameraTarget.value = cameraIndex;
}

void MakePlayerBody(Engine::EntityHandle player)
{
    Engine::TransformCompManager::GetInstance().AddComponent(player);
    Engine::CollisionTable::GetInstance().AddTag("Player");
    Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().GetCompPtr(player);
    body.mCollisionShape.value = Engine::ShapeOBB;
    body.SetCollisionType("Player");
    body.mDrag.value = 0.9f;
    body.mGravity.value *= 200.0f;
    body.mRestitution.value = 0.0f;
}

// Every sound is loaded now. The match music starts with the first player;
// the rest are started and paused at once, so that their sources exist
// before play needs them.
void AddSounds(Engine::EntityHandle player)
{
    Engine::LogicManager::GetInstance().AddComponent<Engine::Emitter>(player);
    Engine::Emitter& sounds = *Engine::LogicManager::GetCompPtr<Engine::Emitter>(player);
    for (const SoundFile& sound : kPlayerSounds)
        sounds.AddSound(sound.name, PathOf(sound), sound.isSfx);
    for (int i = 0; i < kTileMovingSounds; ++i)
        sounds.AddSound(TileMovingName(i), std::string(kSfxFolder) + kTileMovingFile, true);

    sounds.Play("GameplayInit", false, false);
    sounds.SetVolume("GameplayInit", AudioLogic::kMusicVolume);
    std::vector<std::string> primed = {"Dupstep", "ShieldSfx", "StunSfx", "GoalBall", "PlayerHit", "no_energy"};
    for (int i = 0; i < kTileMovingSounds; ++i)
        primed.push_back(TileMovingName(i));
    primed.push_back("Run");
    // Playing a paused sound resumes it as it was primed: those always played
    // looped are primed looping, or the first of them in a match stops early.
    const std::set<std::string> looped = {"Run", "ShieldSfx", "StunSfx"};
    for (const std::string& name : primed) {
        sounds.Play(name, looped.contains(name), false);
        sounds.SetVolume(name, Engine::Emitter::kDefaultVolume);
        sounds.Pause(name);
    }
    for (const std::string& name : {std::string("no_energy"), TileMovingName(0), TileMovingName(1)})
        sounds.SetAllowOverlap(name, true);
}

void AddLook(Engine::EntityHandle player)
{
    Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().AddComponent(player).component;
    look.mModelName.value = "Player";
    look.mMaterialName.value = "White";
    look.mShaderName.value = "Player";
}

// Player 1 in blue, player 2 in red; each is drawn for the other's camera
// only, so nobody sees the inside of their own body.
void ColourByNumber(Engine::EntityHandle player, int number)
{
    Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().GetCompPtr(player);
    look.mDiffuseColor.value = PlayerFrame::PlayerColour(number);
    look.mCameraTarget.value = number % 2 + 1;
    look.ResolveResources();
}

// Two players share the window: player 1 sees its upper half, player 2 the
// lower one.
void SplitScreen(Engine::GameCamera& camera, int number)
{
    if (GameScene::PlayerCount < 2)
        return;
    camera.mViewportIntake.value.y *= 0.5f;
    camera.mViewportPos.value.y = number % 2 ? 0.5f : 0.0f;
}

} // namespace

Engine::EntityHandle SpawnPlayer(bool usesController)
{
    const Engine::EntityHandle cross = MakeHud(glm::vec3(0.0f), glm::vec3(0.2f, 0.2f, 1.0f), nullptr);
    if (!cross.IsNull()) {
        Engine::HUDComp& crosshair = *Engine::HUDCompManager::GetInstance().GetCompPtr(cross);
        crosshair.mTextureName.value = "Cross";
        crosshair.ResolveTexture();
    }

    const Engine::EntityHandle player = Engine::EntityMgr::GetInstance().CreateEntity();
    if (player.IsNull())
        return player;
    MakePlayerBody(player);
    // A player asked to play on a controller that is not there plays on
    // keys and mouse.
    const bool gamepad = usesController && Engine::InputManager::GetInstance().AssignController(player);

    Engine::CameraManager::GetInstance().AddComponent(player);
    Engine::GameCamera& camera = *Engine::CameraManager::GetInstance().GetCompPtr(player);
    camera.SetTarget(glm::vec3(0.0f));
    camera.SetPosition(glm::vec3(0.0f, 0.0f, -10.0f));

    AddSounds(player);
    AddLook(player);

    Engine::EntityTagCompManager::GetInstance().AddTag(player, "Player");
    Engine::EntityNameCompManager::GetInstance().AddComponent(player);
    Engine::LogicManager& logic = Engine::LogicManager::GetInstance();
    logic.AddComponent<BadgeManagerComp>(player);
    logic.AddComponent<AudioLogic>(player);
    logic.AddComponent<Player_LogicComp>(player);
    Player_LogicComp& component = *Engine::LogicManager::GetCompPtr<Player_LogicComp>(player);
    component.mRemote = false;
    const int number = component.mPlayerNumber;
    component.mRadialSlices = RadialMenu::CreateRadialMenu(4, 10, number);
    ColourByNumber(player, number);
    logic.AddComponent<Engine::SMComponent>(player);
    logic.AddComponent<Player_Movement>(player);
    logic.AddComponent<Energy_Logic>(player);
    logic.AddComponent<Hurt_Logic>(player);

    camera.mCameraIndex.value = number;
    component.mCamera = player;
    InputBindings::ForPlayer(number).UsesController = gamepad;
    Engine::SetEntityName(player, gamepad ? Net::Names::kGamepadPlayer : Net::Names::kLocalPlayer);
    SplitScreen(camera, number);

    component.mEnergyHud = MakeHud({0.75f, -0.5f, 0.0f}, {1.0f / 3.0f, 1.0f / 3.0f, 1.0f}, "EnergyHUD");
    component.mScoreHud = MakeHud({-1.0f, 4.5f, 0.0f}, glm::vec3(1.0f), "ScoreHUD");
    for (const Engine::EntityHandle& hud : {component.mEnergyHud, component.mScoreHud, cross})
        ShowHudTo(hud, number);

    GameModifiers::GetPerks().mPerkTarget = player;
    // Only the first player's emitter plays the match music.
    if (number % 2 == 0)
        Engine::LogicManager::GetCompPtr<Engine::Emitter>(player)->Pause("GameplayInit");
    return player;
}

void AttachPerks(Engine::EntityHandle player, int index)
{
    const Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
    if (!perks.EnablePerks.value)
        return;
    const int active = index == 0 ? perks.Active.value : perks.Active2.value;
    const int passive = index == 0 ? perks.Passive.value : perks.Passive2.value;
    ActivePerkss::AttachBySelection(perks.mPerkTarget, active);
    PasivePerkss::AttachBySelection(player, passive);
}

} // namespace GameScene
