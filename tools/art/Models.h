#pragma once
#include <functional>
#include <string>
#include <vector>

namespace Art {

// One model file to write: its path under data/Model/ and its text.
struct ModelJob {
    std::string path;
    std::function<std::string()> write;
};

// The default shapes, the player, the balls and the animated sample. Every
// model fits the cube -1..1, the size the collision shapes assume.
std::vector<ModelJob> ModelFiles();

} // namespace Art
