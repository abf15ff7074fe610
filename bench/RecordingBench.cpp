// Loading a tutorial's recording, as the tutorial mode does before its first
// frame, on the largest file shipped: the player waits this long on the
// tutorials' page. Run from the build folder (the recordings are read from
// data/Tuturials/); no display is needed.
#include "game/arena/RecordingFile.h"
#include "game/match/TutorialArena.h"
#include "game/menus/TutorialMenu.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>
#include <string>

namespace {

// The tiles of the default arena, which every tutorial plays on.
constexpr std::size_t kArenaTiles = 1370;

std::string LargestRecording()
{
    std::string largest;
    std::uintmax_t largestBytes = 0;
    for (const TutorialTableRow& row : LayerCreator::kTutorialTable) {
        const std::string path = TutorialArena::RecordingPath(row.recording);
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(path, error);
        if (!error && bytes > largestBytes) {
            largest = path;
            largestBytes = bytes;
        }
    }
    return largest;
}

void BM_LoadLargestRecording(benchmark::State& state)
{
    const std::string path = LargestRecording();
    if (path.empty()) {
        state.SkipWithError("no recording in data/Tuturials/: run from the build folder");
        return;
    }
    std::size_t frames = 0;
    for (auto _ : state) {
        std::string problem;
        const auto recording = RecordingFile::Read(path, kArenaTiles, problem);
        if (!recording) {
            state.SkipWithError(problem.c_str());
            break;
        }
        frames = recording->frames.size();
    }
    state.SetLabel(std::filesystem::path(path).filename().string());
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_LoadLargestRecording)->Unit(benchmark::kMillisecond);

} // namespace
