#pragma once
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace Engine {

// A 2D RGBA texture decoded from an image file. One that failed to load
// keeps its GL name and a size of 0 x 0, so callers can tell it has no image.
class Texture {
public:
    Texture() = default;
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Images are flipped on load so that v = 0 addresses the bottom row. A
    // file that cannot be decoded prints its path and stb_image's reason on
    // stderr.
    Texture& LoadFromFile(const char* path);
    // One texture of two opaque grey images of one size, sampled as
    // (first, first, first, second): one read where two were. Nothing when
    // either is not such an image or their sizes differ.
    static std::unique_ptr<Texture> GreyPair(const Texture& first, const Texture& second);
    // Binds to GL_TEXTURE_2D of the active unit; the caller picks the unit.
    void Bind() const;

    GLuint Id() const { return mTexture; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // The colour (RGBA, 0-255) of an image whose texels are all alike;
    // nothing for any other image or none.
    const std::optional<std::array<std::uint8_t, 4>>& SingleColour() const { return mSingleColour; }
    // Whether the image is an opaque grey, kept as its one channel.
    bool Grey() const { return mGrey; }

private:
    GLuint mTexture = 0;
    int mWidth = 0;
    int mHeight = 0;
    bool mGrey = false;
    std::optional<std::array<std::uint8_t, 4>> mSingleColour;
};

} // namespace Engine
