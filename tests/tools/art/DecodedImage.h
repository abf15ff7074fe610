#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A picture decoded the way the renderer decodes it: stb_image, four
// channels, flipped so that row 0 is the bottom of the picture.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    std::vector<std::uint8_t> rgba;
    std::string failure;

    const std::uint8_t* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

DecodedImage DecodeFile(const std::string& path, bool flipped = true);
DecodedImage DecodeMemory(const std::vector<std::uint8_t>& bytes, bool flipped = true);
