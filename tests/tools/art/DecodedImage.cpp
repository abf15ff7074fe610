#include "DecodedImage.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

DecodedImage Take(stbi_uc* pixels, int w, int h, int channels)
{
    DecodedImage image;
    if (pixels == nullptr) {
        image.failure = stbi_failure_reason() ? stbi_failure_reason() : "unknown";
        return image;
    }
    image.width = w;
    image.height = h;
    image.channelsInFile = channels;
    image.rgba.assign(pixels, pixels + static_cast<std::size_t>(w) * h * 4);
    stbi_image_free(pixels);
    return image;
}

} // namespace

DecodedImage DecodeFile(const std::string& path, bool flipped)
{
    stbi_set_flip_vertically_on_load(flipped ? 1 : 0);
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &channels, 4);
    return Take(pixels, w, h, channels);
}

DecodedImage DecodeMemory(const std::vector<std::uint8_t>& bytes, bool flipped)
{
    stbi_set_flip_vertically_on_load(flipped ? 1 : 0);
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    return Take(pixels, w, h, channels);
}
