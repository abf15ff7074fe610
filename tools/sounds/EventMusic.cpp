#include "tools/sounds/Drums.h"
#include "tools/sounds/Effects.h"
#include "tools/sounds/Instruments.h"
#include "tools/sounds/Music.h"
#include "tools/sounds/MusicParts.h"
#include "tools/sounds/Oscillator.h"

#include <cmath>

namespace SoundGen {
namespace {

constexpr double kEventBpm = 140.0;
constexpr int kBuildBars = 2;
constexpr int kDropBars = 12;
constexpr int kOutroBars = 2;
constexpr double kTailSeconds = 2.5;

double EventBeatSeconds() { return 60.0 / kEventBpm; }

// F minor: the wobble's two-bar riff, as (note, beats, wobbles per beat).
struct WobbleNote {
    int midi;
    double beats;
    double perBeat;
};

constexpr WobbleNote kRiff[] = {
    {41, 2.0, 1.0}, {41, 1.0, 2.0}, {44, 1.0, 3.0},
    {39, 2.0, 2.0}, {37, 1.0, 4.0}, {39, 1.0, 1.5},
};

// Stab chords on the off-beats of the drop: Fm, Db, Eb, Cm.
const std::vector<Chord>& StabChords()
{
    static const std::vector<Chord> chords = {
        {41, {65, 68, 72}},
        {37, {65, 68, 73}},
        {39, {67, 70, 75}},
        {36, {67, 70, 72}},
    };
    return chords;
}

void WobbleRiff(Song& song, int firstBar, int bars)
{
    double beat = firstBar * 4.0;
    const double end = (firstBar + bars) * 4.0;
    for (std::size_t i = 0; beat < end; i = (i + 1) % std::size(kRiff)) {
        const WobbleNote& note = kRiff[i];
        const double hz = note.perBeat / EventBeatSeconds();
        // Phase taken from the song clock keeps every wobble on the grid.
        const double phase = std::fmod(hz * beat * EventBeatSeconds(), 1.0);
        song.Place(beat, Wobble(MidiToFrequency(note.midi), note.beats * EventBeatSeconds() * 0.97, hz, phase), 0.42f);
        beat += note.beats;
    }
}

void Stabs(Song& song, int firstBar, int bars)
{
    for (int bar = firstBar; bar < firstBar + bars; ++bar) {
        const Chord& chord = StabChords()[static_cast<std::size_t>(bar / 2) % StabChords().size()];
        for (const double offbeat : {1.5, 3.5})
            for (const int tone : chord.tones)
                song.Place(bar * 4.0 + offbeat, Pluck(MidiToFrequency(tone), 0.12, 0.9f), 0.06f, tone % 2 ? 0.4f : -0.4f);
    }
}

} // namespace

// Two bars of build, a half-time wobble drop, two bars of pads to hand
// back to the match music.
StereoBuffer EventTrack()
{
    const int bars = kBuildBars + kDropBars + kOutroBars;
    const std::size_t frames = SecondsToFrames(bars * 4 * EventBeatSeconds() + kTailSeconds);
    StereoBuffer dry(frames, false);
    StereoBuffer wet(frames, false);
    Song beat(kEventBpm, dry);
    Song music(kEventBpm, wet);
    const Mono kick = Kick(1.2);
    const Mono snare = Snare(0xD5);
    const Mono clap = Clap(0xD6);
    const Mono hat = HiHat(0xD7, false);
    const Mono crash = Crash(0xD8);

    beat.Place(0.0, Riser(kBuildBars * 4 * EventBeatSeconds(), 0xD9), 0.4f);
    beat.Pattern(0.0, "x...x...x...x...x.x.x.x.xxxxXXXX", 0.25, snare, 0.25f);
    PadBars(music, StabChords(), 0, kBuildBars, 0.12f);

    const int drop = kBuildBars;
    beat.Place(drop * 4.0, crash, 0.3f);
    WobbleRiff(beat, drop, kDropBars);
    Stabs(music, drop, kDropBars);
    for (int bar = drop; bar < drop + kDropBars; ++bar) {
        const double start = bar * 4.0;
        beat.Pattern(start, "X.........X.....", 0.25, kick, 0.6f);
        beat.Pattern(start, "........X.......", 0.25, snare, 0.4f);
        beat.Pattern(start, "........X.......", 0.25, clap, 0.2f);
        beat.Pattern(start, bar % 2 ? "x.x.x.x.x.xxx.x." : "x.x.x.x.x.x.x.x.", 0.25, hat, 0.14f, 0.3f);
        if (bar % 4 == 3)
            beat.Pattern(start, "............xxXX", 0.25, snare, 0.2f);
    }

    const int outro = drop + kDropBars;
    beat.Place(outro * 4.0, crash, 0.3f);
    beat.Place(outro * 4.0, kick, 0.6f);
    PadBars(music, StabChords(), outro, kOutroBars, 0.16f);
    LeadLine(music, "F5*8 Eb5*8 C5*16", outro * 4.0, 0.08f);

    AddEcho(wet, 0.75 * EventBeatSeconds(), 0.4f, 0.3f);
    AddReverb(wet, 0.3f, 0.8f, 0.4f);
    dry.AddBuffer(0, wet, 1.0f);
    SoftClip(dry, 1.5f);
    return dry;
}

} // namespace SoundGen
