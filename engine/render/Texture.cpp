#include "engine/render/Texture.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <stb_image.h>
#include <string>
#include <vector>

namespace Engine {

namespace {

std::optional<std::array<std::uint8_t, 4>> SingleColourOf(const stbi_uc* pixels, std::size_t texels)
{
    std::array<std::uint8_t, 4> first{};
    std::memcpy(first.data(), pixels, first.size());
    for (std::size_t i = 1; i < texels; ++i)
        if (!std::equal(first.begin(), first.end(), pixels + i * first.size()))
            return std::nullopt;
    return first;
}

// Whether every texel is an opaque grey: red, green and blue alike, alpha
// full.
bool OpaqueGrey(const stbi_uc* pixels, std::size_t texels)
{
    for (std::size_t i = 0; i < texels; ++i) {
        const stbi_uc* texel = pixels + i * 4;
        if (texel[1] != texel[0] || texel[2] != texel[0] || texel[3] != 255)
            return false;
    }
    return true;
}

// Why the decoder refused the image, always in words. stb_image names an
// unknown PNG chunk by its four type bytes: read past the end of a cut file
// they are zeros, which leave it an empty text, and other bytes may not be
// printable.
std::string DecodeFailure()
{
    const char* reason = stbi_failure_reason();
    std::string text = reason ? reason : "";
    std::replace_if(text.begin(), text.end(), [](char c) { return !std::isprint(static_cast<unsigned char>(c)); }, '?');
    return text.empty() ? "the image is cut short or damaged" : text;
}

void SetSampling()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// Uploads tightly packed rows of `channels` bytes a texel (1 red, 2 red and
// green) read back through `swizzle`.
void UploadChannels(const std::vector<stbi_uc>& texels, int width, int height, int channels, const GLint* swizzle)
{
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows of any width, packed
    const bool red = channels == 1;
    glTexImage2D(GL_TEXTURE_2D, 0, red ? GL_R8 : GL_RG8, width, height, 0, red ? GL_RED : GL_RG, GL_UNSIGNED_BYTE,
                 texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

// An opaque grey image is kept as its one channel, read back as (g, g, g,
// 1): a quarter of the memory, so a sampler that reads it scattered (a
// distant floor tile's texels) misses the cache far less often, and every
// read gives what the four channels gave.
void UploadGrey(const stbi_uc* pixels, int width, int height)
{
    const std::size_t texels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<stbi_uc> grey(texels);
    for (std::size_t i = 0; i < texels; ++i)
        grey[i] = pixels[i * 4];
    const GLint swizzle[] = {GL_RED, GL_RED, GL_RED, GL_ONE};
    UploadChannels(grey, width, height, 1, swizzle);
}

std::vector<stbi_uc> GreyTexels(const Texture& texture)
{
    std::vector<stbi_uc> grey(static_cast<std::size_t>(texture.Width()) * static_cast<std::size_t>(texture.Height()));
    texture.Bind();
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_UNSIGNED_BYTE, grey.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return grey;
}

} // namespace

Texture::~Texture()
{
    if (mTexture)
        glDeleteTextures(1, &mTexture);
}

Texture& Texture::LoadFromFile(const char* path)
{
    if (mTexture == 0)
        glGenTextures(1, &mTexture);
    glBindTexture(GL_TEXTURE_2D, mTexture);
    SetSampling();

    stbi_set_flip_vertically_on_load(1);
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path, &width, &height, &channels, 4);
    if (!pixels) {
        std::fprintf(stderr, "Texture \"%s\" could not be loaded: %s\n", path, DecodeFailure().c_str());
        return *this;
    }
    // GL refuses a larger image without a word and leaves the texture
    // without one, while its size would say it loaded. Some formats decode
    // an image of 0 x 0: it has no texel to tell its colour by.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width < 1 || height < 1 || width > largest || height > largest) {
        std::fprintf(stderr, "Texture \"%s\" could not be loaded: %d x %d is not a size GL takes (1 to %d a side)\n",
                     path, width, height, largest);
        stbi_image_free(pixels);
        return *this;
    }
    mWidth = width;
    mHeight = height;
    mSingleColour = SingleColourOf(pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const std::size_t texels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    mGrey = OpaqueGrey(pixels, texels);
    if (mGrey)
        UploadGrey(pixels, width, height);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    stbi_image_free(pixels);
    return *this;
}

std::unique_ptr<Texture> Texture::GreyPair(const Texture& first, const Texture& second)
{
    if (!first.mGrey || !second.mGrey || first.mWidth != second.mWidth || first.mHeight != second.mHeight)
        return nullptr;
    // Made in the middle of a frame: the active unit keeps what it had.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const std::vector<stbi_uc> red = GreyTexels(first);
    const std::vector<stbi_uc> green = GreyTexels(second);
    std::vector<stbi_uc> both(red.size() * 2);
    for (std::size_t i = 0; i < red.size(); ++i) {
        both[i * 2] = red[i];
        both[i * 2 + 1] = green[i];
    }
    auto pair = std::make_unique<Texture>();
    glGenTextures(1, &pair->mTexture);
    glBindTexture(GL_TEXTURE_2D, pair->mTexture);
    SetSampling();
    const GLint swizzle[] = {GL_RED, GL_RED, GL_RED, GL_GREEN};
    UploadChannels(both, first.mWidth, first.mHeight, 2, swizzle);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    pair->mWidth = first.mWidth;
    pair->mHeight = first.mHeight;
    return pair;
}

void Texture::Bind() const
{
    glBindTexture(GL_TEXTURE_2D, mTexture);
}

} // namespace Engine
