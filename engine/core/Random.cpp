#include "engine/core/Random.h"

#include <ctime>

namespace Engine::Random {
namespace {

// A 32-bit linear congruential generator whose high bits give 15-bit
// results, like the classic C runtime's. Its fixed default seed is 1.
std::uint32_t gState = 1;

int Builtin()
{
    gState = gState * 214013u + 2531011u;
    return static_cast<int>((gState >> 16) & 0x7fffu);
}

Source gSource = nullptr;

} // namespace

void Seed() { SeedWith(static_cast<std::uint32_t>(std::time(nullptr))); }

void SeedWith(std::uint32_t seed) { gState = seed; }

void SetSource(Source source) { gSource = source; }

int Next() { return gSource ? gSource() : Builtin(); }

float Random01()
{
    const std::uint32_t b0 = static_cast<std::uint32_t>(Next() % 255);
    const std::uint32_t b1 = static_cast<std::uint32_t>(Next() % 255);
    const std::uint32_t b2 = static_cast<std::uint32_t>(Next() % 255);
    const std::uint32_t b3 = static_cast<std::uint32_t>(Next() % 255);
    const std::uint32_t packed = b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
    return static_cast<float>(packed) * 2.3283064e-10f;
}

float RangeFloat(float a, float b) { return Random01() * (b - a) + a; }

// One statement per component: the draws must go x, y, z, w in that order.
glm::vec3 RangeVec3(const glm::vec3& a, const glm::vec3& b)
{
    glm::vec3 r;
    r.x = RangeFloat(a.x, b.x);
    r.y = RangeFloat(a.y, b.y);
    r.z = RangeFloat(a.z, b.z);
    return r;
}

glm::vec4 RangeVec4(const glm::vec4& a, const glm::vec4& b)
{
    glm::vec4 r;
    r.x = RangeFloat(a.x, b.x);
    r.y = RangeFloat(a.y, b.y);
    r.z = RangeFloat(a.z, b.z);
    r.w = RangeFloat(a.w, b.w);
    return r;
}

int RangeInt(int a, int b)
{
    // The span is taken in 64 bits so that wide ranges neither overflow nor
    // turn negative.
    const std::int64_t n = static_cast<std::int64_t>(b) - static_cast<std::int64_t>(a) + 1;
    const double offset = static_cast<double>(Next()) * (1.0 / 32768.0) * static_cast<double>(n);
    return static_cast<int>(static_cast<std::int64_t>(a) + static_cast<std::int64_t>(offset));
}

} // namespace Engine::Random
