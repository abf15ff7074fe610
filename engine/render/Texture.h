#pragma once
#include <GL/glew.h>

#include <array>
#include <cstdint>
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
    // Binds to GL_TEXTURE_2D of the active unit; the caller picks the unit.
    void Bind() const;

    GLuint Id() const { return mTexture; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // The colour (RGBA, 0-255) of an image whose texels are all alike;
    // nothing for any other image or none.
    const std::optional<std::array<std::uint8_t, 4>>& SingleColour() const { return mSingleColour; }

private:
    GLuint mTexture = 0;
    int mWidth = 0;
    int mHeight = 0;
    std::optional<std::array<std::uint8_t, 4>> mSingleColour;
};

} // namespace Engine
