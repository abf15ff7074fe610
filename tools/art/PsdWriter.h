#pragma once
// Photoshop document, in the smallest form that Photoshop and stb_image read.
// Every number is big-endian.
//
//   offset  size  field
//        0     4  signature "8BPS"
//        4     2  version = 1
//        6     6  reserved, zero
//       12     2  channels = 4 (R, G, B, A)
//       14     4  rows (height), 1 .. 30000
//       18     4  columns (width), 1 .. 30000
//       22     2  depth = 8 bits per channel
//       24     2  colour mode = 3 (RGB)
//       26     4  colour mode data length = 0
//       30     4  image resources length = 0
//       34     4  layer and mask information length = 0
//       38     2  merged image compression = 0 (raw)
//       40        four planes R, G, B, A of rows x columns bytes, top row first
//
// The merged image holds colours composited over white, as Photoshop keeps
// them; readers undo that matte from the alpha plane.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace Art {

constexpr int kPsdMaxSide = 30000;

// The document for a picture of 8-bit RGBA pixels, top row first. Throws
// std::invalid_argument for a size outside 1..kPsdMaxSide or too few pixels.
std::vector<std::uint8_t> EncodePsd(int width, int height, const std::vector<std::uint8_t>& rgba);

// The colour byte to store for `colour` at `alpha` so that a reader that
// removes the white matte gets `colour` back as nearly as bytes allow.
std::uint8_t MatteOverWhite(std::uint8_t colour, std::uint8_t alpha);

} // namespace Art
