#include "game/modes/MatchHarness.h"
#include "game/modes/RandomHands.h"

#include "engine/core/Random.h"
#include "engine/render/Renderer.h"
#include "game/arena/MatchRecorder.h"
#include "game/match/GameScene.h"
#include "support/PrivateDisplay.h"
#include "support/ResidentMemory.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Local two-player matches, one after another, under random keys and mouse
// buttons for a number of frames: resident memory must stay flat once the
// first part of the run has warmed every cache and pool. The software
// renderer takes most of a frame, so one live frame in ten is drawn (the
// replay draws each of its frames through the kill camera, as in the game):
// the matches run near the speed a player's machine gives them.
//
// The run is counted in frames, not in wall time, so that every run plays
// the same matches whatever the machine's load, and leaves the same state.
// SOLVANE_SOAK_FRAMES sets the length (36000 by default, about a minute in
// the optimised build, as CI runs it; a tenth of that under the sanitizers,
// which run ten times slower; a long run takes a million). Memory is read
// when the warm-up ends (36000 frames, or a half of a shorter run) and every
// 36000 frames after; the figures, their times and the frame rate are
// printed. Under the address sanitizer only the run's good end counts
// (freed memory waits in quarantine there).

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// About a minute of the optimised build's frames.
constexpr long kFramesAMinute = 36000;

long SoakFrames()
{
    const char* text = std::getenv("SOLVANE_SOAK_FRAMES");
    const long frames = text ? std::atol(text) : 0;
    if (frames > 0)
        return frames;
    return Engine::Platform::kSanitizedAllocator ? kFramesAMinute / 10 : kFramesAMinute;
}

class Soak : public MatchHarness {
protected:
    static constexpr long kDrawEvery = 10;

    struct Sample {
        long frame;
        double seconds;
        long kib;
    };

    void SetUp() override
    {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        MatchHarness::SetUp();
        frameMilliseconds = 16;
        Engine::Random::SeedWith(20261207u);
    }

    bool LoopFrame() override
    {
        if (frames == 0)
            start = Clock::now();
        ++frames;
        if (MatchRecorder::GetInstance().isLive)
            Engine::Renderer::GetInstance().renderingEnabled = frames % kDrawEvery == 0;
        Press();
        const bool open = EngineFrame();
        RestartWhenBackAtTitle();
        Measure();
        return open && frames < length;
    }

    void Press() { RandomHands::Shuffle(held, sMouseButtons); }

    // A match ends at the score limit, plays its replay and hands back to
    // the title; the next one starts from there.
    void RestartWhenBackAtTitle()
    {
        if (GameMode::IsCurrent(GameMode::Title) && !GameMode::ChangeRequested) {
            ++matches;
            GameScene::PlayerCount = 2;
            GameMode::Request(GameMode::Gameplay);
        }
    }

    void Measure()
    {
        if (frames == (samples.empty() ? WarmUp() : samples.back().frame + kFramesAMinute)) {
            samples.push_back({frames, SecondsSince(start), ResidentKiB()});
            // Past the captured output, so a long run shows how it goes.
            std::cerr << "soak: " << samples.back().kib / 1024 << " MiB at frame " << frames << ", "
                      << static_cast<int>(samples.back().seconds) << " s\n";
        }
    }
    long WarmUp() const { return length >= 3 * kFramesAMinute ? kFramesAMinute : length / 2; }

    const PrivateDisplay display;
    const long length = SoakFrames();
    Clock::time_point start;
    long frames = 0;
    int matches = 0;
    std::vector<Sample> samples;
};

TEST_F(Soak, MatchesUnderRandomInputKeepTheirMemoryFlat)
{
    GameScene::PlayerCount = 2;
    GameMode::Pending = GameMode::Gameplay;
    StdoutOf([this] { RunModes(); });
    samples.push_back({frames, SecondsSince(start), ResidentKiB()});

    const double elapsed = SecondsSince(start);
    std::cout << "soak: " << frames << " frames in " << elapsed << " s (" << frames / elapsed
              << " frames per second), " << matches << " matches ended\n";
    for (const Sample& sample : samples)
        std::cout << "soak: resident " << sample.kib / 1024.0 << " MiB at frame " << sample.frame << ", "
                  << sample.seconds << " s\n";

    ASSERT_GE(samples.size(), 2u);
    EXPECT_EQ(frames, length) << "the run ended early: the window closed or a mode stopped";
    if (kMemoryMeasured) {
        const double growth = static_cast<double>(samples.back().kib) / static_cast<double>(samples.front().kib) - 1.0;
        std::cout << "soak: growth after warm-up " << growth * 100.0 << " %\n";
        EXPECT_LT(growth, 0.05) << "resident memory grew from " << samples.front().kib << " KiB to "
                                << samples.back().kib << " KiB";
    }
}

} // namespace
