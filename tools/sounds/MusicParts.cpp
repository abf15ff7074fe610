#include "tools/sounds/MusicParts.h"

#include "tools/sounds/Instruments.h"
#include "tools/sounds/Oscillator.h"

#include <algorithm>
#include <cmath>

namespace SoundGen {
namespace {

constexpr int kBeatsPerBar = 4;

const Chord& ChordOfBar(const std::vector<Chord>& chords, int bar)
{
    return chords[static_cast<std::size_t>(bar) % chords.size()];
}

} // namespace

void PadBars(Song& song, const std::vector<Chord>& chords, int firstBar, int bars, float gain)
{
    const double gate = kBeatsPerBar * song.BeatSeconds();
    for (int bar = firstBar; bar < firstBar + bars; ++bar) {
        const Chord& chord = ChordOfBar(chords, bar);
        for (std::size_t i = 0; i < chord.tones.size(); ++i) {
            const auto seed = static_cast<std::uint32_t>(0xBAD0 + bar * 7 + i);
            song.Place(bar * kBeatsPerBar, Pad(MidiToFrequency(chord.tones[i]), gate, seed), gain);
        }
    }
}

void ArpeggioBars(Song& song, const std::vector<Chord>& chords, int firstBar, int bars, std::string_view order,
    double stepBeats, float brightness, float gain)
{
    const double gate = stepBeats * song.BeatSeconds() * 0.8;
    const auto stepsPerBar = static_cast<int>(std::lround(kBeatsPerBar / stepBeats));
    for (int bar = firstBar; bar < firstBar + bars; ++bar) {
        const Chord& chord = ChordOfBar(chords, bar);
        for (int step = 0; step < stepsPerBar && !order.empty(); ++step) {
            const int index = order[static_cast<std::size_t>(step) % order.size()] - '0';
            if (index < 0 || index > 5)
                continue;
            const int note = chord.tones[static_cast<std::size_t>(index % 3)] + 12 * (index / 3);
            const float pan = step % 2 ? 0.35f : -0.35f;
            song.Place(bar * kBeatsPerBar + step * stepBeats, Pluck(MidiToFrequency(note), gate, brightness), gain, pan);
        }
    }
}

void LeadLine(Song& song, std::string_view line, double startBeat, float gain, int transpose)
{
    for (const Note& note : ParseNotes(line, startBeat)) {
        const double gate = note.beats * song.BeatSeconds() * 0.92;
        song.Place(note.beat, Lead(MidiToFrequency(note.midi + transpose), gate), gain, 0.1f);
    }
}

void BassBars(Song& song, const std::vector<Chord>& chords, int firstBar, int bars, std::string_view pattern,
    double stepBeats, float gain)
{
    const double gate = stepBeats * song.BeatSeconds() * 0.7;
    for (int bar = firstBar; bar < firstBar + bars; ++bar) {
        const Chord& chord = ChordOfBar(chords, bar);
        for (std::size_t step = 0; step < pattern.size(); ++step) {
            if (pattern[step] != 'R' && pattern[step] != 'O')
                continue;
            const int note = chord.bass + (pattern[step] == 'O' ? 12 : 0);
            song.Place(bar * kBeatsPerBar + static_cast<double>(step) * stepBeats, Bass(MidiToFrequency(note), gate), gain);
        }
    }
}

void DuckOnBeats(StereoBuffer& buffer, double beatSeconds, float depth)
{
    constexpr double kAttack = 0.006;
    constexpr double kRecovery = 0.09;
    for (std::size_t i = 0; i < buffer.Frames(); ++i) {
        const double t = FramesToSeconds(i);
        const double sinceBeat = std::fmod(t, beatSeconds);
        const double press = std::min(sinceBeat / kAttack, 1.0) * std::exp(-sinceBeat / kRecovery);
        const auto gain = static_cast<float>(1.0 - depth * press);
        buffer.Left()[i] *= gain;
        buffer.Right()[i] *= gain;
    }
}

} // namespace SoundGen
