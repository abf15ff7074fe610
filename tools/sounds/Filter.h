#pragma once

namespace SoundGen {

// Two-pole state-variable filter (trapezoidal form): stays stable while its
// cutoff sweeps every sample, which the wobble bass and whooshes rely on.
class Svf {
public:
    struct Out {
        float low;
        float band;
        float high;
    };

    // `resonance` from 0 (gentle) towards 1 (ringing).
    Out Next(float input, double cutoff, double resonance, double sampleRate);

private:
    double mIc1 = 0.0;
    double mIc2 = 0.0;
};

// One-pole smoother; `High` keeps what the smoother removes.
class OnePole {
public:
    float Low(float input, double cutoff, double sampleRate);
    float High(float input, double cutoff, double sampleRate) { return input - Low(input, cutoff, sampleRate); }

private:
    double mState = 0.0;
};

} // namespace SoundGen
