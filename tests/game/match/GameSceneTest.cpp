// Under Xvfb: the scene a local match starts with, as the builder makes it
// for one and for two players.
#include "MatchScene.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/SoundSystem.h"
#include "engine/collision/CollisionTable.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/logic/SMComponent.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/RenderCompManager.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/player/HurtLogic.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/components/perks/PassivePerks.h"
#include "game/components/player/PlayerMovement.h"
#include "game/components/ball/TempBallComp.h"
#include "game/match/KillCamHud.h"
#include "support/VirtualPad.h"

#include <AL/al.h>
#include <algorithm>
#include <set>

namespace {

using Engine::EntityHandle;

Engine::HUDComp& Hud(EntityHandle entity) { return *Engine::HUDCompManager::GetInstance().GetCompPtr(entity); }
glm::vec3 Scale(EntityHandle entity) { return *Engine::Transform::ScalePtr(entity); }
glm::vec3 Position(EntityHandle entity) { return Engine::Transform::GetWorldPosition(entity); }
Engine::GameCamera& Camera(EntityHandle entity) { return *Engine::CameraManager::GetInstance().GetCompPtr(entity); }
std::vector<EntityHandle> HudEntities()
{
    std::vector<EntityHandle> entities;
    for (const auto& [entity, hud] : Engine::HUDCompManager::GetInstance().GetComponents())
        entities.push_back(entity);
    return entities;
}

// Every player sound with its file, in the order the player adds them.
const std::vector<std::pair<std::string, std::string>> kSounds = {
    {"GameplayInit", "data/Sounds/Music/Game_loop_inicio.wav"},
    {"GameplayMiddle", "data/Sounds/Music/Game_loop_medio.wav"},
    {"Dupstep", "data/Sounds/Music/Dupstep.wav"},
    {"Run", "data/Sounds/Sfx/Running1.wav"},
    {"EventCooldown", "data/Sounds/Sfx/EventCooldown.wav"},
    {"tpsfx", "data/Sounds/Sfx/Tp_active.wav"},
    {"no_energy", "data/Sounds/Sfx/ooe_test.wav"},
    {"ShieldSfx", "data/Sounds/Sfx/shieldsfx.wav"},
    {"StunSfx", "data/Sounds/Sfx/stunsfx.wav"},
    {"GoalBall", "data/Sounds/Sfx/GoalBall.wav"},
    {"PlayerHit", "data/Sounds/Sfx/player_hit.wav"},
};

class SceneBuild : public MatchScene {};

TEST_F(SceneBuild, ArenaBorderKillCamOverlayAndBlankHudStandWithOneOrTwoPlayers)
{
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        const EntityHandle blank = BuildMatch(players);
        EXPECT_EQ(Grid().tiles.size(), 1370u);
        std::set<std::int32_t> border;
        for (const auto& edges : Grid().edgeTiles)
            border.insert(edges.begin(), edges.end());
        for (std::int32_t number : border)
            ASSERT_NE(Find<ImmovableTile>(Grid().Tile(number)), nullptr) << "border tile " << number;
        EXPECT_EQ(std::set<std::int32_t>(Grid().immovableTiles.begin(), Grid().immovableTiles.end()), border);
        EXPECT_EQ(Find<ImmovableTile>(Grid().Tile(600)), nullptr);

        // The replay's overlay, hidden by its component once play runs.
        EntityHandle overlay;
        for (EntityHandle hud : HudEntities()) {
            if (Find<KillCamHud>(hud))
                overlay = hud;
        }
        ASSERT_FALSE(overlay.IsNull());
        EXPECT_EQ(Scale(overlay), glm::vec3(9.0f, 5.0f, 1.0f));
        EXPECT_EQ(Position(overlay), glm::vec3(0.0f));

        ASSERT_FALSE(blank.IsNull());
        EXPECT_EQ(Hud(blank).mTextureName.value, "");
        EXPECT_EQ(Position(blank), glm::vec3(-0.5f, 0.0f, 0.0f));
        EXPECT_EQ(Scale(blank), glm::vec3(4.0f, 8.0f, 1.0f));
        EXPECT_EQ(Engine::Renderer::GetInstance().emissiveColour, CurrentPalette.Colour(BorderEmissive));
        EXPECT_EQ(Players().size(), static_cast<std::size_t>(players));
        EXPECT_TRUE(Named("Player_Gamepad").empty());
        EXPECT_EQ(Named("ball").size(), static_cast<std::size_t>(players));
    }
}

TEST_F(SceneBuild, EachPlayerHasItsBodyCameraComponentsAndPlaceAndRestartsNumberingAtOne)
{
    for (int build = 0; build < 2; ++build) {
        BuildMatch(2);
        const std::vector<EntityHandle> players = Players();
        ASSERT_EQ(players.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            const EntityHandle player = players[i];
            const Player_LogicComp& component = Component(player);
            const int number = i + 1;
            EXPECT_EQ(component.mPlayerNumber, number);
            EXPECT_FALSE(component.mRemote);
            EXPECT_EQ(Position(player), glm::vec3(number == 1 ? -10.0f : 10.0f, 0.0f, 0.0f));
            EXPECT_TRUE(Engine::EntityTagCompManager::GetInstance().HasTag(player, "Player"));
            EXPECT_NE(Find<BadgeManagerComp>(player), nullptr);
            EXPECT_NE(Find<AudioLogic>(player), nullptr);
            EXPECT_NE(Find<Engine::SMComponent>(player), nullptr);
            EXPECT_NE(Find<Player_Movement>(player), nullptr);
            EXPECT_NE(Find<Energy_Logic>(player), nullptr);
            EXPECT_NE(Find<Hurt_Logic>(player), nullptr);

            const Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().FindComp(player);
            EXPECT_EQ(body.mCollisionShape.value, Engine::ShapeOBB);
            EXPECT_EQ(body.collision_type.value, Engine::CollisionTable::GetInstance().GetTagValue("Player"));
            EXPECT_EQ(body.mGravity.value, glm::vec3(0.0f, -200.0f, 0.0f));
            EXPECT_EQ(body.mDrag.value, 0.9f);
            EXPECT_EQ(body.mRestitution.value, 0.0f);

            Engine::GameCamera& camera = Camera(player);
            EXPECT_EQ(camera.mCameraIndex.value, number);
            EXPECT_EQ(camera.mViewportIntake.value, glm::vec2(1.0f, 0.5f));
            EXPECT_EQ(camera.mViewportPos.value.y, number == 1 ? 0.5f : 0.0f);
            EXPECT_EQ(component.mCamera, player);

            const Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().GetCompPtr(player);
            EXPECT_EQ(look.mModelName.value, "Player");
            EXPECT_EQ(look.mMaterialName.value, "White");
            EXPECT_EQ(look.mShaderName.value, "Player");
            EXPECT_EQ(look.mDiffuseColor.value, number == 1 ? glm::vec3(0, 0, 1) : glm::vec3(1, 0, 0));
            // Seen by the other player's camera, not by its own.
            EXPECT_TRUE(look.IsSeenBy(3 - number));
            EXPECT_FALSE(look.IsSeenBy(number));
        }
    }
}

TEST_F(SceneBuild, OnePlayerHasTheWholeWindowAndNoOpponentBall)
{
    BuildMatch(1);
    const EntityHandle player = Players().at(0);
    EXPECT_EQ(Camera(player).mViewportIntake.value, glm::vec2(1.0f));
    EXPECT_EQ(Camera(player).mViewportPos.value, glm::vec2(0.0f));
    EXPECT_TRUE(Component(player).mOpponentBall.IsNull());
    EXPECT_EQ(Component(player).mBall, Named("ball").at(0));
}

// A player spawned as the entities run out keeps what could be made and the
// match goes on: at every point where the pool may give out (a player and
// its parts take fewer than 40).
TEST_F(SceneBuild, APlayerSpawnedAsTheEntitiesRunOutStartsWithWhatCouldBeMade)
{
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    for (int free = 0; free < 40; ++free) {
        SCOPED_TRACE(free);
        Engine::SceneManager::SetIdle();
        StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
        std::vector<EntityHandle> taken;
        for (EntityHandle entity = entities.CreateEntity(); !entity.IsNull(); entity = entities.CreateEntity())
            taken.push_back(entity);
        for (int i = 0; i < free; ++i) {
            entities.DestroyEntity(taken.back());
            taken.pop_back();
        }
        entities.Flush();
        Engine::SceneManager::SetCreation();
        std::string thrown;
        StderrOf([&] {
            StdoutOf([&] {
                try {
                    GameScene::SpawnLocalPlayer(0, true);
                    Engine::SceneManager::SetIdle();
                    Engine::LogicManager::GetInstance().InitializeLogicComponents();
                    Engine::SceneManager::SetActive();
                    Frames(3);
                } catch (const std::exception& error) {
                    thrown = error.what();
                }
            });
        });
        EXPECT_EQ(thrown, "");
    }
}

TEST_F(SceneBuild, HudsCrosshairAndRadialSlicesAreShownOnlyToTheirPlayersCamera)
{
    BuildMatch(2);
    // The medals slide both score HUDs aside, which they find by name.
    ASSERT_EQ(Named("ScoreHUD").size(), 2u);
    std::vector<EntityHandle> crosses;
    for (EntityHandle hud : HudEntities()) {
        if (Hud(hud).mTextureName.value == "Cross")
            crosses.push_back(hud);
    }
    ASSERT_EQ(crosses.size(), 2u);
    for (EntityHandle player : Players()) {
        const Player_LogicComp& component = Component(player);
        const int number = component.mPlayerNumber;
        SCOPED_TRACE(number);
        EXPECT_EQ(std::string(Engine::EntityNameCompManager::GetInstance().GetName(component.mEnergyHud)), "EnergyHUD");
        EXPECT_EQ(std::string(Engine::EntityNameCompManager::GetInstance().GetName(component.mScoreHud)), "ScoreHUD");
        EXPECT_EQ(Hud(component.mEnergyHud).mCameraTarget.value, number);
        EXPECT_EQ(Position(component.mEnergyHud), glm::vec3(0.75f, -0.5f, 0.0f));
        EXPECT_EQ(Scale(component.mEnergyHud), glm::vec3(1.0f / 3.0f, 1.0f / 3.0f, 1.0f));
        EXPECT_EQ(Hud(component.mScoreHud).mCameraTarget.value, number);
        EXPECT_TRUE(std::count_if(crosses.begin(), crosses.end(), [number](EntityHandle cross) {
            return Hud(cross).mCameraTarget.value == number && Scale(cross) == glm::vec3(0.2f, 0.2f, 1.0f);
        }) == 1);
        ASSERT_EQ(component.mRadialSlices.size(), 4u);
        for (EntityHandle slice : component.mRadialSlices)
            EXPECT_EQ(Hud(slice).mCameraTarget.value, number);
        // The score texture follows from the first frame.
        EXPECT_TRUE(component.mSecondHud.IsNull());
    }
    Frame();
    EXPECT_EQ(Hud(Component(Players()[1]).mScoreHud).mTextureName.value, "Score_J2_0");
}

TEST_F(SceneBuild, SoundsAreLoadedAndOnlyTheFirstPlayersMatchMusicPlays)
{
    BuildMatch(2);
    const std::vector<EntityHandle> players = Players();
    for (EntityHandle player : players) {
        Engine::Emitter& sounds = *Find<Engine::Emitter>(player);
        for (const auto& [name, file] : kSounds) {
            ASSERT_NE(sounds.GetSound(name), nullptr) << name;
            EXPECT_EQ(sounds.GetSound(name)->name, file);
        }
        for (const char* name : {"tile_moving", "tile_moving2", "tile_moving5", "tile_moving10"}) {
            ASSERT_NE(sounds.GetSound(name), nullptr) << name;
            EXPECT_EQ(sounds.GetSound(name)->name, "data/Sounds/Sfx/tile_moving_sfx.wav");
        }
        EXPECT_EQ(sounds.GetSound("tile_moving1"), nullptr);
        EXPECT_EQ(sounds.GetSound("tile_moving11"), nullptr);
        // Primed: started and paused again, ready to play.
        for (const char* name : {"Dupstep", "Run", "PlayerHit", "tile_moving10"})
            EXPECT_FALSE(sounds.IsPlaying(name)) << name;
        // The ten grinding names are ten sounds, each playing on its own.
        sounds.Play("tile_moving3", false, false);
        EXPECT_TRUE(sounds.IsPlaying("tile_moving3"));
        EXPECT_FALSE(sounds.IsPlaying("tile_moving4"));
        sounds.Pause("tile_moving3");
    }
    EXPECT_TRUE(Find<Engine::Emitter>(players[0])->IsPlaying("GameplayInit"));
    EXPECT_FALSE(Find<Engine::Emitter>(players[1])->IsPlaying("GameplayInit"));
    const auto overlaps = audio.CallsStartingWith("SetAllowOverlap");
    EXPECT_EQ(overlaps.size(), 6u); // three sounds on each of two players
    EXPECT_EQ(std::count(overlaps.begin(), overlaps.end(), "SetAllowOverlap data/Sounds/Sfx/ooe_test.wav 1"), 2);
}

// The running, shield and stun sounds last as long as what makes them: the
// first one of a match resumes its primed source, which must loop already.
TEST_F(SceneBuild, SoundsPlayedLoopedLoopFromTheFirstTime)
{
    ASSERT_TRUE(SoundSystem::Create()) << "run with ALSOFT_DRIVERS=null";
    const auto* system = dynamic_cast<SoundSystem*>(SoundSystem::GetInstance());
    ASSERT_NE(system, nullptr);
    BuildMatch(1);
    Engine::Emitter& sounds = *Find<Engine::Emitter>(Players()[0]);
    for (const char* name : {"Run", "ShieldSfx", "StunSfx"}) {
        sounds.Play(name, true, false);
        const SoundChannel* channel = system->GetChannel(static_cast<std::size_t>(sounds.GetSound(name)->channel));
        ASSERT_NE(channel, nullptr) << name;
        ALint loops = AL_FALSE;
        alGetSourcei(channel->source, AL_LOOPING, &loops);
        EXPECT_EQ(loops, AL_TRUE) << name;
    }
}

TEST_F(SceneBuild, BallsBelongToTheirPlayersAndFaceTheOpponent)
{
    BuildMatch(2);
    const std::vector<EntityHandle> players = Players();
    const std::vector<EntityHandle> balls = Named("ball");
    ASSERT_EQ(balls.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const Player_LogicComp& component = Component(players[i]);
        const EntityHandle ball = component.mBall;
        EXPECT_EQ(component.mOwnBall, ball);
        EXPECT_EQ(component.mOpponentBall, Component(players[1 - i]).mBall);
        EXPECT_NE(component.mOpponentBall, ball);
        ASSERT_NE(Find<TempBallComp>(ball), nullptr);
        EXPECT_EQ(Find<TempBallComp>(ball)->mPlayer, players[i]);
        EXPECT_NE(Find<Engine::SMComponent>(ball), nullptr);
        EXPECT_NE(Find<Engine::Emitter>(ball)->GetSound("BounceBall"), nullptr);
        EXPECT_TRUE(Engine::EntityTagCompManager::GetInstance().HasTag(ball, "Ball"));
        EXPECT_EQ(Scale(ball), glm::vec3(0.3f));
        const Engine::CollisionComp& body = *Engine::CollisionMgr::GetInstance().FindComp(ball);
        EXPECT_EQ(body.mCollisionShape.value, Engine::ShapeSphere);
        EXPECT_EQ(body.mGravity.value, glm::vec3(0.0f, -0.5f, 0.0f));
        const Engine::RenderComp& look = *Engine::RenderCompManager::GetInstance().GetCompPtr(ball);
        EXPECT_EQ(look.mModelName.value, "Geosphere");
        EXPECT_EQ(look.mDiffuseColor.value, CurrentPalette.Colour(BallDiff));
        const Engine::ParticleEmitter& sparks = *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(ball);
        EXPECT_EQ(sparks.textureName, "Point");
        EXPECT_EQ(sparks.GetParticles().size(), 0u);
    }
}

// The perk choices of the settings, per player index; a choice outside the
// tables adds nothing, and perks switched off add none at all.
TEST_F(SceneBuild, PerksFollowTheSettingsOfEachPlayerIndex)
{
    struct Case {
        bool enabled;
        int active, passive, active2, passive2;
        int kind1, kind2; // the active kinds written into the players
        bool teleport1, shield2, slow1, drop2, doubleJump1, rocket2, hold2, anyPassive1;
    };
    const Case cases[] = {
        {true, 0, 0, 1, 5, 1, 2, true, true, false, false, true, true, false, true},
        {true, 2, 4, 3, 1, 0, 3, false, false, true, true, false, false, true, true},
        {true, 4, 6, -1, 1, 4, 4, false, false, false, false, false, false, true, false},
        {false, 0, 0, 1, 5, 4, 4, false, false, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.active << "," << c.passive << " " << c.active2 << "," << c.passive2);
        Tarvex::Configs::Perks& perks = GameModifiers::GetPerks();
        perks.EnablePerks.value = c.enabled;
        perks.Active.value = c.active;
        perks.Passive.value = c.passive;
        perks.Active2.value = c.active2;
        perks.Passive2.value = c.passive2;
        BuildMatch(2);
        const EntityHandle one = Players()[0];
        const EntityHandle two = Players()[1];
        EXPECT_EQ(Component(one).mActiveKind, c.kind1);
        EXPECT_EQ(Component(two).mActiveKind, c.kind2);
        EXPECT_EQ(Find<ActivePerkss::TeleportToBall>(one) != nullptr, c.teleport1);
        EXPECT_EQ(Find<ActivePerkss::Shield>(two) != nullptr, c.shield2);
        EXPECT_EQ(Find<ActivePerkss::SlowBall>(one) != nullptr, c.slow1);
        EXPECT_EQ(Find<ActivePerkss::Droppable>(two) != nullptr, c.drop2);
        EXPECT_EQ(Find<PasivePerkss::DoubleJump>(one) != nullptr, c.doubleJump1);
        EXPECT_EQ(Find<PasivePerkss::RocketJump>(two) != nullptr, c.rocket2);
        EXPECT_EQ(Find<PasivePerkss::HoldSpeed>(two) != nullptr, c.hold2);
        EXPECT_EQ(Find<PasivePerkss::PasivePerk>(one) != nullptr, c.anyPassive1);
        // Each player's perks are its own.
        EXPECT_EQ(Find<ActivePerkss::TeleportToBall>(two), nullptr);
    }
}

// Asking for pads is not having them: with no pad everybody plays on keys
// and mouse; with one pad the first player takes it and the second keeps
// the keys. Every local player answers to "Player_Mouse".
TEST_F(SceneBuild, PadPlayersTakeThePadsThatArePluggedInAndAreAllNamedPlayerMouse)
{
    GameScene::PlayerUsesGamepad[0] = true;
    GameScene::PlayerUsesGamepad[1] = true;
    BuildMatch(2);
    EXPECT_EQ(Players().size(), 2u);
    EXPECT_FALSE(InputBindings::ForPlayer(1).UsesController);
    EXPECT_FALSE(InputBindings::ForPlayer(2).UsesController);

    PluggedPad pad;
    ASSERT_TRUE(pad.IsPlugged());
    Engine::InputManager::GetInstance().Update();
    BuildMatch(2);
    EXPECT_EQ(Players().size(), 2u);
    EXPECT_TRUE(Named("Player_Gamepad").empty());
    EXPECT_TRUE(InputBindings::ForPlayer(1).UsesController);
    EXPECT_FALSE(InputBindings::ForPlayer(2).UsesController);
}

// Both halves of the window hold a view of the arena from each player's
// side, each with its own crosshair, energy and score.
TEST_F(SceneBuild, TwoPlayersSplitTheWindowScreenshot)
{
    BuildMatch(2);
    // The tiles rise into place and the players come down onto them.
    Frames(160, 20);
    // Some energy spent: the gauge beside the crosshair shows what is left.
    for (EntityHandle player : Players())
        Component(player).Energy.value = 10.0f;
    Frame();
    for (EntityHandle player : Players()) {
        EXPECT_EQ(Hud(Component(player).mEnergyHud).mTextureName.value, "Energy_10");
        Engine::CameraManager::GetInstance().GetCompPtr(player)->Update();
    }
    Engine::Renderer::GetInstance().Render();
    EXPECT_TRUE(DrainGlErrors().empty());
    EXPECT_TRUE(SaveScreenshot("match_two_players_split"));
    // The halves differ: each is its own view.
    int differing = 0;
    for (int x = 100; x < 1280; x += 100) {
        if (PixelAt(x, 540) != PixelAt(x, 180))
            ++differing;
    }
    EXPECT_GT(differing, 3);
}

} // namespace
