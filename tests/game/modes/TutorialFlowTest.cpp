// Under Xvfb: tutorials chosen from the title's tutorial list, played from
// their recordings to the end, and what is left behind for the next match.
#include "GameDriver.h"
#include "engine/core/EntityNameCompManager.h"
#include "game/arena/HexGrid.h"
#include "game/arena/MatchRecorder.h"
#include "game/arena/RecordingFile.h"
#include "game/match/TutorialArena.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/TutorialMenu.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stb_image.h>
#include <string_view>
#include <unistd.h>

namespace {

using LayerCreator::kTitleLayer;
using LayerCreator::kTutorialLayer;
using LayerCreator::kTutorialOverlayLayer;
using LayerCreator::kTutorialTable;

constexpr std::uint32_t kTutorialsButton = 97;
constexpr std::uint32_t kBackButton = 85;

class TutorialFlow : public GameDriver {
protected:
    void SetUp() override
    {
        GameDriver::SetUp();
        // The kill camera draws every frame of a playback; a small window
        // keeps that cheap. Pictures are taken at the game's size.
        Engine::Window::Main()->SetResolution({kSmall.x, kSmall.y});
        // Only the pictured frames are drawn: the software renderer takes
        // long over a frame of the whole arena.
        MatchRecorder::GetInstance().killCamera.drawing = false;
    }

    void TearDown() override
    {
        MatchRecorder::GetInstance().killCamera.drawing = true;
        GameDriver::TearDown();
    }

    // The title, its arena risen, with the tutorial list open.
    void OpenTutorialList()
    {
        if (!GameMode::IsCurrent(GameMode::Title)) {
            GameMode::Pending = GameMode::Title;
            Step();
        }
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
        ASSERT_EQ(TopPage(), kTitleLayer);
        Choose(kTutorialsButton);
        ASSERT_EQ(TopPage(), kTutorialLayer);
    }

    // Walks the list to the row's button and presses it; the tutorial runs
    // after the next step.
    void StartRow(std::size_t row)
    {
        OpenTutorialList();
        // Up from the back button, through the list bottom first.
        ASSERT_TRUE(FocusWithArrows(kTutorialTable[row].textId, SDL_SCANCODE_UP, 16));
        Press(SDL_SCANCODE_RETURN);
        ASSERT_EQ(TopPage(), kTutorialOverlayLayer);
    }

    // The tutorial's updates until the title is asked for again; -1 when it
    // goes on past `limit`.
    int UpdatesUntilTitle(int limit, int pictureAt = -1, const std::string& picture = "")
    {
        for (int updates = 1; updates <= limit; ++updates) {
            MatchRecorder& recorder = MatchRecorder::GetInstance();
            const bool drawing = recorder.killCamera.drawing;
            if (updates == pictureAt) {
                SetPictureSize(true);
                recorder.killCamera.drawing = true;
            }
            Step();
            if (updates == pictureAt) {
                EXPECT_TRUE(SaveScreenshot(picture));
                SetPictureSize(false);
                recorder.killCamera.drawing = drawing;
            }
            if (GameMode::ChangeRequested)
                return GameMode::IsCurrent(GameMode::Tutorial) && GameMode::Pending == GameMode::Title ? updates : -2;
        }
        return -1;
    }

    static void SetPictureSize(bool picture)
    {
        const glm::ivec2 size = picture ? glm::ivec2(1280, 720) : kSmall;
        Engine::Window::Main()->SetResolution({size.x, size.y});
        GameMode::UpdateUILayers();
    }

    static std::size_t FramesIn(const char* file)
    {
        std::string problem;
        const auto recording =
            RecordingFile::Read(TutorialArena::RecordingPath(file), HexGrid::GetInstance().tiles.size(), problem);
        EXPECT_TRUE(recording) << file << ": " << problem;
        return recording ? recording->frames.size() : 0;
    }

    static std::size_t PlayersOnStage()
    {
        return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("Player_Mouse").size();
    }

    // Pixels of a saved picture with no light in them at all.
    static std::size_t BlackPixelsIn(const std::string& picture)
    {
        int width = 0;
        int height = 0;
        int channels = 0;
        const std::string path = "screenshots/" + picture + ".png";
        unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
        EXPECT_NE(pixels, nullptr) << path;
        std::size_t black = 0;
        for (std::size_t i = 0; pixels && i < static_cast<std::size_t>(width) * height; ++i)
            black += pixels[3 * i] + pixels[3 * i + 1] + pixels[3 * i + 2] < 12;
        stbi_image_free(pixels);
        return black;
    }

    static inline const glm::ivec2 kSmall{128, 72};
};

class EveryTutorial : public TutorialFlow, public ::testing::WithParamInterface<std::size_t> {};

// Each tutorial from the list to its end: one recorded frame per update, a
// picture of the middle one, and the title again.
TEST_P(EveryTutorial, PlaysItsRecordingToTheEndAndTheTitleComesBack)
{
    const std::size_t row = GetParam();
    const TutorialTableRow& entry = kTutorialTable[row];
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    StartRow(row);
    Step();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Tutorial));
    EXPECT_EQ(LayerCreator::TutorialOverlayText(), entry.textId + 1);
    EXPECT_EQ(PlayersOnStage(), entry.twoPlayers ? 2u : 1u);
    const std::size_t frames = FramesIn(entry.recording);
    ASSERT_GT(frames, 2u);
    // That first step played the first frame already.
    const int rest = static_cast<int>(frames) - 1;
    const std::string name(entry.recording);
    const std::string picture = "tutorial_" + name.substr(0, name.size() - 5);
    int updates = 0;
    StdoutOf([&] { updates = UpdatesUntilTitle(rest + 5, rest / 2, picture); });
    EXPECT_EQ(updates, rest) << "one frame of the recording per update";
    EXPECT_EQ(GameMode::ReturnRequested, 0);
    Step();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
    EXPECT_EQ(TopPage(), kTitleLayer);
    EXPECT_TRUE(recorder.isLive);
    EXPECT_FALSE(recorder.isTutorial);
}

INSTANTIATE_TEST_SUITE_P(TutorialList, EveryTutorial, ::testing::Range<std::size_t>(0, kTutorialTable.size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             const std::string name(kTutorialTable[info.param].recording);
                             return name.substr(0, name.size() - 5);
                         });

// A recording file beside the shipped ones, gone with the test. The folder
// is shared by every run of this binary: the name carries the process's id,
// or one run would remove the file another is about to read.
class StrayRecording {
public:
    StrayRecording(const char* stem, const std::string& text)
        : mName(std::string(stem) + "-" + std::to_string(getpid()) + ".json"),
          mPath(TutorialArena::RecordingPath(mName.c_str()))
    {
        std::ofstream file(mPath, std::ios::binary | std::ios::trunc);
        file << text;
    }
    ~StrayRecording()
    {
        std::error_code ignored;
        std::filesystem::remove(mPath, ignored);
    }
    StrayRecording(const StrayRecording&) = delete;
    StrayRecording& operator=(const StrayRecording&) = delete;
    const char* Name() const { return mName.c_str(); }

private:
    std::string mName;
    std::string mPath;
};

TEST_F(TutorialFlow, AMissingOrBrokenRecordingSendsThePlayerBackToTheTitleWithAMessage)
{
    const StrayRecording broken("broken-test", "[{\"Players\": [{\"pos\": {\"x\": 1}}]}]");
    const StrayRecording truncated("truncated-test", "[{\"Players\": [");
    struct Case {
        const char* file;
        const char* said;
    };
    const Case cases[] = {
        {"no-such-tutorial.json", "cannot be opened"},
        {broken.Name(), "frame 0"},
        {truncated.Name(), "not JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        GameMode::Pending = GameMode::Title;
        Step();
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
        MenuEventRecord event;
        event.row = {98, 0, c.file};
        GameMode::SwitchToTutorial(event);
        std::string said;
        StdoutOf([&] { said = StderrOf([&] { Step(); }); });
        ASSERT_TRUE(GameMode::IsCurrent(GameMode::Tutorial));
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(said.find(c.file), std::string::npos) << said;
        EXPECT_TRUE(MatchRecorder::GetInstance().playback.empty());
        EXPECT_TRUE(GameMode::ChangeRequested) << "the first update already asks for the title";
        EXPECT_EQ(GameMode::Pending, GameMode::Title);
        Step();
        EXPECT_TRUE(GameMode::IsCurrent(GameMode::Title));
        EXPECT_EQ(GameMode::ReturnRequested, 0);
    }
}

TEST_F(TutorialFlow, EscapeAndLostFocusOpenNoPauseMenuAndTheBackButtonEndsTheTutorial)
{
    StartRow(1);
    Step();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Tutorial));
    StdoutOf([&] {
        Press(SDL_SCANCODE_ESCAPE);
        sFocused = false;
        Steps(3);
        sFocused = true;
        Press(SDL_SCANCODE_ESCAPE);
    });
    EXPECT_TRUE(GameMode::IsCurrent(GameMode::Tutorial));
    EXPECT_EQ(Layers().Find(LayerCreator::kPauseLayer), nullptr);
    EXPECT_EQ(TopPage(), kTutorialOverlayLayer);
    EXPECT_FALSE(Engine::Core::GetInstance().IsPaused());

    // The overlay's back button makes the recorder live: the title follows.
    ASSERT_EQ(Focused(), kBackButton);
    // The button acts as the key comes up; the next update asks for the
    // title, and the step after brings it.
    StdoutOf([&] {
        Press(SDL_SCANCODE_RETURN);
        Steps(2);
    });
    EXPECT_TRUE(GameMode::IsCurrent(GameMode::Title));
    EXPECT_EQ(TopPage(), kTitleLayer);
    EXPECT_EQ(GameMode::ReturnRequested, 0);
}

// The goal ball's shell once turned black where a face looked straight at
// the camera (its rim term took a power of a number a rounding put below
// zero), and the glow's halo spread that into a square round the ball.
// The pictures of its first frames hold no black: nothing in that view is.
TEST_F(TutorialFlow, TheGoalBallShowsFromItsFirstFramesWithNoBlackSquare)
{
    constexpr std::size_t kGoalBallRow = 12;
    static_assert(std::string_view(kTutorialTable[kGoalBallRow].recording) == "EventBall.json");
    constexpr int kPictures = 4;
    // One pixel in 2000; the square took 34 in 10000 of the window.
    constexpr std::size_t kBlackAllowed = 1280 * 720 / 2000;
    StartRow(kGoalBallRow);
    Step();
    const MatchRecorder::FrameList& left = MatchRecorder::GetInstance().playback;
    const auto spawn = std::find_if(left.begin(), left.end(), [](const auto& frame) { return frame->goalBall.active; });
    ASSERT_NE(spawn, left.end());
    // The frame that holds the ball first brings it out; the next draws it.
    StdoutOf([&] { Steps(static_cast<int>(std::distance(left.begin(), spawn)) + 1); });
    for (int picture = 1; picture <= kPictures; ++picture) {
        const std::string name = "tutorial_goal_ball_" + std::to_string(picture);
        StdoutOf([&] { EXPECT_EQ(UpdatesUntilTitle(1, 1, name), -1); });
        EXPECT_LE(BlackPixelsIn(name), kBlackAllowed) << "screenshots/" << name << ".png";
    }
}

TEST_F(TutorialFlow, AMatchAfterATutorialPlaysAndRecordsNormally)
{
    StartRow(9);
    Step();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Tutorial));
    const int rest = static_cast<int>(FramesIn(kTutorialTable[9].recording)) - 1;
    StdoutOf([&] { EXPECT_EQ(UpdatesUntilTitle(rest + 5), rest); });
    Step();
    ASSERT_TRUE(GameMode::IsCurrent(GameMode::Title));
    EXPECT_EQ(GameScene::PlayerCount, 2) << "the count stays until a menu sets it";

    GameMode::Request(GameMode::Gameplay);
    StdoutOf([&] { Steps(120); });
    EXPECT_TRUE(GameMode::IsCurrent(GameMode::Gameplay)) << "no return request carried over";
    EXPECT_FALSE(GameMode::ChangeRequested);
    const MatchRecorder& recorder = MatchRecorder::GetInstance();
    EXPECT_TRUE(recorder.isLive);
    EXPECT_FALSE(recorder.isTutorial);
    EXPECT_GT(recorder.ring.size(), 100u) << "the match is recorded";
}

} // namespace
