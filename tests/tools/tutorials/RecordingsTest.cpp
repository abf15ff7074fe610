// The tutorials' recordings as the build unpacks them, and the capture tool
// that makes them. Run from the build folder.
#include "game/arena/RecordingFile.h"
#include "game/match/TutorialArena.h"
#include "game/menus/TutorialMenu.h"
#include "support/FileText.h"
#include "support/PrivateDisplay.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The tiles of the default arena, which every tutorial plays on.
constexpr std::size_t kArenaTiles = 1370;
constexpr std::uintmax_t kBudgetBytes = 60u * 1000u * 1000u;
// The sanitizers' checks slow the game several times over.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
// The engine's frame at its cap.
constexpr double kFrameSeconds = 0.007;

TEST(TutorialRecordings, EachLoadsWithinTheBudgetAndCarriesTheFloorOnlyWhereItChanged)
{
    std::uintmax_t total = 0;
    for (const TutorialTableRow& row : LayerCreator::kTutorialTable) {
        SCOPED_TRACE(row.recording);
        const std::string path = TutorialArena::RecordingPath(row.recording);
        std::error_code error;
        total += std::filesystem::file_size(path, error);
        ASSERT_FALSE(error) << path << ": " << error.message();

        std::string problem;
        const auto recording = RecordingFile::Read(path, kArenaTiles, problem);
        ASSERT_TRUE(recording) << problem;

        const std::vector<MatchFrame>& frames = recording->frames;
        const double seconds = static_cast<double>(frames.size()) * kFrameSeconds;
        EXPECT_GT(seconds, 2.0);
        EXPECT_LT(seconds, 6.0);
        ASSERT_EQ(frames.front().tiles.size(), kArenaTiles) << "the first frame places the floor";
        // Any later floor differs from the one the playback shows by then.
        const std::vector<MatchTileRecord>* shown = &frames.front().tiles;
        std::size_t floors = 1;
        for (std::size_t i = 1; i < frames.size(); ++i) {
            if (frames[i].tiles.empty())
                continue;
            EXPECT_NE(frames[i].tiles, *shown) << "frame " << i << " repeats the floor";
            shown = &frames[i].tiles;
            ++floors;
        }
        EXPECT_LT(floors, frames.size() / 4) << "floors written";
    }
    EXPECT_LE(total, kBudgetBytes) << "bytes of all recordings";
}

// A scratch folder, gone with the test.
class Scratch {
public:
    Scratch() : mPath(MakeTempFolder("solvane-capture")) {}
    ~Scratch()
    {
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::filesystem::path Path() const { return mPath; }

private:
    std::filesystem::path mPath;
};

// Captures the tutorials named (all of them for none) with the tool, in one
// run, into a folder of its own.
void Capture(const std::filesystem::path& folder, const std::vector<std::string>& names)
{
    std::string command = std::string("'") + SOLVANE_CAPTURE_TOOL + "' '" + folder.string() + "'";
    for (const std::string& name : names)
        command += " " + name;
    command += " > '" + (folder.parent_path() / "capture.log").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileText((folder.parent_path() / "capture.log").string());
}

// A change to the game that moves one frame of one tutorial shows here, not
// in a tutorial that quietly plays something its script no longer makes.
// The shipped files come from another run, so equal also means repeatable.
// The sanitizers' build captures one: all thirteen would take minutes.
TEST(TutorialRecordings, TheCaptureToolMakesEveryShippedRecordingAgainByteForByte)
{
    const PrivateDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    const Scratch scratch;
    std::vector<std::string> names;
    for (const TutorialTableRow& row : LayerCreator::kTutorialTable)
        if (!kSanitized || std::string(row.recording) == "DoubleJump.json")
            names.emplace_back(row.recording);
    ASSERT_FALSE(names.empty());
    Capture(scratch.Path() / "out", names);
    for (const std::string& name : names) {
        const std::string captured = ReadFileText((scratch.Path() / "out" / name).string());
        EXPECT_FALSE(captured.empty()) << name;
        EXPECT_TRUE(captured == ReadFileText(TutorialArena::RecordingPath(name.c_str())))
            << name << ": the shipped recording is not what its script records now: run "
            << "tools/tutorials/regenerate.sh";
    }
}

TEST(TutorialRecordings, TheCaptureToolRefusesAnUnknownTutorial)
{
    const Scratch folder;
    const std::string command = std::string("'") + SOLVANE_CAPTURE_TOOL + "' '" + folder.Path().string() +
                                "' NoSuchTutorial.json > /dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "NoSuchTutorial.json"));
}

} // namespace
