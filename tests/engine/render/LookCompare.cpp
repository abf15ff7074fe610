#include "LookCompare.h"

#include <cmath>
#include <iostream>
#include <limits>
#include <memory>
#include <stb_image.h>

namespace {

struct Picture {
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};
    int width = 0;
    int height = 0;
};

Picture Load(const std::string& path)
{
    Picture picture;
    int channels = 0;
    // Both pictures load the same way up, whichever way the flip flag is set.
    picture.pixels.reset(stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3));
    if (!picture.pixels)
        std::cerr << "Cannot read the picture " << path << ": " << stbi_failure_reason() << "\n";
    return picture;
}

} // namespace

double PeakSignalToNoise(const std::string& picturePath, const std::string& referencePath)
{
    const Picture picture = Load(picturePath);
    const Picture reference = Load(referencePath);
    if (!picture.pixels || !reference.pixels)
        return -1.0;
    if (picture.width != reference.width || picture.height != reference.height) {
        std::cerr << picturePath << " is " << picture.width << "x" << picture.height << ", its reference "
                  << reference.width << "x" << reference.height << "\n";
        return -1.0;
    }
    const std::size_t values = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3;
    double squares = 0.0;
    for (std::size_t i = 0; i < values; ++i) {
        const double difference = static_cast<double>(picture.pixels.get()[i]) - reference.pixels.get()[i];
        squares += difference * difference;
    }
    if (squares == 0.0)
        return std::numeric_limits<double>::infinity();
    const double meanSquare = squares / static_cast<double>(values);
    return 10.0 * std::log10(255.0 * 255.0 / meanSquare);
}
