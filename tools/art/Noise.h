#pragma once
#include <cstdint>

#include <glm/vec2.hpp>

// Fixed scatter and soft noise from an integer hash: every build draws the
// same pictures, and nothing here touches a global random generator.
namespace Art::Noise {

std::uint32_t Hash(std::uint32_t value);
// A value in [0, 1) for a lattice point and a seed.
float Hash01(int x, int y, int seed);
// Smooth noise in [0, 1); repeats every `period` lattice cells when period > 0.
float Value(glm::vec2 p, int seed, int period = 0);

} // namespace Art::Noise
