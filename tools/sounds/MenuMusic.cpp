#include "tools/sounds/Drums.h"
#include "tools/sounds/Effects.h"
#include "tools/sounds/Instruments.h"
#include "tools/sounds/Music.h"
#include "tools/sounds/MusicParts.h"

namespace SoundGen {
namespace {

constexpr double kBpm = 96.0;
constexpr int kMenuIntroBars = 4;
constexpr int kMenuLoopBars = 16;

// A minor: Am, F, C, G.
const std::vector<Chord>& MenuChords()
{
    static const std::vector<Chord> chords = {
        {45, {57, 60, 64}},
        {41, {57, 60, 65}},
        {48, {55, 60, 64}},
        {43, {55, 59, 62}},
    };
    return chords;
}

constexpr std::string_view kMenuArpeggio = "035432";

// Eight bars of tune, two passes of the chords.
constexpr std::string_view kTune = "A4*4 C5*4 E5*6 D5*2 "
                                   "C5*6 D5*2 C5*4 A4*4 "
                                   "G4*4 C5*4 E5*4 G5*4 "
                                   "D5*8 B4*4 -*4 "
                                   "E5*4 A5*4 G5*4 E5*4 "
                                   "F5*6 E5*2 C5*8 "
                                   "E5*4 D5*4 C5*4 G4*4 "
                                   "B4*12 -*4";

StereoBuffer Mixdown(StereoBuffer& dry, StereoBuffer& wet)
{
    AddEcho(wet, 0.75 * 60.0 / kBpm, 0.4f, 0.3f);
    AddReverb(wet, 0.35f, 0.75f, 0.45f);
    dry.AddBuffer(0, wet, 1.0f);
    SoftClip(dry, 1.2f);
    return std::move(dry);
}

} // namespace

// The menu's first bars: the chords swell in, the arpeggio brightens, and
// a rush of air lands on the loop's first beat.
StereoBuffer MenuIntro()
{
    const std::size_t frames = SecondsToFrames(kMenuIntroBars * 4 * 60.0 / kBpm);
    StereoBuffer dry(frames, false);
    StereoBuffer wet(frames, false);
    Song music(kBpm, wet);
    Song beat(kBpm, dry);
    PadBars(music, MenuChords(), 0, kMenuIntroBars, 0.16f);
    for (int bar = 0; bar < kMenuIntroBars; ++bar)
        ArpeggioBars(music, MenuChords(), bar, 1, kMenuArpeggio, 0.5, 0.15f + 0.2f * static_cast<float>(bar), 0.05f + 0.02f * static_cast<float>(bar));
    beat.Place(8.0, Riser(4.0 * 60.0 / kBpm * 2.0, 0x1A7), 0.25f);
    const Mono hat = HiHat(0x4A7, false);
    beat.Pattern(12.0, "o.o.o.o.x.x.x.xX", 0.25, hat, 0.12f, 0.2f);
    return Mixdown(dry, wet);
}

StereoBuffer MenuLoop()
{
    const std::size_t frames = SecondsToFrames(kMenuLoopBars * 4 * 60.0 / kBpm);
    StereoBuffer dry(frames, true);
    StereoBuffer wet(frames, true);
    Song music(kBpm, wet);
    Song beat(kBpm, dry);
    PadBars(music, MenuChords(), 0, kMenuLoopBars, 0.14f);
    ArpeggioBars(music, MenuChords(), 0, kMenuLoopBars, kMenuArpeggio, 0.5, 0.55f, 0.08f);
    BassBars(beat, MenuChords(), 0, kMenuLoopBars, "R.....R.R...O...", 0.25, 0.3f);
    LeadLine(music, kTune, 8 * 4.0, 0.09f);

    const Mono kick = Kick(0.8);
    const Mono snare = Snare(0x5A1);
    const Mono hat = HiHat(0x4A7, false);
    for (int bar = 0; bar < kMenuLoopBars; ++bar) {
        const double start = bar * 4.0;
        beat.Pattern(start, "X.......X..x....", 0.25, kick, 0.45f);
        beat.Pattern(start, "..x...x...x...xo", 0.25, hat, 0.12f, 0.25f);
        if (bar >= 4)
            beat.Pattern(start, "....x.......x...", 0.25, snare, 0.22f);
    }
    return Mixdown(dry, wet);
}

} // namespace SoundGen
