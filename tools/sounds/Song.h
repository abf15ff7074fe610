#pragma once
#include "tools/sounds/Instruments.h"
#include "tools/sounds/StereoBuffer.h"

#include <string_view>
#include <vector>

namespace SoundGen {

// One note of a melody or bass line, timed in beats.
struct Note {
    double beat = 0.0;
    double beats = 0.0;
    int midi = 0;
};

// Reads a line of notes written one sixteenth step at a time:
// "A4*4 C5*2 -*2" is A4 for four steps, C5 for two, then two steps of rest.
// A name is a letter A..G, an optional '#' or 'b', and an octave 0..8; the
// count after '*' is 1..64 and may be left out (one step). Anything else
// throws std::invalid_argument naming the bad token.
std::vector<Note> ParseNotes(std::string_view line, double startBeat);

// Places sounds on a beat grid inside a buffer.
class Song {
public:
    Song(double bpm, StereoBuffer& out) : mBpm(bpm), mOut(out) {}

    double BeatSeconds() const { return 60.0 / mBpm; }
    std::size_t At(double beat) const;
    StereoBuffer& Out() { return mOut; }

    void Place(double beat, const Mono& voice, float gain, float pan = 0.0f);
    void Place(double beat, const StereoVoice& voice, float gain);
    // One hit per non-'.' step of `steps`, each step `stepBeats` long:
    // 'X' full, 'x' at 0.7, 'o' at 0.4.
    void Pattern(double startBeat, std::string_view steps, double stepBeats, const Mono& hit, float gain, float pan = 0.0f);

private:
    double mBpm;
    StereoBuffer& mOut;
};

} // namespace SoundGen
