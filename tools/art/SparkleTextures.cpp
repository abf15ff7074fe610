#include <cmath>
#include <glm/gtc/constants.hpp>
#include <string>

#include "tools/art/Noise.h"
#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/TextureJob.h"

namespace Art {
namespace {

using glm::vec2;

constexpr int kFrames = 26;
constexpr int kStars = 16;
constexpr int kSparkleWidth = 256; // 4:3, as the medal it plays over
constexpr int kSparkleHeight = 192;
const Colour kSparkle(1.0f, 0.95f, 0.75f, 1.0f);

// One frame of the burst: a flash, a ring running outwards, and stars that
// twinkle in and out at fixed, scattered places and times.
Canvas SparkleFrame(int frame)
{
    Canvas canvas(kSparkleWidth, kSparkleHeight);
    const float t = static_cast<float>(frame) / (kFrames - 1);
    const vec2 c(kSparkleWidth * 0.5f, kSparkleHeight * 0.5f);

    if (t < 0.3f) {
        const float flash = 1.0f - t / 0.3f;
        Glow(canvas, WholeOf(canvas), [&](vec2 p) { return Shape::Circle(p, c, 6.0f + 30.0f * flash); }, Colour(glm::vec3(kSparkle), flash * 0.9f), 40.0f);
    }
    const float ringRadius = 16.0f + 110.0f * std::sqrt(t);
    const float ringFade = std::pow(1.0f - t, 1.5f);
    Glow(canvas, WholeOf(canvas), [&](vec2 p) { return Shape::Ring(p, c, ringRadius, 1.5f + 3.0f * (1.0f - t)); }, Colour(glm::vec3(kSparkle), 0.8f * ringFade), 6.0f);

    for (int i = 0; i < kStars; ++i) {
        const float birth = Noise::Hash01(i, 1, 77) * 0.7f;
        const float life = 0.25f + Noise::Hash01(i, 2, 77) * 0.2f;
        const float age = (t - birth) / life;
        if (age <= 0.0f || age >= 1.0f)
            continue;
        const float angle = Noise::Hash01(i, 3, 77) * 2.0f * glm::pi<float>();
        const float reach = 0.25f + 0.75f * Noise::Hash01(i, 4, 77);
        const vec2 at = c + vec2(std::cos(angle) * 110.0f, std::sin(angle) * 80.0f) * reach;
        const float size = (8.0f + 16.0f * Noise::Hash01(i, 5, 77)) * std::sin(glm::pi<float>() * age);
        const std::vector<vec2> star = Shape::StarCorners(at, size, size * 0.22f, 4, angle * 0.2f);
        const PixelBox box = Around(at, vec2(size + 8.0f));
        Glow(canvas, box, [&](vec2 p) { return Shape::Circle(p, at, size * 0.15f); }, Colour(glm::vec3(kSparkle), 0.5f * std::sin(glm::pi<float>() * age)), size * 0.6f + 2.0f);
        Fill(canvas, box, [&](vec2 p) { return Shape::Polygon(p, star); }, Colour(1.0f, 1.0f, 1.0f, std::sin(glm::pi<float>() * age)));
    }
    canvas.BleedIntoTransparent(4);
    return canvas;
}

} // namespace

std::vector<TextureJob> SparkleTextures()
{
    std::vector<TextureJob> jobs;
    for (int n = 0; n < kFrames; ++n)
        jobs.push_back({ "Brilli/Brilli_" + std::to_string(n) + ".png", [n](const Typeface&) { return SparkleFrame(n); } });
    return jobs;
}

} // namespace Art
