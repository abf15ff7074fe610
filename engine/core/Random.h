#pragma once
#include <cstdint>
#include <glm/glm.hpp>

namespace Engine::Random {

// Largest value the generator returns; every range below is built on
// results 0..32767, whatever the C runtime's rand() would span.
constexpr int kGeneratorMax = 32767;

// Seeds the generator with the calendar time in seconds.
void Seed();
// Seeds with a given value (tests, replays).
void SeedWith(std::uint32_t seed);
// One raw result in 0..32767.
int Next();

// A float in [0, 1): four draws, each modulo 255, packed into 32 bits.
float Random01();
float RangeFloat(float a, float b);
glm::vec3 RangeVec3(const glm::vec3& a, const glm::vec3& b);
glm::vec4 RangeVec4(const glm::vec4& a, const glm::vec4& b);
// An integer in [a, b] for a <= b.
int RangeInt(int a, int b);

// Lets a test feed the generator's raw results. nullptr restores it.
using Source = int (*)();
void SetSource(Source source);

} // namespace Engine::Random
