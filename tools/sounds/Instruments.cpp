#include "tools/sounds/Instruments.h"

#include "tools/sounds/Envelope.h"
#include "tools/sounds/Filter.h"
#include "tools/sounds/Noise.h"
#include "tools/sounds/Oscillator.h"

#include <cmath>
#include <numbers>

namespace SoundGen {

Mono Pluck(double frequency, double gate, float brightness)
{
    const Adsr envelope{0.002, 0.22, 0.0, 0.12};
    Mono out(SecondsToFrames(envelope.Length(gate)));
    Oscillator saw;
    Oscillator square(0.25);
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const float raw = 0.6f * saw.Next(Wave::Saw, frequency, kSampleRate) + 0.4f * square.Next(Wave::Square, frequency * 1.003, kSampleRate);
        const double cutoff = frequency * (1.5 + brightness * 14.0 * std::exp(-t / 0.07)) + 300.0;
        out[i] = filter.Next(raw, cutoff, 0.3, kSampleRate).low * static_cast<float>(envelope.At(t, gate));
    }
    return out;
}

StereoVoice Pad(double frequency, double gate, std::uint32_t seed)
{
    const Adsr envelope{0.7, 1.5, 0.75, 1.4};
    const std::size_t frames = SecondsToFrames(envelope.Length(gate));
    Noise phases(seed);
    StereoVoice out{Mono(frames), Mono(frames)};
    const double detune[3] = {0.994, 1.0, 1.007};
    for (Mono* side : {&out.left, &out.right}) {
        Oscillator voices[3] = {Oscillator(phases.Unit()), Oscillator(phases.Unit()), Oscillator(phases.Unit())};
        const double spread = side == &out.left ? 0.998 : 1.002;
        Svf filter;
        for (std::size_t i = 0; i < frames; ++i) {
            const double t = FramesToSeconds(i);
            float raw = 0.0f;
            for (int v = 0; v < 3; ++v)
                raw += voices[v].Next(Wave::Saw, frequency * detune[v] * spread, kSampleRate) / 3.0f;
            const double cutoff = 900.0 + frequency * 1.5 + 500.0 * std::sin(2.0 * std::numbers::pi * 0.3 * t);
            (*side)[i] = filter.Next(raw, cutoff, 0.15, kSampleRate).low * static_cast<float>(envelope.At(t, gate));
        }
    }
    return out;
}

Mono Bass(double frequency, double gate)
{
    const Adsr envelope{0.004, 0.18, 0.65, 0.06};
    Mono out(SecondsToFrames(envelope.Length(gate)));
    Oscillator sub;
    Oscillator saw;
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const float body = sub.Next(Wave::Sine, frequency, kSampleRate);
        const double cutoff = frequency * (2.0 + 6.0 * std::exp(-t / 0.06));
        const float bite = filter.Next(saw.Next(Wave::Saw, frequency, kSampleRate), cutoff, 0.35, kSampleRate).low;
        out[i] = std::tanh(1.4f * (body + 0.6f * bite)) * static_cast<float>(envelope.At(t, gate));
    }
    return out;
}

Mono Lead(double frequency, double gate)
{
    const Adsr envelope{0.012, 0.3, 0.7, 0.18};
    Mono out(SecondsToFrames(envelope.Length(gate)));
    Oscillator first;
    Oscillator second(0.5);
    Oscillator vibrato;
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double depth = 0.006 * std::clamp((t - 0.15) / 0.3, 0.0, 1.0);
        const double pitch = frequency * (1.0 + depth * vibrato.Next(Wave::Sine, 5.5, kSampleRate));
        const float raw = 0.5f * first.Next(Wave::Square, pitch, kSampleRate) + 0.5f * second.Next(Wave::Saw, pitch * 1.005, kSampleRate);
        const double cutoff = 1800.0 + frequency * 2.0 + 2500.0 * std::exp(-t / 0.12);
        out[i] = filter.Next(raw, cutoff, 0.2, kSampleRate).low * static_cast<float>(envelope.At(t, gate));
    }
    return out;
}

Mono Bell(double frequency, double seconds, double ratio, double brightness)
{
    Mono out(SecondsToFrames(seconds));
    Oscillator carrier;
    Oscillator modulator;
    Oscillator shimmer;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double index = brightness * std::exp(-t / 0.25);
        const double mod = index * modulator.Next(Wave::Sine, frequency * ratio, kSampleRate) / (2.0 * std::numbers::pi);
        const double body = carrier.NextSine(frequency, kSampleRate, mod);
        const double ring = 0.25 * shimmer.Next(Wave::Sine, frequency * 2.76, kSampleRate) * std::exp(-t / (seconds * 0.12));
        out[i] = static_cast<float>((body + ring) * Strike(t, 0.002, seconds * 0.3));
    }
    FadeTail(out, seconds * 0.25);
    return out;
}

Mono Wobble(double frequency, double gate, double wobbleHz, double wobblePhase)
{
    const Adsr envelope{0.006, 0.1, 1.0, 0.05};
    Mono out(SecondsToFrames(envelope.Length(gate)));
    Oscillator sawA;
    Oscillator sawB(0.3);
    Oscillator sub;
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double lfo = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (wobblePhase + wobbleHz * t));
        const double cutoff = 90.0 + 2600.0 * lfo * lfo;
        const float raw = 0.5f * sawA.Next(Wave::Saw, frequency, kSampleRate) + 0.5f * sawB.Next(Wave::Square, frequency * 1.01, kSampleRate);
        const float growl = filter.Next(raw * 1.5f, cutoff, 0.7, kSampleRate).low;
        const float body = 0.7f * sub.Next(Wave::Sine, frequency, kSampleRate);
        out[i] = std::tanh(2.2f * (growl + body)) * 0.8f * static_cast<float>(envelope.At(t, gate));
    }
    return out;
}

Mono NoiseHit(std::uint32_t seed, double centre, double resonance, double attack, double decay, double seconds)
{
    Mono out(SecondsToFrames(seconds));
    Noise noise(seed);
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float band = filter.Next(noise.Next(), centre, resonance, kSampleRate).band;
        out[i] = band * static_cast<float>(Strike(FramesToSeconds(i), attack, decay));
    }
    FadeTail(out, seconds * 0.3);
    return out;
}

Mono Riser(double seconds, std::uint32_t seed)
{
    Mono out(SecondsToFrames(seconds));
    Noise noise(seed);
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double progress = FramesToSeconds(i) / seconds;
        const double cutoff = 300.0 * std::pow(30.0, progress);
        const float swell = static_cast<float>(progress * progress);
        out[i] = filter.Next(noise.Next(), cutoff, 0.55, kSampleRate).band * swell;
    }
    FadeTail(out, 0.02);
    return out;
}

} // namespace SoundGen
