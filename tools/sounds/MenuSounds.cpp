#include "tools/sounds/Effects.h"
#include "tools/sounds/Envelope.h"
#include "tools/sounds/Filter.h"
#include "tools/sounds/Instruments.h"
#include "tools/sounds/Noise.h"
#include "tools/sounds/Oscillator.h"
#include "tools/sounds/SoundEffects.h"

#include <cmath>

namespace SoundGen {
namespace {

// A sine blip whose pitch falls from `from` to `to` as it dies away.
Mono Blip(double from, double to, double decay, double seconds)
{
    Mono out(SecondsToFrames(seconds));
    Oscillator tone;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double pitch = to + (from - to) * std::exp(-t / (decay * 0.5));
        out[i] = tone.Next(Wave::Sine, pitch, kSampleRate) * static_cast<float>(Strike(t, 0.0015, decay));
    }
    FadeTail(out, seconds * 0.3);
    return out;
}

} // namespace

StereoBuffer HoverTick()
{
    StereoBuffer out(SecondsToFrames(0.09), false);
    out.Add(0, Blip(2600.0, 2200.0, 0.012, 0.09), 0.5f, 0.0f);
    out.Add(0, Blip(1320.0, 1300.0, 0.02, 0.09), 0.25f, 0.0f);
    out.Add(0, NoiseHit(0x7A11, 5500.0, 0.5, 0.0005, 0.003, 0.02), 0.3f, 0.0f);
    return out;
}

StereoBuffer MenuClick()
{
    StereoBuffer out(SecondsToFrames(0.3), false);
    out.Add(0, Blip(700.0, 320.0, 0.03, 0.12), 0.7f, 0.0f);
    out.Add(0, NoiseHit(0xC11C, 2500.0, 0.5, 0.0005, 0.006, 0.05), 0.5f, 0.0f);
    out.Add(SecondsToFrames(0.035), Bell(1046.5, 0.22, 2.0, 1.5), 0.35f, -0.1f);
    out.Add(SecondsToFrames(0.075), Bell(1568.0, 0.22, 2.0, 1.5), 0.3f, 0.1f);
    AddReverb(out, 0.15f, 0.3f, 0.5f);
    return out;
}

// The bar fills for 2.9 s: a glide up two octaves with sparkles speeding
// up, landing on a bright chord just as the bar is full.
StereoBuffer LoadingRise()
{
    const double length = 3.1;
    const double rise = 2.9;
    StereoBuffer out(SecondsToFrames(length), false);
    Mono glide(out.Frames());
    Oscillator sawA;
    Oscillator sawB(0.4);
    Oscillator vibrato;
    Svf filter;
    for (std::size_t i = 0; i < glide.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double progress = std::min(t / rise, 1.0);
        const double pitch = 220.0 * std::pow(4.0, progress) * (1.0 + 0.004 * vibrato.Next(Wave::Sine, 6.0, kSampleRate));
        const float raw = 0.5f * sawA.Next(Wave::Saw, pitch, kSampleRate) + 0.5f * sawB.Next(Wave::Saw, pitch * 1.006, kSampleRate);
        const double level = std::min(t / 0.15, 1.0) * (0.5 + 0.5 * progress) * std::clamp((length - t) / 0.2, 0.0, 1.0);
        glide[i] = filter.Next(raw, 400.0 + 3500.0 * progress, 0.3, kSampleRate).low * static_cast<float>(level);
    }
    out.Add(0, glide, 0.45f, 0.0f);

    // Sparkles up a pentatonic scale, closer together as the bar fills.
    const int scale[] = {0, 2, 4, 7, 9};
    double t = 0.1;
    for (int step = 0; t < rise - 0.05; ++step) {
        const int note = 69 + scale[step % 5] + 12 * (step / 5);
        out.Add(SecondsToFrames(t), Bell(MidiToFrequency(note), 0.4, 2.0, 1.2), 0.16f, (step % 2 ? 0.4f : -0.4f));
        t += 0.28 - 0.17 * (t / rise);
    }
    for (const int note : {81, 85, 88, 93})
        out.Add(SecondsToFrames(rise), Bell(MidiToFrequency(note), 0.2, 2.0, 0.8), 0.2f, 0.0f);
    AddEcho(out, 0.16, 0.35f, 0.25f);
    AddReverb(out, 0.3f, 0.6f, 0.4f);
    return out;
}

} // namespace SoundGen
