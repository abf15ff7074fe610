#include "tools/sounds/WavFile.h"

#include <AL/al.h>
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

// What the game needs of each file: those it plays looped must join their
// end to their start; the length bounds follow from how each is used.
struct Expected {
    const char* path;
    bool loops;
    double minSeconds;
    double maxSeconds;
};

const std::vector<Expected>& Files()
{
    static const std::vector<Expected> files = {
        {"data/Sounds/Sfx/HoveringOnMenu.wav", false, 0.02, 0.2},  // on every hover
        {"data/Sounds/Sfx/OnClickMenu2.wav", false, 0.05, 0.5},
        {"data/Sounds/Sfx/Running1.wav", true, 0.4, 3.0},          // looped while running
        {"data/Sounds/Sfx/EventCooldown.wav", false, 0.3, 4.0},    // repeated through a 4 s warning
        {"data/Sounds/Sfx/Tp_active.wav", false, 0.2, 2.0},
        {"data/Sounds/Sfx/ooe_test.wav", false, 0.1, 1.0},
        {"data/Sounds/Sfx/tile_moving_sfx.wav", false, 0.2, 1.5},
        {"data/Sounds/Sfx/shieldsfx.wav", true, 0.5, 5.0},         // looped while the shield stands
        {"data/Sounds/Sfx/stunsfx.wav", true, 0.5, 5.0},           // looped while the stun area stands
        {"data/Sounds/Sfx/GoalBall.wav", false, 0.3, 3.0},
        {"data/Sounds/Sfx/player_hit.wav", false, 0.1, 1.5},
        {"data/Sounds/Sfx/BounceBall.wav", false, 0.05, 1.0},
        {"data/Sounds/Music/loading_bar.wav", false, 2.8, 3.3},    // the bar fills in 2.9 s, held to 3.12 s
        {"data/Sounds/Music/Menus_loop_inicial.wav", false, 4.0, 30.0},
        {"data/Sounds/Music/Menus_loop_medio.wav", true, 20.0, 90.0},
        {"data/Sounds/Music/Game_loop_inicio.wav", false, 4.0, 30.0},
        {"data/Sounds/Music/Game_loop_medio.wav", true, 20.0, 90.0},
        {"data/Sounds/Music/Dupstep.wav", false, 15.0, 60.0},
    };
    return files;
}

std::vector<int> Channel(const SoundGen::WavData& data, int channel)
{
    std::vector<int> samples(data.Frames());
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = data.samples[i * data.channels + static_cast<std::size_t>(channel)];
    return samples;
}

// How a loop's last samples run into its first, compared with how the
// samples around that point run into each other. A click is a step (or a
// sudden bend) much larger than any of its neighbours.
struct Join {
    int step;          // first - last
    int bend;          // change of slope across the join
    int nearbyStep;    // largest step within `span` samples either side
    int nearbyBend;
};

Join MeasureJoin(const std::vector<int>& x, std::size_t span)
{
    const std::size_t n = x.size();
    auto at = [&](long i) { return x[static_cast<std::size_t>((i % static_cast<long>(n) + static_cast<long>(n)) % static_cast<long>(n))]; };
    Join join{std::abs(at(0) - at(-1)), std::abs(at(0) - 2 * at(-1) + at(-2)), 0, 0};
    for (long i = -static_cast<long>(span); i <= static_cast<long>(span); ++i) {
        if (i == 0 || i == 1)
            continue; // the steps and bends that include the join itself
        join.nearbyStep = std::max(join.nearbyStep, std::abs(at(i) - at(i - 1)));
        join.nearbyBend = std::max(join.nearbyBend, std::abs(at(i) - 2 * at(i - 1) + at(i - 2)));
    }
    return join;
}

bool JoinsSmoothly(const std::vector<int>& x)
{
    constexpr int kFloor = 96; // steps this small are inaudible whatever their neighbours
    const Join join = MeasureJoin(x, 48);
    return join.step <= std::max(kFloor, join.nearbyStep * 3 / 2) && join.bend <= std::max(kFloor, join.nearbyBend * 3 / 2);
}

double Rms(const std::vector<int>& x)
{
    double sum = 0.0;
    for (const int sample : x)
        sum += static_cast<double>(sample) * sample;
    return x.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(x.size())) / 32768.0;
}

TEST(LoopJoinCheck, TellsAWholeCycleFromACutOne)
{
    auto sine = [](double cycles, std::size_t frames) {
        std::vector<int> x(frames);
        for (std::size_t i = 0; i < frames; ++i)
            x[i] = static_cast<int>(std::lround(20000.0 * std::sin(2.0 * std::numbers::pi * cycles * static_cast<double>(i) / static_cast<double>(frames))));
        return x;
    };
    EXPECT_TRUE(JoinsSmoothly(sine(100.0, 44100)));
    EXPECT_FALSE(JoinsSmoothly(sine(100.25, 44100)));
    EXPECT_FALSE(JoinsSmoothly(sine(100.02, 44100))); // a small step, but a step all the same
}

// Each file is read once and checked for everything the game needs of it:
// the format, a length that fits its use, sound without clipping, ends that
// do not click (a loop joins its end to its start, a one-shot starts and
// stops at rest), and a buffer from ALUT, the game's loader.
TEST(SoundFiles, EveryFileFitsItsUseEndsWithoutAClickAndLoadsThroughAlut)
{
    // OpenAL's null device suffices.
    ASSERT_TRUE(alutInit(nullptr, nullptr)) << alutGetErrorString(alutGetError());
    for (const Expected& file : Files()) {
        SCOPED_TRACE(file.path);
        const ALuint buffer = alutCreateBufferFromFile(file.path);
        EXPECT_NE(buffer, static_cast<ALuint>(AL_NONE)) << alutGetErrorString(alutGetError());
        alDeleteBuffers(1, &buffer);

        const SoundGen::WavParse parsed = SoundGen::LoadWav(file.path);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(parsed.data.channels, 2);
        EXPECT_EQ(parsed.data.bitsPerSample, 16);
        EXPECT_EQ(parsed.data.sampleRate, 44100u);
        const double seconds = static_cast<double>(parsed.data.Frames()) / 44100.0;
        EXPECT_GE(seconds, file.minSeconds);
        EXPECT_LE(seconds, file.maxSeconds);
        for (int channel = 0; channel < 2; ++channel) {
            SCOPED_TRACE(channel == 0 ? "left" : "right");
            const std::vector<int> x = Channel(parsed.data, channel);
            ASSERT_GE(x.size(), 2u);
            EXPECT_GT(Rms(x), 0.02);
            const auto clipped = std::count_if(x.begin(), x.end(), [](int s) { return std::abs(s) >= 32767; });
            EXPECT_LE(static_cast<double>(clipped), 0.0005 * static_cast<double>(x.size()));
            const Join join = MeasureJoin(x, 48);
            if (file.loops) {
                EXPECT_TRUE(JoinsSmoothly(x)) << "step " << join.step << " (nearby " << join.nearbyStep << "), bend "
                                              << join.bend << " (nearby " << join.nearbyBend << ")";
            } else {
                EXPECT_LE(std::max(std::abs(x.front()), std::abs(x.back())), 96);
            }
        }
    }
    alutExit();
}

} // namespace
