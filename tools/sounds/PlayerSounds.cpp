#include "tools/sounds/Effects.h"
#include "tools/sounds/Envelope.h"
#include "tools/sounds/Filter.h"
#include "tools/sounds/Instruments.h"
#include "tools/sounds/Noise.h"
#include "tools/sounds/Oscillator.h"
#include "tools/sounds/SoundEffects.h"

#include <cmath>
#include <numbers>

namespace SoundGen {
namespace {

// One foot landing: a soft heel thump and the scuff of the sole.
Mono Step(Noise& variation, std::uint32_t seed)
{
    const double tone = 1.0 + 0.15 * variation.Next();
    Mono out(SecondsToFrames(0.16));
    Oscillator heel;
    Noise grit(seed);
    Svf scuff;
    OnePole air;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double pitch = (55.0 + 50.0 * std::exp(-t / 0.015)) * tone;
        const float thump = heel.Next(Wave::Sine, pitch, kSampleRate) * static_cast<float>(Strike(t, 0.002, 0.03));
        const float noise = grit.Next();
        const float sole = scuff.Next(noise, 1700.0 * tone, 0.3, kSampleRate).band * static_cast<float>(Strike(t - 0.004, 0.003, 0.025));
        const float crunch = air.High(noise, 5000.0, kSampleRate) * static_cast<float>(Strike(t - 0.006, 0.001, 0.012));
        out[i] = thump + 0.9f * sole + 0.25f * crunch;
    }
    FadeTail(out, 0.04);
    return out;
}

// Hit tone: a square that drops an octave, rounded off by a filter.
Mono Crunch(double from, double decay, double seconds)
{
    Mono out(SecondsToFrames(seconds));
    Oscillator tone;
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double pitch = from * (0.5 + 0.5 * std::exp(-t / 0.05));
        const float raw = tone.Next(Wave::Square, pitch, kSampleRate);
        out[i] = filter.Next(raw, 1800.0, 0.3, kSampleRate).low * static_cast<float>(Strike(t, 0.001, decay));
    }
    FadeTail(out, seconds * 0.3);
    return out;
}

} // namespace

// Four running steps, alternating feet; the last step's ring carries over
// into the first so the loop never clicks.
StereoBuffer Footsteps()
{
    constexpr int kSteps = 4;
    constexpr double kStride = 0.3;
    StereoBuffer out(SecondsToFrames(kSteps * kStride), true);
    Noise variation(0xF007);
    for (int i = 0; i < kSteps; ++i) {
        const float gain = 0.85f + 0.15f * variation.Unit();
        const double lateness = 0.008 * variation.Unit();
        out.Add(SecondsToFrames(i * kStride + lateness), Step(variation, 0x57E9u + i), gain, i % 2 ? 0.12f : -0.12f);
    }
    return out;
}

// Two falling "nope" blips: the bar is empty.
StereoBuffer OutOfEnergy()
{
    StereoBuffer out(SecondsToFrames(0.36), false);
    out.Add(0, Crunch(330.0, 0.06, 0.16), 0.8f, 0.0f);
    out.Add(SecondsToFrames(0.13), Crunch(247.0, 0.08, 0.22), 0.8f, 0.0f);
    return out;
}

StereoBuffer PlayerHit()
{
    StereoBuffer out(SecondsToFrames(0.6), false);
    Mono thump(SecondsToFrames(0.35));
    Oscillator body;
    for (std::size_t i = 0; i < thump.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double pitch = 60.0 + 140.0 * std::exp(-t / 0.03);
        thump[i] = std::tanh(2.0f * body.Next(Wave::Sine, pitch, kSampleRate)) * static_cast<float>(Strike(t, 0.001, 0.09));
    }
    FadeTail(thump, 0.1);
    out.Add(0, thump, 0.9f, 0.0f);
    out.Add(0, NoiseHit(0x417, 2600.0, 0.3, 0.0008, 0.035, 0.2), 0.9f, 0.0f);
    out.Add(SecondsToFrames(0.004), Crunch(160.0, 0.12, 0.4), 0.5f, 0.0f);
    AddReverb(out, 0.2f, 0.35f, 0.5f);
    return out;
}

// A whoosh that sweeps up through the air while a tone glides after it.
StereoBuffer Teleport()
{
    const double length = 0.95;
    const double whoosh = 0.7;
    StereoBuffer out(SecondsToFrames(length), false);
    Mono air(SecondsToFrames(whoosh));
    Mono glide(SecondsToFrames(whoosh));
    Noise noise(0x7E1E);
    Svf sweep;
    Oscillator tone;
    Oscillator sparkle;
    for (std::size_t i = 0; i < air.size(); ++i) {
        const double progress = FramesToSeconds(i) / whoosh;
        const double swell = std::sin(std::numbers::pi * progress);
        air[i] = sweep.Next(noise.Next(), 350.0 * std::pow(20.0, progress), 0.65, kSampleRate).band * static_cast<float>(swell);
        const double pitch = 300.0 * std::pow(6.0, progress);
        const double mod = 0.4 * sparkle.Next(Wave::Sine, pitch * 3.0, kSampleRate);
        glide[i] = tone.NextSine(pitch, kSampleRate, mod) * static_cast<float>(swell * swell);
    }
    out.Add(0, air, 1.0f, 0.0f);
    out.Add(0, glide, 0.25f, 0.0f);
    AddEcho(out, 0.09, 0.4f, 0.35f);
    AddReverb(out, 0.25f, 0.5f, 0.3f);
    return out;
}

} // namespace SoundGen
