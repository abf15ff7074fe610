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

double Cycle(double hz, double t) { return std::sin(2.0 * std::numbers::pi * hz * t); }

// Noise that wobbles slowly, scaled to a unit average level: the uneven
// pressure of stone on stone.
Mono Roughness(std::uint32_t seed, std::size_t frames, double rate)
{
    Mono out(frames);
    Noise noise(seed);
    OnePole first;
    OnePole second;
    double power = 0.0;
    for (float& sample : out) {
        sample = second.Low(first.Low(noise.Next(), rate, kSampleRate), rate, kSampleRate);
        power += static_cast<double>(sample) * sample;
    }
    const double rms = std::sqrt(power / static_cast<double>(std::max<std::size_t>(frames, 1)));
    for (float& sample : out)
        sample = rms > 0.0 ? static_cast<float>(sample / rms) : 0.0f;
    return out;
}

} // namespace

StereoBuffer TileGrind()
{
    const double length = 0.6;
    StereoBuffer out(SecondsToFrames(length), false);
    const std::size_t frames = out.Frames();
    const Mono rough = Roughness(0x6121, frames, 40.0);
    Noise noise(0x6122);
    Svf stone;
    Svf grit;
    Oscillator rumble;
    Mono grind(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = FramesToSeconds(i);
        const double level = std::min(t / 0.03, 1.0) * std::clamp((length - t) / 0.2, 0.0, 1.0);
        const float pressure = 0.25f + 0.75f * std::fabs(rough[i]);
        const float source = noise.Next();
        const float body = stone.Next(source, 420.0, 0.35, kSampleRate).low;
        const float scrape = grit.Next(source, 1400.0 + 300.0 * Cycle(7.0, t), 0.5, kSampleRate).band;
        const float hum = rumble.Next(Wave::Triangle, 52.0 + 8.0 * rough[i], kSampleRate);
        grind[i] = static_cast<float>(level) * (pressure * (2.0f * body + 0.8f * scrape) + 0.08f * pressure * hum);
    }
    out.Add(0, grind, 1.0f, 0.0f);
    AddReverb(out, 0.12f, 0.3f, 0.6f);
    return out;
}

// The forcefield: a chord of low tones that beat slowly against each other,
// a pulse, and a faint sizzle. Every tone fits whole cycles into the loop.
StereoBuffer ShieldHum()
{
    StereoBuffer out(SecondsToFrames(2.0), true);
    const std::size_t frames = out.Frames();
    const double base = LoopFrequency(110.0, frames, kSampleRate);
    const double beating = LoopFrequency(110.5, frames, kSampleRate);
    const double fifth = LoopFrequency(165.0, frames, kSampleRate);
    const double high = LoopFrequency(880.0, frames, kSampleRate);
    Oscillator sawA;
    Oscillator sawB(0.5);
    Oscillator toneFifth;
    Oscillator shimmer;
    Noise noise(0x5111);
    Mono drone(frames);
    Mono sizzle(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = FramesToSeconds(i);
        const double pulse = 0.8 + 0.2 * Cycle(4.0, t);
        const float saws = 0.5f * (sawA.Next(Wave::Saw, base, kSampleRate) + sawB.Next(Wave::Saw, beating, kSampleRate));
        const float tones = 0.5f * toneFifth.Next(Wave::Sine, fifth, kSampleRate)
            + 0.12f * shimmer.Next(Wave::Sine, high, kSampleRate) * static_cast<float>(0.6 + 0.4 * Cycle(1.0, t));
        drone[i] = static_cast<float>(pulse) * (saws + tones);
        sizzle[i] = noise.Next() * static_cast<float>(0.5 + 0.5 * Cycle(2.0, t));
    }
    Svf warm;
    RunEffect(drone, true, [&](float& sample) { sample = warm.Next(sample, 700.0, 0.4, kSampleRate).low; });
    Svf air;
    RunEffect(sizzle, true, [&](float& sample) { sample = air.Next(sample, 6000.0, 0.3, kSampleRate).band; });
    out.Add(0, drone, 0.8f, 0.0f);
    out.Add(0, sizzle, 0.06f, 0.0f);
    AddReverb(out, 0.2f, 0.5f, 0.5f);
    return out;
}

// The stun field: a nasty buzz that trembles, with sparks crackling round it.
StereoBuffer StunBuzz()
{
    StereoBuffer out(SecondsToFrames(1.0), true);
    const std::size_t frames = out.Frames();
    const double base = LoopFrequency(98.0, frames, kSampleRate);
    Oscillator buzz;
    Oscillator whine;
    Mono body(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = FramesToSeconds(i);
        // Vibrato with whole cycles in the loop keeps the buzz's phase whole too.
        const double pitch = base * (1.0 + 0.03 * Cycle(7.0, t));
        const double tremble = 0.7 + 0.3 * Cycle(16.0, t);
        const float raw = buzz.Next(Wave::Saw, pitch, kSampleRate) + 0.08f * whine.Next(Wave::Sine, pitch * 24.0, kSampleRate);
        body[i] = std::tanh(2.5f * raw) * static_cast<float>(tremble);
    }
    Svf nasal;
    RunEffect(body, true, [&](float& sample) {
        const Svf::Out out = nasal.Next(sample, 1500.0, 0.6, kSampleRate);
        sample = 0.7f * out.band + 0.3f * out.low;
    });
    out.Add(0, body, 0.7f, 0.0f);
    Noise timing(0x5707);
    for (int i = 0; i < 22; ++i) {
        const std::size_t at = static_cast<std::size_t>(timing.Unit() * static_cast<float>(frames));
        out.Add(at, NoiseHit(0x5800u + i, 4200.0, 0.5, 0.0003, 0.006, 0.03), 0.5f + 0.4f * timing.Unit(), timing.Next() * 0.6f);
    }
    AddReverb(out, 0.15f, 0.3f, 0.5f);
    return out;
}

// A rubber ball on a hard floor: a pitched "dunk" over a low thud.
StereoBuffer BallBounce()
{
    StereoBuffer out(SecondsToFrames(0.32), false);
    Mono ball(out.Frames());
    Oscillator shell;
    Oscillator floor;
    Noise noise(0xBA11);
    OnePole slap;
    for (std::size_t i = 0; i < ball.size(); ++i) {
        const double t = FramesToSeconds(i);
        const double pitch = 170.0 + 300.0 * std::exp(-t / 0.025);
        const float ring = shell.Next(Wave::Sine, pitch, kSampleRate) * static_cast<float>(Strike(t, 0.001, 0.07));
        const float thud = floor.Next(Wave::Sine, 70.0, kSampleRate) * static_cast<float>(Strike(t, 0.002, 0.05));
        const float contact = slap.High(noise.Next(), 2000.0, kSampleRate) * static_cast<float>(std::exp(-t / 0.003));
        ball[i] = 0.7f * ring + 0.6f * thud + 0.3f * contact;
    }
    out.Add(0, ball, 1.0f, 0.0f);
    AddReverb(out, 0.1f, 0.2f, 0.5f);
    return out;
}

// A bright rising arpeggio of glass bells: the goal ball is in play.
StereoBuffer GoalChime()
{
    StereoBuffer out(SecondsToFrames(1.8), false);
    const int notes[] = {84, 88, 91, 96, 100};
    for (int i = 0; i < 5; ++i) {
        const float pan = -0.5f + 0.25f * static_cast<float>(i);
        out.Add(SecondsToFrames(0.07 * i), Bell(MidiToFrequency(notes[i]), 1.3, 2.0, 2.5), 0.35f, pan);
    }
    out.Add(0, Bell(MidiToFrequency(72), 1.6, 3.5, 1.5), 0.25f, 0.0f);
    AddEcho(out, 0.12, 0.3f, 0.25f);
    AddReverb(out, 0.3f, 0.6f, 0.3f);
    return out;
}

// Two rising alert beeps; the game repeats this through the four seconds
// before an arena event, so it reads as a countdown.
StereoBuffer EventCooldown()
{
    StereoBuffer out(SecondsToFrames(1.0), false);
    for (int i = 0; i < 2; ++i) {
        const double pitch = i == 0 ? 880.0 : 1318.5;
        Mono beep(SecondsToFrames(0.14));
        Oscillator square;
        Oscillator sine;
        Svf soft;
        for (std::size_t s = 0; s < beep.size(); ++s) {
            const double t = FramesToSeconds(s);
            const double level = std::min(t / 0.004, 1.0) * std::clamp((0.14 - t) / 0.04, 0.0, 1.0);
            const float raw = 0.4f * square.Next(Wave::Square, pitch, kSampleRate) + 0.6f * sine.Next(Wave::Sine, pitch, kSampleRate);
            beep[s] = soft.Next(raw, 3500.0, 0.2, kSampleRate).low * static_cast<float>(level);
        }
        out.Add(SecondsToFrames(0.16 * i), beep, 0.6f, 0.0f);
        out.Add(SecondsToFrames(0.16 * i), Bell(pitch * 2.0, 0.4, 2.0, 1.0), 0.15f, 0.0f);
    }
    AddEcho(out, 0.16, 0.3f, 0.2f);
    AddReverb(out, 0.2f, 0.4f, 0.4f);
    return out;
}

} // namespace SoundGen
