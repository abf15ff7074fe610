#include "tools/sounds/Catalogue.h"
#include "tools/sounds/Drums.h"
#include "tools/sounds/Effects.h"
#include "tools/sounds/Instruments.h"
#include "tools/sounds/Noise.h"
#include "tools/sounds/Oscillator.h"
#include "tools/sounds/Song.h"
#include "tools/sounds/StereoBuffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

using SoundGen::Mono;
using SoundGen::StereoBuffer;

Mono Decaying(std::size_t frames)
{
    Mono voice(frames);
    for (std::size_t i = 0; i < frames; ++i)
        voice[i] = static_cast<float>(frames - i) / static_cast<float>(frames);
    return voice;
}

TEST(StereoBuffer, LoopWrapsTailsToItsStartAndOneShotCutsThem)
{
    const Mono voice = Decaying(10);
    StereoBuffer loop(8, true);
    loop.Add(5, voice, 1.0f, 0.0f);
    // Samples 0..2 land at 5..7, 3..7 wrap to 0..4, 8..9 wrap again to 5..6.
    EXPECT_FLOAT_EQ(loop.Left()[0], voice[3]);
    EXPECT_FLOAT_EQ(loop.Left()[4], voice[7]);
    EXPECT_FLOAT_EQ(loop.Left()[5], voice[0] + voice[8]);
    EXPECT_FLOAT_EQ(loop.Left()[7], voice[2]);

    StereoBuffer once(8, false);
    once.Add(5, voice, 1.0f, 0.0f);
    once.Add(100, voice, 1.0f, 0.0f); // wholly past the end: nothing written
    EXPECT_FLOAT_EQ(once.Left()[0], 0.0f);
    EXPECT_FLOAT_EQ(once.Left()[5], voice[0]);
    EXPECT_FLOAT_EQ(once.Left()[7], voice[2]);

    StereoBuffer empty(0, true);
    empty.Add(3, voice, 1.0f, 0.0f);
    EXPECT_EQ(empty.Frames(), 0u);

    // A centred voice keeps its level on both sides; a hard pan goes to one.
    StereoBuffer panned(2, false);
    panned.Add(0, {0.5f}, 1.0f, 0.0f);
    panned.Add(1, {0.5f}, 1.0f, 1.0f);
    EXPECT_NEAR(panned.Left()[0], 0.5f, 1e-6f);
    EXPECT_NEAR(panned.Right()[0], 0.5f, 1e-6f);
    EXPECT_NEAR(panned.Left()[1], 0.0f, 1e-6f);
    EXPECT_GT(panned.Right()[1], 0.5f);
}

// A loop must sound like one turn of the same music played round and round:
// its tails and the echo of its end belong at its start. Playing the same
// events three times in a row as a one-shot, the middle turn is that loop.
TEST(LoopRendering, EqualsOneTurnOfTheMusicPlayedOverAndOver)
{
    const std::size_t frames = 60000;
    const Mono hit = Decaying(4000);
    auto place = [&](StereoBuffer& buffer, std::size_t offset) {
        buffer.Add(offset + 1000, hit, 0.5f, -0.5f);
        buffer.Add(offset + 58000, hit, 0.5f, 0.5f); // rings over the loop point
    };

    StereoBuffer loop(frames, true);
    place(loop, 0);
    SoundGen::AddEcho(loop, 0.1, 0.5f, 0.5f);
    SoundGen::AddReverb(loop, 0.3f, 0.5f, 0.5f);

    StereoBuffer played(3 * frames, false);
    for (std::size_t turn = 0; turn < 3; ++turn)
        place(played, turn * frames);
    SoundGen::AddEcho(played, 0.1, 0.5f, 0.5f);
    SoundGen::AddReverb(played, 0.3f, 0.5f, 0.5f);

    float worst = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        worst = std::max(worst, std::fabs(loop.Left()[i] - played.Left()[frames + i]));
        worst = std::max(worst, std::fabs(loop.Right()[i] - played.Right()[frames + i]));
    }
    EXPECT_LT(worst, 2e-3f * played.Peak());
}

TEST(LoopRendering, ToneAtALoopFrequencyEndsWhereItStarts)
{
    const std::size_t frames = 44100;
    const double frequency = SoundGen::LoopFrequency(97.3, frames, 44100.0);
    EXPECT_NEAR(frequency, 97.0, 1e-9);
    EXPECT_NEAR(SoundGen::LoopFrequency(0.1, frames, 44100.0), 1.0, 1e-9); // at least one cycle

    SoundGen::Oscillator oscillator;
    float last = 0.0f;
    for (std::size_t i = 0; i < frames; ++i)
        last = oscillator.Next(SoundGen::Wave::Sine, frequency, 44100.0);
    // The sample after the last one would be the first again.
    const double phase = oscillator.Phase();
    EXPECT_LT(std::min(phase, 1.0 - phase), 1e-6);
    EXPECT_LT(std::fabs(last), 0.02f);
}

TEST(LoopRendering, FinishLevelsALoopWithoutFadingItsEnds)
{
    StereoBuffer loop(1000, true);
    StereoBuffer once(1000, false);
    for (std::size_t i = 0; i < 1000; ++i) {
        loop.Left()[i] = loop.Right()[i] = 0.25f;
        once.Left()[i] = once.Right()[i] = 2.0f;
    }
    SoundGen::Finish(loop, 0.5f);
    SoundGen::Finish(once, 0.5f);
    EXPECT_FLOAT_EQ(loop.Left().front(), 0.5f);
    EXPECT_FLOAT_EQ(loop.Right().back(), 0.5f);
    EXPECT_FLOAT_EQ(once.Left()[500], 0.5f); // (that it starts and ends at rest, every file shows)
}

// Every voice is placed many times in the music; one that stops while it
// still rings clicks at the end of every note.
TEST(Voices, EveryVoiceDiesAwayToSilenceByItsLastSample)
{
    struct Case {
        const char* name;
        Mono voice;
    };
    const Case cases[] = {
        {"kick", SoundGen::Kick(1.0)},
        {"snare", SoundGen::Snare(1)},
        {"clap", SoundGen::Clap(2)},
        {"closed hat", SoundGen::HiHat(3, false)},
        {"open hat", SoundGen::HiHat(4, true)},
        {"crash", SoundGen::Crash(5)},
        {"pluck", SoundGen::Pluck(220.0, 0.2, 1.0f)},
        {"pad", SoundGen::Pad(220.0, 0.5, 6).left},
        {"bass", SoundGen::Bass(55.0, 0.3)},
        {"lead", SoundGen::Lead(440.0, 0.4)},
        {"bell", SoundGen::Bell(880.0, 0.6, 3.5, 2.0)},
        {"wobble", SoundGen::Wobble(87.3, 0.5, 4.0, 0.25)},
        {"riser", SoundGen::Riser(1.0, 7)},
    };
    for (const Case& c : cases) {
        ASSERT_GT(c.voice.size(), 2u) << c.name;
        float peak = 0.0f;
        for (const float sample : c.voice)
            peak = std::max(peak, std::fabs(sample));
        EXPECT_GT(peak, 0.05f) << c.name;
        EXPECT_LT(std::fabs(c.voice.back()), 0.002f * peak) << c.name;
    }
}

TEST(Notes, ReadsPitchesLengthsAndRests)
{
    const auto notes = SoundGen::ParseNotes("A4*4 -*2 C#5 Bb3*8", 1.0);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].midi, 69);
    EXPECT_DOUBLE_EQ(notes[0].beat, 1.0);
    EXPECT_DOUBLE_EQ(notes[0].beats, 1.0);
    EXPECT_EQ(notes[1].midi, 73);
    EXPECT_DOUBLE_EQ(notes[1].beat, 2.5); // after four steps and a two-step rest
    EXPECT_DOUBLE_EQ(notes[1].beats, 0.25);
    EXPECT_EQ(notes[2].midi, 58);
    EXPECT_DOUBLE_EQ(notes[2].beat, 2.75);
    EXPECT_NEAR(SoundGen::MidiToFrequency(notes[0].midi), 440.0, 1e-9);
    EXPECT_TRUE(SoundGen::ParseNotes("   ", 0.0).empty());
}

TEST(Notes, RefusesMalformedTokens)
{
    for (const char* bad : {"H4", "A", "A9", "A4*", "A4*0", "A4*65", "A4*2x", "A#b4", "*4", "-*-1"})
        EXPECT_THROW(SoundGen::ParseNotes(bad, 0.0), std::invalid_argument) << bad;
}

TEST(Generation, IsTheSameEveryRun)
{
    // Every file is rebuilt with each change of the generator; the same
    // input must give the same bytes, so no sound may draw on shared state.
    for (const SoundGen::SoundFile& file : SoundGen::Catalogue()) {
        if (file.path.find("/Sfx/") == std::string::npos)
            continue;
        const StereoBuffer first = SoundGen::Render(file);
        const StereoBuffer second = SoundGen::Render(file);
        EXPECT_EQ(first.Left(), second.Left()) << file.path;
        EXPECT_EQ(first.Right(), second.Right()) << file.path;
    }
}

TEST(Generation, NoiseSpansItsRangeWhateverTheSeed)
{
    SoundGen::Noise noise(7);
    SoundGen::Noise zero(0); // a zero seed would stick at zero for ever
    float lowest = 1.0f;
    float highest = -1.0f;
    bool moved = false;
    for (int i = 0; i < 10000; ++i) {
        const float value = noise.Next();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        moved = moved || zero.Next() != 0.0f;
    }
    EXPECT_TRUE(lowest >= -1.0f && lowest < -0.99f);
    EXPECT_TRUE(highest < 1.0f && highest > 0.99f);
    EXPECT_TRUE(moved);
}

} // namespace
