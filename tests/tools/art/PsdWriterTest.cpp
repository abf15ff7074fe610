#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

#include "DecodedImage.h"
#include "tools/art/PsdWriter.h"

namespace {

TEST(ArtPsdWriter, DecodesBackToTheSamePicture)
{
    // 3 x 2, top row: opaque red, clear, half-transparent blue; bottom row:
    // opaque white, opaque black, a faint green.
    const std::vector<std::uint8_t> rgba = { 255, 0, 0, 255, 10, 20, 30, 0, 0, 0, 255, 128, 255, 255, 255, 255, 0, 0, 0, 255, 0, 200, 0, 40 };
    const std::vector<std::uint8_t> file = Art::EncodePsd(3, 2, rgba);
    ASSERT_EQ(file.size(), 40u + 3 * 2 * 4);

    const DecodedImage image = DecodeMemory(file, false);
    ASSERT_TRUE(image.failure.empty()) << image.failure;
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.channelsInFile, 4);
    for (int i : { 0, 1, 3, 4 }) // opaque and fully clear pixels come back exactly
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(image.rgba[i * 4 + c], rgba[i * 4 + c]) << "pixel " << i << " channel " << c;
    for (int i : { 2, 5 }) {
        EXPECT_EQ(image.rgba[i * 4 + 3], rgba[i * 4 + 3]);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(image.rgba[i * 4 + c], rgba[i * 4 + c], 4) << "pixel " << i << " channel " << c;
    }
}

TEST(ArtPsdWriter, HalfTransparentColoursSurviveTheWhiteMatte)
{
    // Readers divide the matte back out; a stored byte rounded the wrong way
    // would come back below zero and wrap round to a bright colour.
    for (int alpha = 1; alpha < 255; ++alpha) {
        for (int colour : { 0, 1, 2, 64, 127, 200, 254, 255 }) {
            const std::vector<std::uint8_t> rgba = { static_cast<std::uint8_t>(colour), 0, 255, static_cast<std::uint8_t>(alpha) };
            const DecodedImage image = DecodeMemory(Art::EncodePsd(1, 1, rgba), false);
            ASSERT_TRUE(image.failure.empty());
            // One stored step moves the result by 255 / alpha.
            const int tolerance = 255 / alpha + 1;
            ASSERT_LE(std::abs(image.rgba[0] - colour), tolerance) << "colour " << colour << " alpha " << alpha;
            ASSERT_LE(image.rgba[1], tolerance) << "alpha " << alpha;
            ASSERT_GE(image.rgba[2], 255 - tolerance) << "alpha " << alpha;
        }
    }
}

TEST(ArtPsdWriter, RefusesSizesTheFormatCannotHold)
{
    const std::vector<std::uint8_t> one = { 1, 2, 3, 4 };
    EXPECT_THROW(Art::EncodePsd(0, 1, one), std::invalid_argument);
    EXPECT_THROW(Art::EncodePsd(1, -3, one), std::invalid_argument);
    EXPECT_THROW(Art::EncodePsd(30001, 1, std::vector<std::uint8_t>(30001 * 4)), std::invalid_argument);
    EXPECT_THROW(Art::EncodePsd(2, 1, one), std::invalid_argument); // too few pixels
    EXPECT_NO_THROW(Art::EncodePsd(1, 1, one));
}

} // namespace
