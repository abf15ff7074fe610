#include "game/modes/MatchHarness.h"
#include "game/modes/RandomHands.h"

#include "engine/core/Random.h"
#include "engine/render/Renderer.h"
#include "game/arena/MatchRecorder.h"
#include "game/match/GameScene.h"
#include "support/PrivateDisplay.h"
#include "support/ResidentMemory.h"

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Local two-player matches, one after another, under random keys and mouse
// buttons for a length of wall time: resident memory must stay flat once the
// first minute has warmed every cache and pool. The software renderer takes
// most of a frame, so one live frame in ten is drawn (the replay draws each
// of its frames through the kill camera, as in the game): the matches run
// near the speed a player's machine gives them.
//
// SOLVANE_SOAK_SECONDS sets the length (60 by default, as CI runs it; a
// long run takes 1800). Memory is read when the warm-up ends (a minute, or a
// half of a shorter run) and every minute after; the figures and the frame
// rate are printed. Under the address sanitizer only the run's good end
// counts (freed memory waits in quarantine there).

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int SoakSeconds() { return SecondsFromEnvironment("SOLVANE_SOAK_SECONDS", 60); }

class Soak : public MatchHarness {
protected:
    static constexpr long kDrawEvery = 10;

    struct Sample {
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
        return open && SecondsSince(start) < seconds;
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
        const double now = SecondsSince(start);
        if (samples.empty() ? now >= WarmUp() : now >= samples.back().seconds + 60.0) {
            samples.push_back({now, ResidentKiB()});
            // Past the captured output, so a long run shows how it goes.
            std::cerr << "soak: " << samples.back().kib / 1024 << " MiB at " << static_cast<int>(now) << " s, frame "
                      << frames << "\n";
        }
    }
    double WarmUp() const { return seconds >= 180 ? 60.0 : seconds / 2.0; }

    const PrivateDisplay display;
    int seconds = SoakSeconds();
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
    samples.push_back({SecondsSince(start), ResidentKiB()});

    const double elapsed = SecondsSince(start);
    std::cout << "soak: " << frames << " frames in " << elapsed << " s (" << frames / elapsed
              << " frames per second), " << matches << " matches ended\n";
    for (const Sample& sample : samples)
        std::cout << "soak: resident " << sample.kib / 1024.0 << " MiB at " << sample.seconds << " s\n";

    ASSERT_GE(samples.size(), 2u);
    EXPECT_GE(elapsed, seconds) << "the run ended early: the window closed or a mode stopped";
    if (kMemoryMeasured) {
        const double growth = static_cast<double>(samples.back().kib) / static_cast<double>(samples.front().kib) - 1.0;
        std::cout << "soak: growth after warm-up " << growth * 100.0 << " %\n";
        EXPECT_LT(growth, 0.05) << "resident memory grew from " << samples.front().kib << " KiB to "
                                << samples.back().kib << " KiB";
    }
}

} // namespace
