#pragma once
#include "tools/sounds/StereoBuffer.h"

#include <string>
#include <vector>

namespace SoundGen {

// One file the game loads, and how to make it.
struct SoundFile {
    std::string path; // relative to the data folder's parent, e.g. "data/Sounds/Sfx/..."
    StereoBuffer (*make)();
    float peak;       // loudness of the finished file, as a fraction of full scale
};

const std::vector<SoundFile>& Catalogue();

// Makes the sound and levels it, ready to be written.
StereoBuffer Render(const SoundFile& file);

} // namespace SoundGen
