#include "tools/sounds/Song.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

namespace SoundGen {
namespace {

constexpr double kStepBeats = 0.25;
constexpr int kMaxSteps = 64;

int Semitone(char letter)
{
    switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
    }
}

[[noreturn]] void Bad(std::string_view token)
{
    throw std::invalid_argument("bad note '" + std::string(token) + "'");
}

// Parses "C#4" or "-" (a rest, returned as -1).
int ParsePitch(std::string_view name, std::string_view token)
{
    if (name == "-")
        return -1;
    if (name.empty() || Semitone(name[0]) < 0)
        Bad(token);
    int pitch = Semitone(name[0]);
    std::size_t at = 1;
    if (at < name.size() && (name[at] == '#' || name[at] == 'b'))
        pitch += name[at++] == '#' ? 1 : -1;
    if (name.size() != at + 1 || name[at] < '0' || name[at] > '8')
        Bad(token);
    return pitch + 12 * (name[at] - '0' + 1);
}

int ParseSteps(std::string_view count, std::string_view token)
{
    int steps = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), steps);
    if (error != std::errc() || end != count.data() + count.size() || steps < 1 || steps > kMaxSteps)
        Bad(token);
    return steps;
}

} // namespace

std::vector<Note> ParseNotes(std::string_view line, double startBeat)
{
    std::vector<Note> notes;
    double beat = startBeat;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(line.find(' ', at), line.size());
        const std::string_view token = line.substr(at, end - at);
        at = end;
        const std::size_t star = token.find('*');
        const int pitch = ParsePitch(token.substr(0, star), token);
        const int steps = star == std::string_view::npos ? 1 : ParseSteps(token.substr(star + 1), token);
        if (pitch >= 0)
            notes.push_back({beat, steps * kStepBeats, pitch});
        beat += steps * kStepBeats;
    }
    return notes;
}

std::size_t Song::At(double beat) const
{
    return SecondsToFrames(beat * BeatSeconds());
}

void Song::Place(double beat, const Mono& voice, float gain, float pan)
{
    mOut.Add(At(beat), voice, gain, pan);
}

void Song::Place(double beat, const StereoVoice& voice, float gain)
{
    mOut.AddStereo(At(beat), voice.left, voice.right, gain);
}

void Song::Pattern(double startBeat, std::string_view steps, double stepBeats, const Mono& hit, float gain, float pan)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const char step = steps[i];
        const float level = step == 'X' ? 1.0f : step == 'x' ? 0.7f : step == 'o' ? 0.4f : 0.0f;
        if (level > 0.0f)
            Place(startBeat + static_cast<double>(i) * stepBeats, hit, gain * level, pan);
    }
}

} // namespace SoundGen
