#pragma once
#include "tools/sounds/StereoBuffer.h"

#include <cstdint>

namespace SoundGen {

struct StereoVoice {
    Mono left;
    Mono right;
};

// Pitched voices for the music and the effects. `gate` is how long the note
// is held; every voice returns its whole sound, release included.

// Short plucked synth note, bright at the attack and darkening.
Mono Pluck(double frequency, double gate, float brightness);
// Wide, slow-breathing chord tone of detuned saws.
StereoVoice Pad(double frequency, double gate, std::uint32_t seed);
// Round bass with a little bite.
Mono Bass(double frequency, double gate);
// Singing lead with delayed vibrato.
Mono Lead(double frequency, double gate);
// Frequency-modulated bell or chime; `ratio` 3.5 rings like metal, 2 like glass.
Mono Bell(double frequency, double seconds, double ratio, double brightness);
// Growling bass whose filter opens and closes `wobbleHz` times a second,
// starting at `wobblePhase` of a cycle so the wobble stays on the beat
// across notes.
Mono Wobble(double frequency, double gate, double wobbleHz, double wobblePhase);
// A burst of noise in a band round `centre`, struck and dying away over
// `decay` seconds; a higher `resonance` narrows the band.
Mono NoiseHit(std::uint32_t seed, double centre, double resonance, double attack, double decay, double seconds);
// Noise swept upwards over `seconds`, swelling towards its end.
Mono Riser(double seconds, std::uint32_t seed);

} // namespace SoundGen
