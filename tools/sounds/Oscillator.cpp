#include "tools/sounds/Oscillator.h"

#include <algorithm>

namespace SoundGen {

double LoopFrequency(double frequency, std::size_t frames, double sampleRate)
{
    if (frames == 0)
        return frequency;
    const double loopSeconds = static_cast<double>(frames) / sampleRate;
    const double cycles = std::max(1.0, std::round(frequency * loopSeconds));
    return cycles / loopSeconds;
}

double MidiToFrequency(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

} // namespace SoundGen
