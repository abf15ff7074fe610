#include "tools/art/PsdWriter.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace Art {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, static_cast<std::uint16_t>(v >> 16));
    Put16(out, static_cast<std::uint16_t>(v));
}

// What a reader makes of stored byte s at alpha a when it removes the
// matte the way stb_image does: s / a + 255 * (1 - 1 / a), cut to an integer.
float Unmatte(int stored, std::uint8_t alpha)
{
    const float a = alpha / 255.0f;
    const float ra = 1.0f / a;
    return static_cast<float>(stored) * ra + 255.0f * (1.0f - ra);
}

} // namespace

std::uint8_t MatteOverWhite(std::uint8_t colour, std::uint8_t alpha)
{
    if (alpha == 0 || alpha == 255)
        return colour;
    const float a = alpha / 255.0f;
    const int guess = static_cast<int>(std::lround(colour * a + 255.0f * (1.0f - a)));
    // Rounding the guess can land the reader just below zero, where its
    // conversion to a byte wraps; of the neighbours pick the closest result
    // that stays in range.
    int best = 255;
    float bestError = std::numeric_limits<float>::max();
    for (int s = guess - 1; s <= guess + 1; ++s) {
        if (s < 0 || s > 255)
            continue;
        const float read = Unmatte(s, alpha);
        if (read < 0.0f || read >= 256.0f)
            continue;
        const float error = std::fabs(std::trunc(read) - colour);
        if (error < bestError) {
            bestError = error;
            best = s;
        }
    }
    return static_cast<std::uint8_t>(best);
}

std::vector<std::uint8_t> EncodePsd(int width, int height, const std::vector<std::uint8_t>& rgba)
{
    if (width < 1 || height < 1 || width > kPsdMaxSide || height > kPsdMaxSide)
        throw std::invalid_argument("a Photoshop picture is 1 to 30000 pixels a side");
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (rgba.size() < pixels * 4)
        throw std::invalid_argument("fewer RGBA bytes than the picture's size needs");

    std::vector<std::uint8_t> out;
    out.reserve(40 + pixels * 4);
    for (char c : { '8', 'B', 'P', 'S' })
        out.push_back(static_cast<std::uint8_t>(c));
    Put16(out, 1);
    out.insert(out.end(), 6, 0);
    Put16(out, 4);
    Put32(out, static_cast<std::uint32_t>(height));
    Put32(out, static_cast<std::uint32_t>(width));
    Put16(out, 8);
    Put16(out, 3);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put16(out, 0);
    for (int channel = 0; channel < 4; ++channel) {
        for (std::size_t i = 0; i < pixels; ++i) {
            const std::uint8_t value = rgba[i * 4 + channel];
            out.push_back(channel == 3 ? value : MatteOverWhite(value, rgba[i * 4 + 3]));
        }
    }
    return out;
}

} // namespace Art
