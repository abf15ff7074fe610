#pragma once
#include <cmath>
#include <cstddef>
#include <numbers>

namespace SoundGen {

enum class Wave { Sine, Triangle, Saw, Square };

// Smooths the jump of a saw or square edge over one sample; without it the
// high notes alias into a metallic whine.
inline double PolyBlep(double t, double dt)
{
    if (dt <= 0.0)
        return 0.0;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A free-running oscillator whose frequency may change every sample.
class Oscillator {
public:
    explicit Oscillator(double startPhase = 0.0) : mPhase(startPhase - std::floor(startPhase)) {}

    float Next(Wave wave, double frequency, double sampleRate)
    {
        const double dt = std::fabs(frequency) / sampleRate;
        const double value = Value(wave, dt);
        mPhase += frequency / sampleRate;
        mPhase -= std::floor(mPhase);
        return static_cast<float>(value);
    }
    // Sine with its phase pushed by `offset` cycles (frequency modulation).
    float NextSine(double frequency, double sampleRate, double offset)
    {
        const double value = std::sin(2.0 * std::numbers::pi * (mPhase + offset));
        mPhase += frequency / sampleRate;
        mPhase -= std::floor(mPhase);
        return static_cast<float>(value);
    }
    double Phase() const { return mPhase; }

private:
    double Value(Wave wave, double dt) const
    {
        switch (wave) {
        case Wave::Sine:
            return std::sin(2.0 * std::numbers::pi * mPhase);
        case Wave::Triangle:
            return 1.0 - 4.0 * std::fabs(mPhase - 0.5);
        case Wave::Saw:
            return 2.0 * mPhase - 1.0 - PolyBlep(mPhase, dt);
        case Wave::Square: {
            const double half = mPhase + 0.5 - std::floor(mPhase + 0.5);
            return (mPhase < 0.5 ? 1.0 : -1.0) + PolyBlep(mPhase, dt) - PolyBlep(half, dt);
        }
        }
        return 0.0;
    }

    double mPhase;
};

// The frequency nearest to `frequency` that fits a whole number of cycles
// (at least one) into `frames`: a steady tone at that pitch ends exactly
// where it starts, so a loop built from it joins without a step.
double LoopFrequency(double frequency, std::size_t frames, double sampleRate);

double MidiToFrequency(double note);

} // namespace SoundGen
