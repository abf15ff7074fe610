#pragma once
#include <algorithm>
#include <cmath>

namespace SoundGen {

// Attack, decay to a sustain level while the note is held for `gate`
// seconds, then release. Every segment starts from where the last one is,
// so a short note released during its attack does not jump.
struct Adsr {
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 1.0;
    double release = 0.05;

    double Held(double t) const
    {
        if (t < attack)
            return t / attack;
        return sustain + (1.0 - sustain) * std::exp(-(t - attack) / std::max(decay, 1e-6));
    }
    double At(double t, double gate) const
    {
        if (t < 0.0)
            return 0.0;
        if (t < gate)
            return Held(t);
        const double fall = (t - gate) / std::max(release, 1e-6);
        return fall >= 1.0 ? 0.0 : Held(gate) * (1.0 - fall) * (1.0 - fall);
    }
    double Length(double gate) const { return gate + release; }
};

// A quick linear rise then an exponential fall: the shape of any struck sound.
inline double Strike(double t, double attack, double decay)
{
    if (t < 0.0)
        return 0.0;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

} // namespace SoundGen
