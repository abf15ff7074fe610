#pragma once
#include "tools/sounds/Song.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace SoundGen {

// A chord: its bass note and three tones for pads and arpeggios (MIDI numbers).
struct Chord {
    int bass;
    std::array<int, 3> tones;
};

// One pad chord per bar, starting at `firstBar`, cycling through `chords`.
void PadBars(Song& song, const std::vector<Chord>& chords, int firstBar, int bars, float gain);
// Plucked arpeggio over each bar's chord; `order` indexes the chord tones
// (0..2, +3 for an octave up) one step of `stepBeats` at a time.
void ArpeggioBars(Song& song, const std::vector<Chord>& chords, int firstBar, int bars, std::string_view order,
    double stepBeats, float brightness, float gain);
// A written line played on the lead voice.
void LeadLine(Song& song, std::string_view line, double startBeat, float gain, int transpose = 0);
// Bass notes per bar from `pattern` (one character per step: 'R' root, 'O' octave up, '.' rest).
void BassBars(Song& song, const std::vector<Chord>& chords, int firstBar, int bars, std::string_view pattern,
    double stepBeats, float gain);
// Pumps the buffer down at each beat and lets it swell back, the way a
// kick compresses a dance mix. Whole beats fit the loop, so the pump wraps.
void DuckOnBeats(StereoBuffer& buffer, double beatSeconds, float depth);

} // namespace SoundGen
