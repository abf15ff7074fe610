#include "tools/art/ImageFile.h"

#include <fstream>
#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tools/art/PsdWriter.h"

namespace Art {
namespace {

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

void SaveImage(const Canvas& canvas, const std::filesystem::path& path)
{
    std::error_code ignored;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ignored);
    const std::vector<std::uint8_t> rgba = canvas.ToRgba8();
    const int w = canvas.Width(), h = canvas.Height();
    const std::string name = path.string();
    const std::string extension = path.extension().string();
    bool written = false;
    if (extension == ".png")
        written = stbi_write_png(name.c_str(), w, h, 4, rgba.data(), w * 4) != 0;
    else if (extension == ".jpg")
        written = stbi_write_jpg(name.c_str(), w, h, 4, rgba.data(), 95) != 0;
    else if (extension == ".psd")
        written = WriteBytes(path, EncodePsd(w, h, rgba));
    else
        throw std::runtime_error("no image writer for " + name);
    if (!written)
        throw std::runtime_error("could not write " + name);
}

} // namespace Art
