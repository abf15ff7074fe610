#include "tools/sounds/Drums.h"
#include "tools/sounds/Effects.h"
#include "tools/sounds/Instruments.h"
#include "tools/sounds/Music.h"
#include "tools/sounds/MusicParts.h"

namespace SoundGen {
namespace {

constexpr double kMatchBpm = 124.0;
constexpr int kIntroBars = 4;
constexpr int kLoopBars = 16;

// D minor: Dm, Bb, F, C.
const std::vector<Chord>& MatchChords()
{
    static const std::vector<Chord> chords = {
        {38, {62, 65, 69}},
        {34, {62, 65, 70}},
        {41, {60, 65, 69}},
        {36, {60, 64, 67}},
    };
    return chords;
}

constexpr std::string_view kArpeggio = "0125";
constexpr std::string_view kBassLine = "..R...R.O.R...RO";

constexpr std::string_view kTuneA = "D5*2 F5*2 A5*4 G5*2 F5*2 E5*2 F5*2 "
                                    "D5*6 F5*2 -*2 D5*2 C5*2 Bb4*2 "
                                    "C5*2 F5*2 A5*4 C6*4 A5*4 "
                                    "G5*6 E5*2 C5*4 E5*4";
constexpr std::string_view kTuneB = "A5*4 F5*2 D5*2 A5*2 G5*2 F5*4 "
                                    "F5*4 D5*4 Bb4*2 C5*2 D5*4 "
                                    "C5*4 F5*4 A5*2 G5*2 F5*4 "
                                    "E5*6 D5*2 C5*4 E5*4";

struct Kit {
    Mono kick = Kick(1.0);
    Mono clap = Clap(0xC1A9);
    Mono snare = Snare(0x5AE);
    Mono hat = HiHat(0x4A70, false);
    Mono openHat = HiHat(0x0E4, true);
    Mono crash = Crash(0xC4A5);
};

double MatchBeatSeconds() { return 60.0 / kMatchBpm; }

StereoBuffer Mixdown(StereoBuffer& drums, StereoBuffer& pumped, StereoBuffer& wet)
{
    AddEcho(wet, 0.75 * MatchBeatSeconds(), 0.35f, 0.25f);
    AddReverb(wet, 0.3f, 0.7f, 0.5f);
    pumped.AddBuffer(0, wet, 1.0f);
    DuckOnBeats(pumped, MatchBeatSeconds(), 0.45f);
    drums.AddBuffer(0, pumped, 1.0f);
    SoftClip(drums, 1.3f);
    return std::move(drums);
}

} // namespace

// Four bars of build-up while the players wait to move: the beat thickens,
// a snare roll climbs and the loop takes over on its downbeat.
StereoBuffer MatchIntro()
{
    const std::size_t frames = SecondsToFrames(kIntroBars * 4 * MatchBeatSeconds());
    StereoBuffer drums(frames, false);
    StereoBuffer pumped(frames, false);
    StereoBuffer wet(frames, false);
    Song beat(kMatchBpm, drums);
    Song bass(kMatchBpm, pumped);
    Song music(kMatchBpm, wet);
    const Kit kit;
    PadBars(music, MatchChords(), 0, kIntroBars, 0.12f);
    for (int bar = 0; bar < kIntroBars; ++bar) {
        const float bright = 0.1f + 0.25f * static_cast<float>(bar);
        ArpeggioBars(music, MatchChords(), bar, 1, kArpeggio, 0.25, bright, 0.07f);
        beat.Pattern(bar * 4.0, "X...X...X...X...", 0.25, kit.kick, 0.25f + 0.1f * static_cast<float>(bar));
        beat.Pattern(bar * 4.0, "..o...o...o...o.", 0.25, kit.hat, 0.1f, 0.2f);
    }
    BassBars(bass, MatchChords(), 2, 2, kBassLine, 0.25, 0.3f);
    beat.Pattern(8.0, "o...o...o.o.o.o.", 0.25, kit.snare, 0.18f);
    beat.Pattern(12.0, "xxxxxxxxXXXXXXXX", 0.25, kit.snare, 0.26f);
    beat.Place(8.0, Riser(8.0 * MatchBeatSeconds(), 0x7153), 0.35f);
    return Mixdown(drums, pumped, wet);
}

StereoBuffer MatchLoop()
{
    const std::size_t frames = SecondsToFrames(kLoopBars * 4 * MatchBeatSeconds());
    StereoBuffer drums(frames, true);
    StereoBuffer pumped(frames, true);
    StereoBuffer wet(frames, true);
    Song beat(kMatchBpm, drums);
    Song bass(kMatchBpm, pumped);
    Song music(kMatchBpm, wet);
    const Kit kit;
    PadBars(music, MatchChords(), 0, kLoopBars, 0.1f);
    ArpeggioBars(music, MatchChords(), 0, kLoopBars, kArpeggio, 0.25, 0.6f, 0.07f);
    BassBars(bass, MatchChords(), 0, kLoopBars, kBassLine, 0.25, 0.32f);
    LeadLine(music, kTuneA, 4 * 4.0, 0.085f);
    LeadLine(music, kTuneB, 12 * 4.0, 0.085f);

    for (int bar = 0; bar < kLoopBars; ++bar) {
        const double start = bar * 4.0;
        beat.Pattern(start, "X...X...X...X...", 0.25, kit.kick, 0.55f);
        beat.Pattern(start, "....X.......X...", 0.25, kit.clap, 0.3f);
        beat.Pattern(start, "..x...x...x...x.", 0.25, kit.hat, 0.15f, 0.25f);
        beat.Pattern(start, ".o.o.o.o.o.o.o.o", 0.25, kit.hat, 0.08f, -0.3f);
        if (bar >= 8)
            beat.Pattern(start, "..x...x...x...x.", 0.25, kit.openHat, 0.08f, 0.1f);
        if (bar % 4 == 3)
            beat.Pattern(start, "............o.xX", 0.25, kit.snare, 0.22f);
    }
    beat.Place(0.0, kit.crash, 0.2f);
    beat.Place(8 * 4.0, kit.crash, 0.2f);
    return Mixdown(drums, pumped, wet);
}

} // namespace SoundGen
