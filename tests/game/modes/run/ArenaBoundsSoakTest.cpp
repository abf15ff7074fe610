#include "game/modes/MatchHarness.h"
#include "game/modes/RandomHands.h"

#include "engine/collision/CollisionComp.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Renderer.h"
#include "game/arena/ArenaRoom.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/tile/TileColumns.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/tile/CrashingTile.h"
#include "game/match/GameModifiers.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "support/InsideABody.h"
#include "support/PrivateDisplay.h"
#include "support/ResidentMemory.h"

#include <deque>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>

namespace {

// A local match for two under random hands, at a fixed frame time, for ten
// minutes of game time (one under the sanitizers): on every frame, as it is
// drawn, both players must stand inside the arena's room, no view may look
// out from inside the other player's body, and none from inside a column (of
// a wall, the ceiling or the floor), but for a column sweeping past while
// the arena turns or a tile crashes, whose frames are counted apart.
// Matches that end start again with new perks. Nothing is drawn: the walls
// hold by the same rules either way.
//
// A failure names the frame, what the hands did in the last second and what
// the player's body touched.

struct HandsOfAFrame {
    std::set<SDL_Scancode> keys;
    std::uint32_t buttons = 0;
    int dx = 0;
    int dy = 0;
};

// (frame milliseconds, seed)
using SoakCase = std::tuple<int, unsigned>;

class ArenaBoundsSoak : public MatchHarness, public ::testing::WithParamInterface<SoakCase> {
protected:
    // The sanitizers' build runs ten times slower: there a minute of the
    // same play.
    static constexpr int kGameSeconds = Engine::Platform::kSanitizedAllocator ? 60 : 600;

    void SetUp() override
    {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        MatchHarness::SetUp();
        frameMilliseconds = std::get<0>(GetParam());
        Engine::Random::SeedWith(std::get<1>(GetParam()));
        frameLimit = kGameSeconds * 1000L / frameMilliseconds;
    }

    bool LoopFrame() override
    {
        ++frame;
        Engine::Renderer::GetInstance().renderingEnabled = false;
        Press();
        const bool open = EngineFrame();
        if (GameMode::IsCurrent(GameMode::Title) && !GameMode::ChangeRequested)
            StartMatch();
        if (MatchRecorder::GetInstance().isLive && failure.empty())
            CheckPlayers();
        return open && failure.empty() && frame < frameLimit;
    }

    // The restless hands of the other soaks, with the bend-hold and recall
    // buttons, the ball reset and a mouse that looks about.
    void Press()
    {
        if (RandomHands::Shuffle(held, sMouseButtons)) {
            sMouseButtons |= static_cast<std::uint32_t>(Engine::Random::RangeInt(0, 7)) & ~SDL_BUTTON_LMASK;
            if (Engine::Random::RangeInt(0, 7) == 0)
                held.insert(SDL_SCANCODE_R);
        }
        HandsOfAFrame hands{held, sMouseButtons, 0, 0};
        if (Engine::Random::RangeInt(0, 2) == 0) {
            hands.dx = Engine::Random::RangeInt(-60, 60);
            hands.dy = Engine::Random::RangeInt(-25, 25);
            InjectedMotion::Push(hands.dx, hands.dy);
        }
        lastSecond.push_back(hands);
        while (lastSecond.size() > static_cast<std::size_t>(1000 / frameMilliseconds))
            lastSecond.pop_front();
    }

    void StartMatch()
    {
        auto& perks = GameModifiers::GetPerks();
        perks.Active.value = Engine::Random::RangeInt(0, 3);
        perks.Active2.value = Engine::Random::RangeInt(0, 3);
        perks.Passive.value = Engine::Random::RangeInt(0, 5);
        perks.Passive2.value = Engine::Random::RangeInt(0, 5);
        GameScene::PlayerCount = 2;
        GameMode::Request(GameMode::Gameplay);
    }

    void CheckPlayers()
    {
        const ArenaRoom room = ArenaRoom::Of(HexGrid::GetInstance());
        lastPlaces.clear();
        for (Engine::EntityHandle player :
             Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse")) {
            lastPlaces += " " + Text(Engine::Transform::GetWorldPosition(player));
            if (!room.Contains(Engine::Transform::GetWorldPosition(player))) {
                failure = Describe(player, room, "outside");
                continue;
            }
            if (ViewInsideAnotherPlayer(player) && viewsInPlayers++ == 0)
                firstViewInPlayer = Describe(player, room, "with its view inside another player; room");
            if (!ViewInsideAColumn(player))
                continue;
            else if (ColumnsSweep())
                ++viewsInSweeps;
            else if (viewsInColumns++ == 0)
                firstViewInColumn = Describe(player, room, "with its view inside a column; room");
        }
    }

    // The arena turning, or a tile crashing across it.
    static bool ColumnsSweep()
    {
        const GameState& state = GameState::GetInstance();
        if (state.flipPending && state.announceTimer > state.announceDelay)
            return true;
        for (Engine::EntityHandle tile : HexGrid::GetInstance().tiles) {
            const CrashingTile* crash = Engine::LogicManager::GetCompPtr<CrashingTile>(tile);
            if (crash && crash->mActive)
                return true;
        }
        return false;
    }

    static bool ViewInsideAColumn(Engine::EntityHandle player)
    {
        Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
        return cameras.HasComponent(player) &&
               TileColumns::WayOutOfColumns(cameras.GetCompPtr(player)->mPos.value, 0.0f, ArenaRoom::Of(HexGrid::GetInstance()))
                   .has_value();
    }

    static bool ViewInsideAnotherPlayer(Engine::EntityHandle player)
    {
        Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
        if (!cameras.HasComponent(player))
            return false;
        const glm::vec3 eye = cameras.GetCompPtr(player)->mPos.value;
        for (const char* name : {"Player_Mouse", "2 Player_Mouse"}) {
            for (Engine::EntityHandle other : Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(name)) {
                if (other != player && InsideABody(eye, other))
                    return true;
            }
        }
        return false;
    }

    std::string Describe(Engine::EntityHandle player, const ArenaRoom& room, const char* where) const
    {
        std::ostringstream out;
        const glm::vec3 at = Engine::Transform::GetWorldPosition(player);
        const Player_LogicComp* logic = Engine::LogicManager::GetCompPtr<Player_LogicComp>(player);
        const Engine::CollisionComp* body = PlayerFrame::BodyOf(player);
        out << "frame " << frame << " (" << frame * frameMilliseconds / 1000.0 << " s): player "
            << (logic ? logic->mPlayerNumber : 0) << " at " << Text(at) << ", " << where << " " << Text(room.min) << " - "
            << Text(room.max) << "\n  movement "
            << (logic ? logic->StateNameOf(Player_LogicComp::MovementMachine) : std::string("?")) << ", velocity "
            << (body ? Text(body->mVelocity.value) : std::string("?")) << ", active perk "
            << (logic ? logic->mActiveKind : -1) << ", passive perk " << (logic ? logic->mPassiveKind : -1)
            << "\n  touches:";
        const float radius = glm::length(*Engine::Transform::ScalePtr(player));
        for (const Engine::RayHit& hit : Engine::SpatialCollisionMgr::GetInstance().QueryOverlaps(
                 Engine::MakeTransform3D(player), radius, player))
            out << " " << Engine::EntityNameCompManager::GetInstance().GetName(hit.entity);
        out << "\n  the last second's hands (keys, buttons, mouse motion):";
        for (const HandsOfAFrame& hands : lastSecond) {
            out << "\n   ";
            for (SDL_Scancode key : hands.keys)
                out << " " << SDL_GetScancodeName(key);
            out << " | " << hands.buttons << " | " << hands.dx << "," << hands.dy;
        }
        return out.str();
    }

    static std::string Text(const glm::vec3& v)
    {
        std::ostringstream out;
        out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
        return out.str();
    }

    const PrivateDisplay display;
    long frame = 0;
    long frameLimit = 0;
    std::deque<HandsOfAFrame> lastSecond;
    std::string failure;
    long viewsInColumns = 0;
    long viewsInSweeps = 0;
    long viewsInPlayers = 0;
    std::string lastPlaces;
    std::string firstViewInColumn;
    std::string firstViewInPlayer;
};

TEST_P(ArenaBoundsSoak, BothPlayersStayInsideTheArenaOnEveryFrame)
{
    StartMatch();
    GameMode::Pending = GameMode::Gameplay;
    GameMode::ChangeRequested = false;
    std::string output = StderrOf([this] { StdoutOf([this] { RunModes(); }); });
    // Printed for comparing runs: a case counts the same whatever ran before
    // it in the process.
    std::cout << "[Soak] " << frame << " frames, " << viewsInColumns << " views in a column, " << viewsInSweeps
              << " in a sweeping one, " << viewsInPlayers << " inside the other player; the players last at"
              << lastPlaces << "\n";
    ASSERT_TRUE(failure.empty()) << failure;
    EXPECT_EQ(viewsInColumns, 0) << firstViewInColumn;
    EXPECT_EQ(viewsInPlayers, 0) << firstViewInPlayer;
    // A column may still sweep past a view for the frames it passes.
    EXPECT_LE(viewsInSweeps, frame / 1000);
    EXPECT_EQ(output.find("outside the arena"), std::string::npos) << output;
    EXPECT_EQ(frame, frameLimit) << "the match ended early: the window closed or a mode stopped";
}

INSTANTIATE_TEST_SUITE_P(FrameTimes, ArenaBoundsSoak,
                         ::testing::Values(SoakCase{32, 20261209u}, SoakCase{32, 7u}, SoakCase{16, 20261209u},
                                           SoakCase{16, 7u}));

} // namespace
