#include "tools/sounds/Drums.h"

#include "tools/sounds/Envelope.h"
#include "tools/sounds/Filter.h"
#include "tools/sounds/Noise.h"
#include "tools/sounds/Oscillator.h"

#include <array>
#include <cmath>

namespace SoundGen {
namespace {

// Six detuned square waves: the metallic core of a synthesised cymbal.
float MetalTone(std::array<Oscillator, 6>& squares)
{
    constexpr std::array<double, 6> kFrequencies = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    float sum = 0.0f;
    for (std::size_t i = 0; i < squares.size(); ++i)
        sum += squares[i].Next(Wave::Square, kFrequencies[i] * 1.7, kSampleRate);
    return sum / 6.0f;
}

Mono Cymbal(std::uint32_t seed, double decay, double cutoff, double length)
{
    Mono out(SecondsToFrames(length));
    Noise noise(seed);
    std::array<Oscillator, 6> squares;
    Svf band;
    OnePole dc;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const float raw = 0.55f * noise.Next() + 0.45f * MetalTone(squares);
        const float bright = band.Next(raw, cutoff, 0.25, kSampleRate).high;
        out[i] = dc.High(bright, 3000.0, kSampleRate) * static_cast<float>(Strike(t, 0.0008, decay));
    }
    FadeTail(out, length * 0.3);
    return out;
}

} // namespace

Mono Kick(double punch)
{
    Mono out(SecondsToFrames(0.45));
    Oscillator body;
    Noise click(0x51CE);
    OnePole clickTone;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double pitch = 46.0 + 120.0 * punch * std::exp(-t / 0.04);
        const float thump = body.Next(Wave::Sine, pitch, kSampleRate) * static_cast<float>(Strike(t, 0.001, 0.22));
        const float snap = clickTone.High(click.Next(), 1500.0, kSampleRate) * static_cast<float>(std::exp(-t / 0.004)) * 0.35f;
        out[i] = std::tanh(1.6f * (thump + snap));
    }
    FadeTail(out, 0.1);
    return out;
}

Mono Snare(std::uint32_t seed)
{
    Mono out(SecondsToFrames(0.35));
    Noise noise(seed);
    Oscillator low;
    Oscillator high;
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        const float tone = (0.6f * low.Next(Wave::Sine, 185.0, kSampleRate) + 0.4f * high.Next(Wave::Sine, 330.0, kSampleRate))
            * static_cast<float>(Strike(t, 0.001, 0.06));
        const Svf::Out rattle = filter.Next(noise.Next(), 3200.0, 0.2, kSampleRate);
        const float buzz = (0.7f * rattle.band + 0.5f * rattle.high) * static_cast<float>(Strike(t, 0.001, 0.13));
        out[i] = std::tanh(1.3f * (0.8f * tone + buzz));
    }
    FadeTail(out, 0.1);
    return out;
}

Mono Clap(std::uint32_t seed)
{
    Mono out(SecondsToFrames(0.4));
    Noise noise(seed);
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = FramesToSeconds(i);
        // Three hands slightly apart, then the room.
        double level = 0.0;
        for (int hand = 0; hand < 3; ++hand)
            level += Strike(t - hand * 0.011, 0.0005, 0.008);
        level += 0.6 * Strike(t - 0.03, 0.002, 0.11);
        out[i] = filter.Next(noise.Next(), 1300.0, 0.45, kSampleRate).band * static_cast<float>(level) * 1.6f;
    }
    FadeTail(out, 0.1);
    return out;
}

Mono HiHat(std::uint32_t seed, bool open)
{
    return open ? Cymbal(seed, 0.28, 8000.0, 0.9) : Cymbal(seed, 0.045, 8000.0, 0.2);
}

Mono Crash(std::uint32_t seed)
{
    return Cymbal(seed, 0.9, 5500.0, 3.0);
}

} // namespace SoundGen
